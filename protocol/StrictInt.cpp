#include "protocol/StrictInt.h"

int StrToInt(const QString &text)
{
    bool ok = false;
    // toInt accepts surrounding blanks and stops at a 00 character, taking "1<00>2" for 1; the
    // module's number must be the whole text.
    const bool hasBlank = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
    const bool hasNul = text.contains(QChar(0));
    const int value = text.toInt(&ok, 10);
    if (!ok || hasBlank || hasNul)
        throw ConversionError{text};
    return value;
}
