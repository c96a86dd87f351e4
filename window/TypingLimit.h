#pragma once

// A text field's maxLength is a limit on what the user types. QLineEdit::setText cuts a longer text to
// it, so a value read from the module or the settings would be shown cut, and the next set or OK would
// store the cut value as if it were the real one.

#include <QString>

class QLineEdit;

// Shows the text whole, also when it is longer than the field's typing limit. While the field holds a
// longer text the limit follows the text down as the user shortens it, and never lets an edit make the
// text longer than it already is; once the text fits, the field's own limit is back.
void ShowWhole(QLineEdit *edit, const QString &text);
