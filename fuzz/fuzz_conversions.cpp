// The hex conversions against references written the slow, obvious way, plus the round
// trips the frame codec and the console rely on.

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTarget.h"
#include "protocol/ConsoleText.h"
#include "protocol/Conversions.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace fuzzconversions {

int digit(char c)
{
    const QByteArray digits = QByteArrayLiteral("0123456789ABCDEF");
    const int upper = digits.indexOf(c);
    if (upper >= 0)
        return upper;
    const int lower = QByteArrayLiteral("0123456789abcdef").indexOf(c);
    return lower >= 0 ? lower : 0;
}

QByteArray withoutBlanks(const QByteArray &text)
{
    QByteArray out;
    for (const char c : text) {
        if (c != ' ')
            out += c;
    }
    return out;
}

QByteArray hexToBytes(const QByteArray &text)
{
    const QByteArray s = withoutBlanks(text);
    QByteArray out;
    for (qsizetype i = 0; i + 1 < s.size(); i += 2)
        out += static_cast<char>(digit(s[i]) * 16 + digit(s[i + 1]));
    if (s.size() % 2 != 0)
        out += static_cast<char>(digit(s.back()));
    return out;
}

QByteArray checksum(QByteArray text)
{
    if (text.isEmpty())
        return "00";
    if (text.size() % 2 != 0)
        text.prepend('0');
    int sum = 0;
    for (qsizetype i = 0; i < text.size(); i += 2)
        sum += digit(text[i]) * 16 + digit(text[i + 1]);
    return QByteArray::number(sum % 256, 16).toUpper().rightJustified(2, '0');
}

bool isUpperHex(const QByteArray &text, bool withBlanks)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (withBlanks && i % 3 == 2) {
            if (c != ' ')
                return false;
        } else if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) {
            return false;
        }
    }
    return true;
}

} // namespace fuzzconversions

QX_FUZZ_TARGET(conversions)
{
    using namespace fuzzconversions;
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    QX_FUZZ_CHECK(Conversions::HexDigitValue(text) == (text.size() == 1 ? digit(text[0]) : 0));
    QX_FUZZ_CHECK(Conversions::HexPairValue(text) ==
                  (text.isEmpty() ? 0 : digit(text[0]) * 16 + (text.size() > 1 ? digit(text[1]) : 0)));
    QX_FUZZ_CHECK(Conversions::RemoveBlanks(text) == withoutBlanks(text));
    QX_FUZZ_CHECK(Conversions::HexToBytes(text) == hexToBytes(text));
    QX_FUZZ_CHECK(Conversions::HexChecksum(text) == checksum(text));

    for (const bool blanks : {false, true}) {
        const QByteArray hex = Conversions::BytesToHex(text, blanks);
        QX_FUZZ_CHECK(hex.size() == text.size() * (blanks ? 3 : 2));
        QX_FUZZ_CHECK(isUpperHex(hex, blanks));
        QX_FUZZ_CHECK(Conversions::HexToBytes(hex) == text);
    }

    // Text typed by the user: the GBK bytes of what the user sees are what is converted.
    QStringDecoder gbk("GBK");
    const QString typed = gbk(text);
    QStringEncoder encoder("GBK");
    const QByteArray typedBytes = encoder(typed);
    QX_FUZZ_CHECK(Conversions::HexToBytes(typed) == Conversions::HexToBytes(typedBytes));
    // The Latin-1 view of the same bytes takes the ASCII-only path whenever it can.
    const QString latin = QString::fromLatin1(text);
    QX_FUZZ_CHECK(Conversions::HexToBytes(latin) == Conversions::HexToBytes(encoder(latin)));

    // The console shows a reply piece by piece as it comes: torn anywhere, it reads as if whole.
    FuzzInput cuts(data, size);
    ConsoleTextStream stream;
    QString shown;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype piece = std::min<qsizetype>(cuts.byte() % 8 + 1, text.size() - at);
        shown += stream.feed(QByteArrayView(text).sliced(at, piece));
        at += piece;
    }
    shown += stream.finish();
    QX_FUZZ_CHECK(shown == RenderBytes(text));

    // A choice of two parts, so that short hex texts meet every checksum branch.
    FuzzInput in(data, size);
    const QByteArray a = in.chunk();
    const QByteArray b = in.rest();
    const QByteArray joined = Conversions::BytesToHex(a, false) + Conversions::BytesToHex(b, false);
    int sum = 0;
    for (const char c : a + b)
        sum += static_cast<unsigned char>(c);
    QX_FUZZ_CHECK(Conversions::HexToBytes(Conversions::HexChecksum(joined)) ==
                  QByteArray(1, static_cast<char>(sum % 256)));
    return 0;
}
