#include "shell/Unit1.h"

#include <QTcpSocket>

void TForm1::setUpTcpLink()
{
    tcpSocket_ = new QTcpSocket(this);
    tcpSocket_->setObjectName(QStringLiteral("tcpSocket"));
}

void TForm1::SendTcp(const QByteArray &bytes)
{
    Q_UNUSED(bytes);
}
