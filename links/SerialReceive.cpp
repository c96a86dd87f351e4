// The serial receive poll: the serial line has no framing, so a reply ends when the port has been
// quiet for longer than RxQuietMs. Bytes arriving with shorter gaps are gathered into one reply.

#include "links/ConsoleLog.h"
#include "links/commfunction.h"
#include "protocol/StrictInt.h"
#include "shell/MessageBoxes.h"
#include "shell/SharedState.h"
#include "shell/Unit1.h"

#include <QTime>
#include <cstdlib>

namespace {
int millisecondOfDay()
{
    return QTime::currentTime().msecsSinceStartOfDay();
}
} // namespace

void TForm1::pollSerial()
{
    const QByteArray chunk = CommFun->ComRead(ComPort);
    if (RxQuietMs < 100)
        RxQuietMs = 100;
    if (!chunk.isEmpty()) {
        RxPending += chunk;
        RxLastMs = millisecondOfDay();
        return; // a chunk read now restarts the quiet time, so this tick cannot end the reply
    }
    // Idle ticks read no clock: this runs 50 times a second for as long as the tool is open.
    if (RxPending.isEmpty())
        return;
    // The absolute difference also closes a reply whose quiet time spans midnight.
    if (std::abs(millisecondOfDay() - RxLastMs) <= RxQuietMs)
        return;

    const QByteArray reply = RxPending;
    RxPending.clear();
    if (console_->lineCount() > 1000)
        console_->clearLog();
    console_->addDataLine(QStringLiteral("COM Receive:"), reply);
    if (ShowHex)
        console_->addHexLine(reply);
    try {
        ParseReply(reply);
    } catch (const ConversionError &failure) {
        Boxes::error(this, failure.message());
    }
}
