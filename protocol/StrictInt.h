#pragma once

#include <QString>

// Raised when a reply value that must be a number is not one. It ends the handling of that reply:
// the serial road shows it in the general error box, the TCP road drops it silently.
struct ConversionError {
    QString text; // the offending text
    QString message() const { return QStringLiteral("'%1' is not a valid integer value").arg(text); }
};

// Whole-text decimal conversion with an optional sign; anything else (empty, blanks, overflow) throws.
int StrToInt(const QString &text);
