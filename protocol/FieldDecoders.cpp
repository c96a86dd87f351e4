// The decoders that turn reply values into the contents of page fields: the comma lists of the
// multi-value queries and the two payloads of module reply frames (parameter list, IO body).

#include "pages/TypingLimit.h"
#include "protocol/ReplyDecoders.h"
#include "shell/MessageBoxes.h"
#include "shell/SharedState.h"
#include "shell/Unit1.h"

#include <QComboBox>
#include <QLineEdit>

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

} // namespace

int TForm1::IndexOfItem(const QComboBox *box, const QByteArray &text)
{
    if (!box)
        return 0;
    const int found = box->findText(GbkText(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
    return found < 0 ? box->count() : found;
}

void TForm1::SelectItemByText(QComboBox *box, const QByteArray &text)
{
    if (!box)
        return;
    const int found = box->findText(GbkText(TrimmedForm(text)), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found >= 0)
        box->setCurrentIndex(found);
}

void TForm1::SelectIndex(QComboBox *box, qint64 index)
{
    if (!box)
        return;
    box->setCurrentIndex(index >= 0 && index < box->count() ? static_cast<int>(index) : -1);
}

void TForm1::setFieldText(Field id, const QByteArray &value)
{
    // Whole even beyond the typing limit (device ID, zone): the set check refuses what does not fit
    // rather than a cut value going back to the module.
    if (QLineEdit *edit = lineEdit(id))
        ShowWhole(edit, GbkText(value));
}

void TForm1::DecodeSerialFormat(const QByteArray &value)
{
    CommaWalk walk(RemoveChar(value, '"'));
    SelectItemByText(comboBox(Field::DataBits), walk.next());
    SelectIndex(comboBox(Field::Parity), ReplyInt(walk.next()));
    SelectIndex(comboBox(Field::StopBits), qint64(ReplyInt(walk.next())) - 1);
}

void TForm1::DecodeStationConfig(const QByteArray &value)
{
    CommaWalk walk(value);
    setFieldText(Field::StaSsid, walk.nextUnquoted());
    setFieldText(Field::StaPassword, walk.nextUnquoted());
}

void TForm1::DecodeApInfo(const QByteArray &value)
{
    CommaWalk walk(value);
    setFieldText(Field::ApSsid, walk.nextUnquoted());
    setFieldText(Field::ApPassword, walk.nextUnquoted());
    SelectIndex(comboBox(Field::ApChannel), qint64(ReplyInt(walk.nextUnquoted())) - 1);
    SelectIndex(comboBox(Field::ApAuth), ReplyInt(walk.nextUnquoted()));
}

void TForm1::DecodeAddressTriple(const QByteArray &value, AddressGroup group)
{
    const bool station = group == AddressGroup::Station;
    CommaWalk walk(value);
    setFieldText(station ? Field::StaIp : Field::ApIp, walk.nextUnquoted());
    setFieldText(station ? Field::StaMask : Field::ApMask, walk.nextUnquoted());
    setFieldText(station ? Field::StaGateway : Field::ApGateway, walk.nextUnquoted());
}

void TForm1::DecodeRemoteParameters(const QByteArray &list)
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

        if (const RemoteKey *row = findRemoteKey(key)) {
            switch (row->apply) {
            case RemoteApply::Text:
                setFieldText(row->target, value);
                break;
            case RemoteApply::Index:
                SelectIndex(comboBox(row->target), ReplyInt(value));
                break;
            case RemoteApply::IndexMinus1:
                SelectIndex(comboBox(row->target), qint64(ReplyInt(value)) - 1);
                break;
            case RemoteApply::ItemText:
                SelectIndex(comboBox(row->target), IndexOfItem(comboBox(row->target), value));
                break;
            }
        }
        if (semicolon < 0)
            return;
        rest = rest.mid(semicolon + 1);
    }
}

void TForm1::DecodeRemoteIo(const QByteArray &body)
{
    // The module sends the body twice; the second copy guards the first.
    if (body.left(5) != body.mid(5, 5)) {
        Boxes::warning(this,
                       Tr(QStringLiteral("IO value verify error!"), QStringLiteral("IO数值前后验证有误！")));
        return;
    }
    const int pin = ReplyInt(body.mid(3, 1));
    if (body.mid(2, 1) != "B") {
        Boxes::warning(this,
                       Tr(QStringLiteral("IO value over scope!"), QStringLiteral("IO数值不是应答类型值！")));
        return;
    }
    if (pin < 1 || pin > 8)
        return;
    const IoRow &row = ioRow(pin);
    SelectIndex(row.mode, IoModeIndex(body.mid(0, 1)));
    SelectIndex(row.pull, IoPullIndex(body.mid(1, 1)));
    SelectIndex(row.level, IoLevelIndex(body.mid(4, 1)));
}
