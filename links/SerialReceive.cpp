// The serial receive path: the port reports bytes, the gatherer puts them together into a reply by the
// quiet time, and the window logs each complete reply and hands it to the parser.

#include "links/ConsoleLog.h"
#include "links/PComm.h"
#include "links/Portset.h"
#include "links/ReplyGatherer.h"
#include "links/commfunction.h"
#include "protocol/ReplyInterpreter.h"
#include "shell/SharedState.h"
#include "shell/Unit1.h"

#include <QTimer>

void TForm1::setUpSerialReceive()
{
    serialGatherer_ = new ReplyGatherer(
        [] { return CommFun != nullptr ? CommFun->ComRead(ComPort) : QByteArray(); }, {}, this);
    serialGatherer_->setObjectName(QStringLiteral("serialGatherer"));
    serialGatherer_->setQuietMs(RxQuietMs);
    connect(serialGatherer_, &ReplyGatherer::replyComplete, this, &TForm1::pollSerial);
    sio_notify(this, [this](int port) {
        if (port != ComPort)
            return; // only the port in use is read; another port's bytes wait in its queue
        serialGatherer_->setQuietMs(RxQuietMs);
        serialGatherer_->readWaiting();
    });
    // Bytes that reached a port before it became the one in use announce themselves no more: look once
    // the dialog is done with it (a failed open puts the previous port back only after its signal).
    connect(portDialog_, &TfrmPortSet::portStatusChanged, this,
            [this] { QTimer::singleShot(0, serialGatherer_, &ReplyGatherer::readWaiting); });
}

void TForm1::pollSerial(const QByteArray &reply)
{
    if (console_->lineCount() > 1000)
        console_->clearLog();
    console_->addDataLine(QStringLiteral("COM Receive:"), reply);
    if (ShowHex)
        console_->addHexLine(reply);
    ParseReply(reply, ReplyRoad::Serial);
}
