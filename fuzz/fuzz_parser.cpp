// The reply interpretation under every type code, on the module core alone. The first input byte picks
// the type code (0..144 as they are, the rest codes no command produces), the second the last IO
// operation (bits 0-1), the language (bit 2) and the road (bit 4); the remaining bytes are the reply.
//
// Checked besides "no crash, no hang": the status text is set unless the reply was a bare ERROR to a
// query or a value did not convert; a value that does not convert gives the general error box on the
// serial road and no box on the TCP road, and the road changes nothing else; the only other boxes are
// the IO body warnings; IO changes name rows 1 to 8, and list positions are never negative.

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTarget.h"
#include "protocol/ReplyDecoders.h"
#include "protocol/ReplyInterpreter.h"

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

bool sameChanges(const ReplyEffects &a, const ReplyEffects &b)
{
    return a.fields == b.fields && a.io == b.io && a.console == b.console && a.status == b.status &&
           a.failure.has_value() == b.failure.has_value() &&
           (!a.failure || a.failure->text == b.failure->text);
}

} // namespace fuzzparser

QX_FUZZ_TARGET(parser)
{
    using namespace fuzzparser;
    FuzzInput in(data, size);
    const int code = typeCode(in.byte());
    const uint8_t options = in.byte();
    const QByteArray reply = in.rest();

    static const char *const kIoOperations[] = {"", "R", "W", "r"};
    ReplyContext context;
    context.typeCode = code;
    context.lastIoOperation = QString::fromLatin1(kIoOperations[options & 3]);
    context.chinese = (options & 4) == 0;
    context.road = (options & 16) != 0 ? ReplyRoad::Serial : ReplyRoad::Tcp;
    const ReplyEffects effects = interpretReply(context, reply);
    context.road = context.road == ReplyRoad::Serial ? ReplyRoad::Tcp : ReplyRoad::Serial;
    const ReplyEffects otherRoad = interpretReply(context, reply);
    const ReplyEffects &serial = context.road == ReplyRoad::Serial ? otherRoad : effects;
    const ReplyEffects &tcp = context.road == ReplyRoad::Serial ? effects : otherRoad;

    // Only a bare ERROR to a query, or a value that does not convert, ends a reply before the status.
    const bool errorExit = code == 9 || code == 11 || (code >= 113 && code <= 144 && code != 140);
    const bool bareError = errorExit && TrimmedForm(reply) == "ERROR";
    QX_FUZZ_CHECK(effects.status.has_value() == (!effects.failure && !bareError));
    QX_FUZZ_CHECK(!effects.failure || !effects.failure->message().isEmpty());

    QX_FUZZ_CHECK(sameChanges(serial, tcp));
    QList<ReplyBox> serialBoxes = serial.boxes;
    if (serial.failure) {
        QX_FUZZ_CHECK(!serialBoxes.isEmpty());
        const ReplyBox last = serialBoxes.takeLast();
        QX_FUZZ_CHECK(last.kind == ReplyBox::Kind::Error && last.text == serial.failure->message());
    }
    QX_FUZZ_CHECK(serialBoxes == tcp.boxes);
    for (const ReplyBox &box : tcp.boxes)
        QX_FUZZ_CHECK(box.kind == ReplyBox::Kind::Warning && box.text.startsWith(QLatin1String("IO")));

    for (const IoChange &change : effects.io)
        QX_FUZZ_CHECK(change.row >= 1 && change.row <= 8);
    for (const FieldChange &change : effects.fields)
        QX_FUZZ_CHECK(change.kind != FieldChange::Kind::ItemIndex || change.index >= 0);
    return 0;
}
