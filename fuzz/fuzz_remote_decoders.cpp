// The field decoders of the main window on any value: the remote parameter list and the remote IO body
// of module reply frames, and the comma-list decoders of the multi-value queries. Besides "no crash,
// no hang", the parameter list must leave each text field with the last value given for its key before
// the first value that does not convert, and the IO body must warn exactly when its copies differ or
// it is no reply.

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTarget.h"
#include "fuzz/FuzzWindow.h"
#include "protocol/ReplyDecoders.h"
#include "protocol/StrictInt.h"
#include "shell/SharedState.h"
#include "shell/Unit1.h"

#include <QComboBox>
#include <QHash>
#include <QLineEdit>

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

void remoteParameters(TForm1 &form, const QByteArray &list)
{
    // Mark every text field so that an untouched one is told from one written with an empty value.
    for (const TextKey &k : kTextKeys)
        form.lineEdit(k.field)->setText(QStringLiteral("\x01untouched"));
    try {
        form.DecodeRemoteParameters(list);
    } catch (const ConversionError &) {
    }
    const QHash<QByteArray, QByteArray> texts = expectedTexts(list);
    for (const TextKey &k : kTextKeys) {
        const QLineEdit *edit = form.lineEdit(k.field);
        const auto it = texts.constFind(QByteArray(k.key));
        const QString expected =
            it == texts.constEnd() ? QStringLiteral("\x01untouched") : GbkText(it.value());
        QX_FUZZ_CHECK(edit->text() == expected.left(edit->maxLength()));
    }
}

void remoteIo(TForm1 &form, const QByteArray &body)
{
    const bool copiesDiffer = body.left(5) != body.mid(5, 5);
    const bool pinConverts = converts(body.mid(3, 1));
    const bool isReply = body.mid(2, 1) == "B";
    bool threw = false;
    try {
        form.DecodeRemoteIo(body);
    } catch (const ConversionError &) {
        threw = true;
    }
    // The copies are compared first, then the pin converted, then the operation letter checked.
    QX_FUZZ_CHECK(threw == (!copiesDiffer && !pinConverts));
    const int expectedBoxes = copiesDiffer || (pinConverts && !isReply) ? 1 : 0;
    QX_FUZZ_CHECK(fuzzBoxes().size() == expectedBoxes);
    if (!copiesDiffer && pinConverts && isReply) {
        const int pin = ReplyInt(body.mid(3, 1));
        if (pin >= 1 && pin <= 8) {
            const TForm1::IoRow &row = form.ioRow(pin);
            QX_FUZZ_CHECK(row.mode->currentIndex() == IoModeIndex(body.mid(0, 1)));
            QX_FUZZ_CHECK(row.pull->currentIndex() == IoPullIndex(body.mid(1, 1)));
            QX_FUZZ_CHECK(row.level->currentIndex() == IoLevelIndex(body.mid(4, 1)));
        }
    }
}

} // namespace fuzzremote

QX_FUZZ_TARGET(remote_decoders)
{
    using namespace fuzzremote;
    TForm1 &form = fuzzWindow();
    fuzzWindowTidy(form);
    FuzzInput in(data, size);
    const int decoder = in.pick(8);
    Language = in.flag() ? QStringLiteral("CN") : QStringLiteral("EN");
    const QByteArray value = in.rest();
    try {
        switch (decoder) {
        case 0:
            remoteParameters(form, value);
            break;
        case 1:
            remoteIo(form, value);
            break;
        case 2:
            form.DecodeSerialFormat(value);
            break;
        case 3:
            form.DecodeStationConfig(value);
            break;
        case 4:
            form.DecodeApInfo(value);
            break;
        case 5:
            form.DecodeAddressTriple(value, TForm1::AddressGroup::Station);
            break;
        case 6:
            form.DecodeAddressTriple(value, TForm1::AddressGroup::Ap);
            break;
        default:
            TForm1::SelectItemByText(form.comboBox(Field::Baud), value);
            QX_FUZZ_CHECK(TForm1::IndexOfItem(form.comboBox(Field::Baud), value) <=
                          form.comboBox(Field::Baud)->count());
            break;
        }
    } catch (const ConversionError &) {
        // A value that is no number ends the reply's handling; the parser's callers deal with it.
    }
    Language = QStringLiteral("CN");
    return 0;
}
