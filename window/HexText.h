#pragma once

// Hex data as the user types it on the data send page. Blanks, tabs and line breaks only separate
// the digits; any other character that is not a hex digit is a typing mistake the user must hear
// of, never a byte of value 0 sent in its place.

#include <QString>

struct HexDigits {
    QString digits; // the hex digits alone, in their order; meaningful only when stray is empty
    QString stray;  // the first character that is neither a hex digit nor a separator, if any
};

HexDigits HexDigitsOf(const QString &text);
