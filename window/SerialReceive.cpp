#include "window/SerialReceive.h"

#include "links/ComPorts.h"
#include "links/ReplyGatherer.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/ReplyLines.h"
#include "window/SerialPortDialog.h"

#include <QTimer>

SerialReceive::SerialReceive(MainWindow *window, ComPorts *ports, SerialPortDialog *portDialog)
    : QObject(window),
      gatherer_(new ReplyGatherer([ports, portDialog] { return ports->takeWaiting(portDialog->comPort()); },
                                  {}, this)),
      lines_(new ReplyLines(window->console(), QStringLiteral("COM Receive:"), this))
{
    gatherer_->setObjectName(QStringLiteral("serialGatherer"));
    connect(gatherer_, &ReplyGatherer::replyGrew, this, [this, window](const QByteArray &bytes, bool first) {
        if (first && window->console()->lineCount() > 1000)
            window->console()->clearLog();
        lines_->grow(bytes, first, window->settings().showHex);
    });
    connect(gatherer_, &ReplyGatherer::replyComplete, this, [this](const QByteArray &reply) {
        lines_->end();
        Q_EMIT replyReceived(reply);
    });
    connect(ports, &ComPorts::bytesWaiting, this, [this, portDialog](int port) {
        if (port != portDialog->comPort())
            return; // only the port in use is read; another port's bytes wait in its queue
        gatherer_->readWaiting();
    });
    // Bytes that reached a port before it became the one in use announce themselves no more: look once
    // the dialog is done with it (a failed open puts the previous port back only after its signal).
    connect(portDialog, &SerialPortDialog::portStatusChanged, this,
            [this] { QTimer::singleShot(0, gatherer_, &ReplyGatherer::readWaiting); });
}
