// ParseReply under every type code, driven through the headless main window. The first input byte picks
// the type code (0..144 as they are, the rest codes no command produces), the second the last IO
// operation, the language, the hex option and the road (the parser alone, or the serial poll with its
// error box); the remaining bytes are the reply.
//
// Checked besides "no crash, no hang": the parser never changes CmdType or LastIoOperation; the status
// text is set unless the reply was a bare ERROR to a query or a value did not convert; the console's
// line count matches its lines; on the serial road the only boxes are the conversion message and the
// IO body warnings.

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTarget.h"
#include "fuzz/FuzzWindow.h"
#include "links/ConsoleLog.h"
#include "protocol/ReplyDecoders.h"
#include "protocol/StrictInt.h"
#include "shell/SharedState.h"
#include "shell/Unit1.h"

#include <QTime>
#include <limits>

namespace fuzzparser {

int typeCode(uint8_t choice)
{
    if (choice <= 144)
        return choice;
    static const int kOthers[] = {
        -1,  145, 146, 199, 200, 255, 1000, std::numeric_limits<int>::max(), std::numeric_limits<int>::min(),
        -100};
    return kOthers[(choice - 145) % (sizeof(kOthers) / sizeof(kOthers[0]))];
}

} // namespace fuzzparser

QX_FUZZ_TARGET(parser)
{
    using namespace fuzzparser;
    TForm1 &form = fuzzWindow();
    fuzzWindowTidy(form);
    FuzzInput in(data, size);
    const int code = typeCode(in.byte());
    const uint8_t options = in.byte();
    const QByteArray reply = in.rest();

    static const char *const kIoOperations[] = {"", "R", "W", "r"};
    CmdType = code;
    LastIoOperation = QString::fromLatin1(kIoOperations[options & 3]);
    Language = (options & 4) != 0 ? QStringLiteral("EN") : QStringLiteral("CN");
    ShowHex = (options & 8) != 0;
    const bool serialRoad = (options & 16) != 0;
    const QString ioOperation = LastIoOperation;

    bool failed = false;
    if (serialRoad) {
        // The serial road: the reply is what the poll gathered; the quiet time has long run out.
        RxPending = reply;
        RxLastMs = (QTime::currentTime().msecsSinceStartOfDay() + 43200000) % 86400000;
        form.pollSerial();
        QX_FUZZ_CHECK(RxPending.isEmpty() || reply.isEmpty());
        for (const QString &box : fuzzBoxes())
            QX_FUZZ_CHECK(box.endsWith(QLatin1String("' is not a valid integer value")) ||
                          box.startsWith(QLatin1String("IO")));
    } else {
        try {
            form.ParseReply(reply);
        } catch (const ConversionError &failure) {
            failed = true;
            QX_FUZZ_CHECK(!failure.message().isEmpty());
        }
        // Only a bare ERROR to a query, or a value that does not convert, ends a reply before the status.
        const QString complete = Tr(QStringLiteral("Operate complete!"), QStringLiteral("操作完成！"));
        const bool errorExit = code == 9 || code == 11 || (code >= 113 && code <= 144 && code != 140);
        const bool bareError = errorExit && TrimmedForm(reply) == "ERROR";
        QX_FUZZ_CHECK((form.statusPanel(2) == complete) == (!failed && !bareError));
    }

    QX_FUZZ_CHECK(CmdType == code);
    QX_FUZZ_CHECK(LastIoOperation == ioOperation);
    QX_FUZZ_CHECK(form.console()->lines().size() == form.console()->lineCount());

    form.setStatusPanel(2, QString());
    RxPending.clear();
    ShowHex = false;
    Language = QStringLiteral("CN");
    return 0;
}
