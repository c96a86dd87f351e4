#include "shell/SharedState.h"
#include "shell/Unit1.h"

#include <QLineEdit>
#include <QRadioButton>

void TForm1::setUpLinkGroup() {}

void TForm1::applyLoadedSettings()
{
    lanIpEdit->setText(ServerIP);
    lanPortEdit->setText(QString::number(TCPPort));
    wanIpEdit->setText(ServerIP2);
    wanPortEdit->setText(QString::number(TCPPort2));
}
