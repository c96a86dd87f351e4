// The text operations the parser cuts replies with, on any bytes: comma fields, quote removal, the
// upper and trimmed forms, GBK decoding, the strict integer conversion, the connection-state words,
// the IO letter mappers and the console's rendering of received bytes.

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTarget.h"
#include "protocol/ConsoleText.h"
#include "protocol/ReplyDecoders.h"
#include "protocol/StrictInt.h"

#include <QStringDecoder>
#include <limits>

namespace fuzzreplytext {

bool isLow(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// Strict decimal: optional sign, one or more ASCII digits, nothing else, within int.
bool referenceInt(const QString &text, int *value)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return false;
    qint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > qint64(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    const qint64 signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<int>::max())
        return false;
    *value = static_cast<int>(signedValue);
    return true;
}

} // namespace fuzzreplytext

QX_FUZZ_TARGET(reply_text)
{
    using namespace fuzzreplytext;
    FuzzInput in(data, size);
    const bool chinese = in.flag();
    const char ch = static_cast<char>(in.byte());
    const QByteArray text = in.rest();

    const QByteArray first = FirstField(text);
    const QByteArray rest = DropFirstField(text);
    QX_FUZZ_CHECK(!first.contains(','));
    QX_FUZZ_CHECK(text.contains(',') ? first + ',' + rest == text : first == text && rest.isEmpty());

    const QByteArray removed = RemoveChar(text, ch);
    QX_FUZZ_CHECK(!removed.contains(ch));
    QX_FUZZ_CHECK(removed.size() == text.size() - text.count(ch));

    const QByteArray upper = UpperForm(text);
    QX_FUZZ_CHECK(upper.size() == text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        QX_FUZZ_CHECK(upper[i] == (c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c));
    }

    const QByteArray trimmed = TrimmedForm(text);
    QX_FUZZ_CHECK(TrimmedForm(trimmed) == trimmed);
    QX_FUZZ_CHECK(trimmed.isEmpty() || (!isLow(trimmed.front()) && !isLow(trimmed.back())));
    QX_FUZZ_CHECK(text.contains(trimmed));

    const QString decoded = GbkText(text);
    const QString upperText = AsciiUpper(decoded);
    QX_FUZZ_CHECK(upperText.size() == decoded.size());
    bool ascii = true;
    for (const char c : text)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        QX_FUZZ_CHECK(decoded == QString::fromLatin1(text));

    // The one integer rule of every reply value.
    int expected = 0;
    const bool convertible = referenceInt(decoded, &expected);
    try {
        const int value = ReplyInt(text);
        QX_FUZZ_CHECK(convertible && value == expected);
    } catch (const ConversionError &failure) {
        QX_FUZZ_CHECK(!convertible);
        QX_FUZZ_CHECK(failure.message().contains(decoded));
    }

    const QString state = ConnectionStateText(trimmed, chinese);
    QX_FUZZ_CHECK(state.isEmpty() == (trimmed != "connected" && trimmed != "unconnected"));

    const QByteArray letter = text.left(1);
    QX_FUZZ_CHECK(IoModeIndex(letter) == QByteArrayLiteral("ION").indexOf(letter) || letter.isEmpty());
    QX_FUZZ_CHECK(IoPullIndex(text) == (text == "U" ? 0 : text == "F" ? 1 : -1));
    QX_FUZZ_CHECK(IoLevelIndex(text) == (text == "0" ? 0 : text == "1" ? 1 : -1));

    // Received bytes in the console: line breaks only as LF, every other control byte as a glyph.
    const QString shown = RenderBytes(text);
    for (const QChar c : shown)
        QX_FUZZ_CHECK(c.unicode() >= 0x20 ? c.unicode() != 0x7f : c == u'\n');
    return 0;
}
