#include "shell/Unit1.h"

#include <QUdpSocket>

void TForm1::bindUdpEndpoint()
{
    udpSocket_ = new QUdpSocket(this);
    udpSocket_->setObjectName(QStringLiteral("udpSocket"));
}

void TForm1::SendUdp(const QByteArray &data, const QString &host, int port)
{
    Q_UNUSED(data);
    Q_UNUSED(host);
    Q_UNUSED(port);
}
