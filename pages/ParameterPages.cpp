#include "shell/Unit1.h"

void TForm1::buildParameterPages(QWidget *basicPage, QWidget *commandPage)
{
    Q_UNUSED(basicPage);
    Q_UNUSED(commandPage);
}
