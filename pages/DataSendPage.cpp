#include "shell/Unit1.h"

void TForm1::buildDataPage(QWidget *page)
{
    Q_UNUSED(page);
}
