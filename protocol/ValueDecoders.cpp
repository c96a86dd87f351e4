#include "protocol/ValueDecoders.h"

#include "protocol/ParameterCatalogue.h"
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

FieldChange remoteChange(const RemoteKey &remote, const QByteArray &value)
{
    switch (remote.form) {
    case RemoteForm::Text:
        break;
    case RemoteForm::Index:
        return FieldChange::select(remote.field, ReplyInt(value));
    case RemoteForm::IndexMinus1:
        return FieldChange::select(remote.field, qint64(ReplyInt(value)) - 1);
    case RemoteForm::ItemText:
        // Values are taken as they are: an item with blanks around it matches nothing.
        return FieldChange::selectTextOrNone(remote.field, GbkText(value));
    }
    return FieldChange::showText(remote.field, GbkText(value));
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

        if (const RemoteKey *remote = FindRemoteKey(key))
            effects.fields << remoteChange(*remote, value);
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
