#include "protocol/StrictInt.h"

int StrToInt(const QString &text)
{
    bool ok = false;
    // toInt accepts surrounding blanks; the module's number must be the whole text.
    const bool hasBlank = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
    const int value = text.toInt(&ok, 10);
    if (!ok || hasBlank)
        throw ConversionError{text};
    return value;
}
