#include "protocol/ValueDecoders.h"

#include "protocol/ReplyDecoders.h"

namespace {

// Walks a comma list: each call hands out the next field; a missing field reads as empty. Commas inside
// double quotes stay in their field, so an SSID or password holding one arrives whole.
class CommaWalk {
public:
    explicit CommaWalk(const QByteArray &text) : rest_(text) {}
    QByteArray next()
    {
        const QByteArray field = FirstListField(rest_);
        rest_ = DropFirstListField(rest_);
        return field;
    }
    QByteArray nextUnquoted() { return RemoveChar(next(), '"'); }

private:
    QByteArray rest_;
};

// How a value of the remote parameter list is applied.
enum class RemoteApply { Text, Index, IndexMinus1, ItemText };

struct RemoteKey {
    const char *key;
    Field target;
    RemoteApply apply;
};

// Key 13 has no target and is skipped like any key that is not here.
const RemoteKey kRemoteKeys[] = {
    {"1", Field::WorkMode, RemoteApply::IndexMinus1},  {"2", Field::StaSsid, RemoteApply::Text},
    {"3", Field::StaPassword, RemoteApply::Text},      {"4", Field::ApSsid, RemoteApply::Text},
    {"5", Field::ApPassword, RemoteApply::Text},       {"6", Field::ApIp, RemoteApply::Text},
    {"7", Field::ApMask, RemoteApply::Text},           {"8", Field::ApGateway, RemoteApply::Text},
    {"9", Field::ApChannel, RemoteApply::ItemText},    {"10", Field::ConnRemote, RemoteApply::Index},
    {"11", Field::ClientProtocol, RemoteApply::Index}, {"12", Field::PthServerEn, RemoteApply::Index},
    {"14", Field::ServerIp, RemoteApply::Text},        {"15", Field::ServerPort, RemoteApply::Text},
    {"16", Field::LocalPort, RemoteApply::Text},       {"17", Field::Baud, RemoteApply::ItemText},
    {"18", Field::DataBits, RemoteApply::ItemText},    {"19", Field::StopBits, RemoteApply::ItemText},
    {"20", Field::DeviceId, RemoteApply::Text},        {"21", Field::Zone, RemoteApply::Text},
    {"22", Field::ZoneValid, RemoteApply::Index},      {"23", Field::Heartbeat, RemoteApply::Text},
    {"24", Field::Dhcp, RemoteApply::Index},           {"25", Field::StaIp, RemoteApply::Text},
    {"26", Field::StaMask, RemoteApply::Text},         {"27", Field::StaGateway, RemoteApply::Text},
};

const RemoteKey *findRemoteKey(const QByteArray &key)
{
    for (const RemoteKey &row : kRemoteKeys) {
        if (key == row.key)
            return &row;
    }
    return nullptr;
}

FieldChange remoteChange(const RemoteKey &row, const QByteArray &value)
{
    switch (row.apply) {
    case RemoteApply::Text:
        break;
    case RemoteApply::Index:
        return FieldChange::select(row.target, ReplyInt(value));
    case RemoteApply::IndexMinus1:
        return FieldChange::select(row.target, qint64(ReplyInt(value)) - 1);
    case RemoteApply::ItemText:
        // Values are taken as they are: an item with blanks around it matches nothing.
        return FieldChange::selectTextOrNone(row.target, GbkText(value));
    }
    return FieldChange::showText(row.target, GbkText(value));
}

} // namespace

void DecodeSerialFormat(const QByteArray &value, ReplyEffects &effects)
{
    CommaWalk walk(RemoveChar(value, '"'));
    effects.fields << FieldChange::selectText(Field::DataBits, GbkText(TrimmedForm(walk.next())));
    effects.fields << FieldChange::select(Field::Parity, ReplyInt(walk.next()));
    effects.fields << FieldChange::select(Field::StopBits, qint64(ReplyInt(walk.next())) - 1);
}

void DecodeStationConfig(const QByteArray &value, ReplyEffects &effects)
{
    CommaWalk walk(value);
    effects.fields << FieldChange::showText(Field::StaSsid, GbkText(walk.nextUnquoted()));
    effects.fields << FieldChange::showText(Field::StaPassword, GbkText(walk.nextUnquoted()));
}

void DecodeApInfo(const QByteArray &value, ReplyEffects &effects)
{
    CommaWalk walk(value);
    effects.fields << FieldChange::showText(Field::ApSsid, GbkText(walk.nextUnquoted()));
    effects.fields << FieldChange::showText(Field::ApPassword, GbkText(walk.nextUnquoted()));
    effects.fields << FieldChange::select(Field::ApChannel, qint64(ReplyInt(walk.nextUnquoted())) - 1);
    effects.fields << FieldChange::select(Field::ApAuth, ReplyInt(walk.nextUnquoted()));
}

void DecodeAddressTriple(const QByteArray &value, AddressGroup group, ReplyEffects &effects)
{
    const bool station = group == AddressGroup::Station;
    CommaWalk walk(value);
    effects.fields << FieldChange::showText(station ? Field::StaIp : Field::ApIp,
                                            GbkText(walk.nextUnquoted()));
    effects.fields << FieldChange::showText(station ? Field::StaMask : Field::ApMask,
                                            GbkText(walk.nextUnquoted()));
    effects.fields << FieldChange::showText(station ? Field::StaGateway : Field::ApGateway,
                                            GbkText(walk.nextUnquoted()));
}

void DecodeRemoteParameters(const QByteArray &list, ReplyEffects &effects)
{
    // Elements "key=value;" one after the other. Each pass consumes at least one character, so the
    // walk ends on any input; an element without its closing ";" is the last one.
    QByteArray rest = list;
    while (!rest.isEmpty()) {
        const qsizetype equals = rest.indexOf('=');
        const QByteArray key = equals < 0 ? QByteArray() : rest.left(equals);
        if (key.isEmpty())
            return;
        const qsizetype semicolon = rest.indexOf(';');
        QByteArray value;
        if (semicolon < 0)
            value = rest.mid(equals + 1);
        else if (semicolon > equals)
            value = rest.mid(equals + 1, semicolon - equals - 1);

        if (const RemoteKey *row = findRemoteKey(key))
            effects.fields << remoteChange(*row, value);
        if (semicolon < 0)
            return;
        rest = rest.mid(semicolon + 1);
    }
}

void DecodeRemoteIo(const QByteArray &body, bool chinese, ReplyEffects &effects)
{
    // The module sends the body twice; the second copy guards the first.
    if (body.left(5) != body.mid(5, 5)) {
        effects.boxes << ReplyBox{ReplyBox::Kind::Warning, chinese
                                                               ? QStringLiteral("IO数值前后验证有误！")
                                                               : QStringLiteral("IO value verify error!")};
        return;
    }
    const int pin = ReplyInt(body.mid(3, 1));
    if (body.mid(2, 1) != "B") {
        effects.boxes << ReplyBox{ReplyBox::Kind::Warning, chinese ? QStringLiteral("IO数值不是应答类型值！")
                                                                   : QStringLiteral("IO value over scope!")};
        return;
    }
    if (pin < 1 || pin > 8)
        return;
    effects.io << IoChange{pin, IoChange::Box::Mode, IoModeIndex(body.mid(0, 1))};
    effects.io << IoChange{pin, IoChange::Box::Pull, IoPullIndex(body.mid(1, 1))};
    effects.io << IoChange{pin, IoChange::Box::Level, IoLevelIndex(body.mid(4, 1))};
}
