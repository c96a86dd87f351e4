// The reply value decoders on any value, on the module core alone: the remote parameter list and the
// remote IO body of module reply frames, and the comma-list decoders of the multi-value queries.
// Besides "no crash, no hang": the parameter list leaves each text field with the last value given for
// its key before the first value that does not convert; the IO body warns exactly when its copies
// differ or it is no reply; a comma-list decoder changes its fields in order and stops early only at a
// value that does not convert; the station and the AP address triples read a value alike.

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTarget.h"
#include "protocol/ReplyDecoders.h"
#include "protocol/ValueDecoders.h"

#include <QHash>

namespace fuzzremote {

struct TextKey {
    const char *key;
    Field field;
};
const TextKey kTextKeys[] = {
    {"2", Field::StaSsid},     {"3", Field::StaPassword}, {"4", Field::ApSsid},    {"5", Field::ApPassword},
    {"6", Field::ApIp},        {"7", Field::ApMask},      {"8", Field::ApGateway}, {"14", Field::ServerIp},
    {"15", Field::ServerPort}, {"16", Field::LocalPort},  {"20", Field::DeviceId}, {"21", Field::Zone},
    {"23", Field::Heartbeat},  {"25", Field::StaIp},      {"26", Field::StaMask},  {"27", Field::StaGateway},
};
// Keys whose value must be a number.
const char *const kNumberKeys[] = {"1", "10", "11", "12", "22", "24"};

bool isNumberKey(const QByteArray &key)
{
    for (const char *k : kNumberKeys) {
        if (key == k)
            return true;
    }
    return false;
}

bool converts(const QByteArray &value)
{
    try {
        ReplyInt(value);
        return true;
    } catch (const ConversionError &) {
        return false;
    }
}

// Runs a decoder; true when a value did not convert.
template <typename Decode> bool stops(Decode decode)
{
    try {
        decode();
        return false;
    } catch (const ConversionError &) {
        return true;
    }
}

// The text each text key's field must show after the list, following the list's own rules.
QHash<QByteArray, QByteArray> expectedTexts(QByteArray rest)
{
    QHash<QByteArray, QByteArray> texts;
    while (!rest.isEmpty()) {
        const qsizetype equals = rest.indexOf('=');
        if (equals <= 0)
            break;
        const QByteArray key = rest.left(equals);
        const qsizetype semicolon = rest.indexOf(';');
        QByteArray value;
        if (semicolon < 0)
            value = rest.mid(equals + 1);
        else if (semicolon > equals)
            value = rest.mid(equals + 1, semicolon - equals - 1);
        if (isNumberKey(key) && !converts(value))
            break;
        texts.insert(key, value);
        if (semicolon < 0)
            break;
        rest = rest.mid(semicolon + 1);
    }
    return texts;
}

void remoteParameters(const QByteArray &list)
{
    ReplyEffects effects;
    stops([&] { DecodeRemoteParameters(list, effects); });
    const QHash<QByteArray, QByteArray> texts = expectedTexts(list);
    for (const TextKey &k : kTextKeys) {
        std::optional<QString> shown;
        for (const FieldChange &change : effects.fields) {
            if (change.field == k.field) {
                QX_FUZZ_CHECK(change.kind == FieldChange::Kind::Text);
                shown = change.text;
            }
        }
        const auto it = texts.constFind(QByteArray(k.key));
        QX_FUZZ_CHECK(shown.has_value() == (it != texts.constEnd()));
        QX_FUZZ_CHECK(!shown || *shown == GbkText(it.value()));
    }
}

void remoteIo(const QByteArray &body, bool chinese)
{
    const bool copiesDiffer = body.left(5) != body.mid(5, 5);
    const bool pinConverts = converts(body.mid(3, 1));
    const bool isReply = body.mid(2, 1) == "B";
    ReplyEffects effects;
    const bool threw = stops([&] { DecodeRemoteIo(body, chinese, effects); });
    // The copies are compared first, then the pin converted, then the operation letter checked.
    QX_FUZZ_CHECK(threw == (!copiesDiffer && !pinConverts));
    const int expectedBoxes = copiesDiffer || (pinConverts && !isReply) ? 1 : 0;
    QX_FUZZ_CHECK(effects.boxes.size() == expectedBoxes);
    QX_FUZZ_CHECK(effects.fields.isEmpty() && effects.console.isEmpty());
    int pin = 0;
    if (!copiesDiffer && pinConverts && isReply)
        pin = ReplyInt(body.mid(3, 1));
    if (pin >= 1 && pin <= 8) {
        QX_FUZZ_CHECK(effects.io.size() == 3);
        QX_FUZZ_CHECK(effects.io.at(0) == (IoChange{pin, IoChange::Box::Mode, IoModeIndex(body.mid(0, 1))}));
        QX_FUZZ_CHECK(effects.io.at(1) == (IoChange{pin, IoChange::Box::Pull, IoPullIndex(body.mid(1, 1))}));
        QX_FUZZ_CHECK(effects.io.at(2) ==
                      (IoChange{pin, IoChange::Box::Level, IoLevelIndex(body.mid(4, 1))}));
    } else {
        QX_FUZZ_CHECK(effects.io.isEmpty());
    }
}

// A comma-list decoder changes the fields of its reply in their order, all of them unless it stops.
template <typename Decode> void commaList(std::initializer_list<Field> order, Decode decode)
{
    ReplyEffects effects;
    const bool stopped = stops([&] { decode(effects); });
    QX_FUZZ_CHECK(effects.fields.size() <= qsizetype(order.size()));
    QX_FUZZ_CHECK(stopped || effects.fields.size() == qsizetype(order.size()));
    auto field = order.begin();
    for (const FieldChange &change : effects.fields)
        QX_FUZZ_CHECK(change.field == *field++);
}

void addressTriplesAlike(const QByteArray &value)
{
    ReplyEffects station;
    ReplyEffects ap;
    DecodeAddressTriple(value, AddressGroup::Station, station);
    DecodeAddressTriple(value, AddressGroup::Ap, ap);
    QX_FUZZ_CHECK(station.fields.size() == 3 && ap.fields.size() == 3);
    for (int i = 0; i < 3; ++i)
        QX_FUZZ_CHECK(station.fields.at(i).text == ap.fields.at(i).text);
}

} // namespace fuzzremote

QX_FUZZ_TARGET(remote_decoders)
{
    using namespace fuzzremote;
    FuzzInput in(data, size);
    const int decoder = in.pick(8);
    const bool chinese = in.flag();
    const QByteArray value = in.rest();
    switch (decoder) {
    case 0:
        remoteParameters(value);
        break;
    case 1:
        remoteIo(value, chinese);
        break;
    case 2:
        commaList({Field::DataBits, Field::Parity, Field::StopBits},
                  [&](ReplyEffects &effects) { DecodeSerialFormat(value, effects); });
        break;
    case 3:
        commaList({Field::StaSsid, Field::StaPassword},
                  [&](ReplyEffects &effects) { DecodeStationConfig(value, effects); });
        break;
    case 4:
        commaList({Field::ApSsid, Field::ApPassword, Field::ApChannel, Field::ApAuth},
                  [&](ReplyEffects &effects) { DecodeApInfo(value, effects); });
        break;
    case 5:
        commaList({Field::StaIp, Field::StaMask, Field::StaGateway},
                  [&](ReplyEffects &effects) { DecodeAddressTriple(value, AddressGroup::Station, effects); });
        break;
    case 6:
        commaList({Field::ApIp, Field::ApMask, Field::ApGateway},
                  [&](ReplyEffects &effects) { DecodeAddressTriple(value, AddressGroup::Ap, effects); });
        break;
    default:
        addressTriplesAlike(value);
        break;
    }
    return 0;
}
