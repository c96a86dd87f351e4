#include "window/HexText.h"

namespace {
bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}
} // namespace

HexDigits HexDigitsOf(const QString &text)
{
    HexDigits result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isHexDigit(c)) {
            result.digits += c;
        } else if (!c.isSpace()) { // every kind of blank, the full-width one of Chinese input too
            // A character outside the basic plane is two code units: name it whole.
            const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
            result.stray = text.mid(i, pair ? 2 : 1);
            result.digits.clear();
            return result;
        }
    }
    return result;
}
