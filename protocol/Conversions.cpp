#include "protocol/Conversions.h"

#include <QStringEncoder>

// Hex text and byte strings. Replies of a mebibyte pass through BytesToHex, so the loops here work on
// raw pointers into results sized once.

namespace {

constexpr char kBlank = ' ';
constexpr char kUpperDigits[] = "0123456789ABCDEF";

// Value of one hex digit; anything else counts as 0.
constexpr int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}

struct HexPairTable {
    char pairs[256][2];
    constexpr HexPairTable() : pairs()
    {
        for (int i = 0; i < 256; ++i) {
            pairs[i][0] = kUpperDigits[i >> 4];
            pairs[i][1] = kUpperDigits[i & 0x0F];
        }
    }
};
constexpr HexPairTable kHexPairs;

} // namespace

int Conversions::HexDigitValue(const QByteArray &text)
{
    // Only a text of exactly one character can be a digit.
    return text.size() == 1 ? digitValue(text.at(0)) : 0;
}

int Conversions::HexPairValue(const QByteArray &text)
{
    const int high = text.size() > 0 ? digitValue(text.at(0)) : 0;
    const int low = text.size() > 1 ? digitValue(text.at(1)) : 0;
    return high * 16 + low;
}

QByteArray Conversions::HexToBytes(const QByteArray &hexText)
{
    QByteArray bytes;
    bytes.reserve(hexText.size() / 2 + 1);
    int high = -1; // the first digit of a pair still waiting for its second
    for (const char c : hexText) {
        if (c == kBlank)
            continue;
        if (high < 0) {
            high = digitValue(c);
        } else {
            bytes.append(static_cast<char>(high * 16 + digitValue(c)));
            high = -1;
        }
    }
    if (high >= 0) // a lone last digit is the low half of a byte of its own
        bytes.append(static_cast<char>(high));
    return bytes;
}

QByteArray Conversions::HexToBytes(const QString &hexText)
{
    bool ascii = true;
    for (const QChar c : hexText) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) // ASCII is the same in GBK; spares the codec for the usual case
        return HexToBytes(hexText.toLatin1());
    QStringEncoder gbk("GBK");
    const QByteArray encoded = gbk.encode(hexText);
    return HexToBytes(encoded);
}

QByteArray Conversions::BytesToHex(const QByteArray &bytes, bool withBlanks)
{
    const qsizetype step = withBlanks ? 3 : 2;
    QByteArray hex(bytes.size() * step, Qt::Uninitialized);
    char *out = hex.data();
    for (const char c : bytes) {
        const char *pair = kHexPairs.pairs[static_cast<unsigned char>(c)];
        out[0] = pair[0];
        out[1] = pair[1];
        if (withBlanks)
            out[2] = kBlank;
        out += step;
    }
    return hex;
}

QByteArray Conversions::HexChecksum(const QByteArray &hexText)
{
    if (hexText.isEmpty())
        return QByteArrayLiteral("00");
    // An odd text is read as if a "0" stood in front of it.
    const qsizetype size = hexText.size();
    qsizetype i = 0;
    unsigned sum = 0;
    if (size % 2 != 0) {
        sum = static_cast<unsigned>(digitValue(hexText.at(0)));
        i = 1;
    }
    for (; i < size; i += 2)
        sum += static_cast<unsigned>(digitValue(hexText.at(i)) * 16 + digitValue(hexText.at(i + 1)));
    const char *pair = kHexPairs.pairs[sum % 256];
    return QByteArray(pair, 2);
}

QByteArray Conversions::RemoveBlanks(const QByteArray &text)
{
    if (!text.contains(kBlank))
        return text; // shared, no copy
    QByteArray result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c != kBlank)
            result.append(c);
    }
    return result;
}
