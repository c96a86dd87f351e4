#include "shell/Unit1.h"

void TForm1::buildIoPage(QWidget *page)
{
    Q_UNUSED(page);
}
