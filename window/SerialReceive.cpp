// The serial receive path: the port reports bytes, the gatherer puts them together into a reply by the
// quiet time, the console shows the reply while it comes, and the parser gets it once complete.

#include "links/ComPorts.h"
#include "links/ReplyGatherer.h"
#include "protocol/ReplyInterpreter.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/ReplyLines.h"
#include "window/SerialPortDialog.h"

#include <QTimer>

void MainWindow::setUpSerialReceive()
{
    serialGatherer_ =
        new ReplyGatherer([this] { return serialPorts_->takeWaiting(portDialog_->comPort()); }, {}, this);
    serialGatherer_->setObjectName(QStringLiteral("serialGatherer"));
    serialLines_ = new ReplyLines(console_, QStringLiteral("COM Receive:"), this);
    connect(serialGatherer_, &ReplyGatherer::replyGrew, this, [this](const QByteArray &bytes, bool first) {
        if (first && console_->lineCount() > 1000)
            console_->clearLog();
        serialLines_->grow(bytes, first, settings_.showHex);
    });
    connect(serialGatherer_, &ReplyGatherer::replyComplete, this,
            [this](const QByteArray &reply) { pollSerial(reply); });
    connect(serialPorts_, &ComPorts::bytesWaiting, this, [this](int port) {
        if (port != portDialog_->comPort())
            return; // only the port in use is read; another port's bytes wait in its queue
        serialGatherer_->readWaiting();
    });
    // Bytes that reached a port before it became the one in use announce themselves no more: look once
    // the dialog is done with it (a failed open puts the previous port back only after its signal).
    connect(portDialog_, &SerialPortDialog::portStatusChanged, this,
            [this] { QTimer::singleShot(0, serialGatherer_, &ReplyGatherer::readWaiting); });
}

void MainWindow::pollSerial(const QByteArray &reply)
{
    serialLines_->end();
    parseReply(reply, ReplyRoad::Serial);
}
