#pragma once

// How a parameter row turns its fields into the value of its set command, and the checks that must
// pass before it is sent. The rules see what each field holds, in the row's order: a text field's
// text, or a list's selected item and its position.

#include <QList>
#include <QString>

struct FieldValue {
    QString text;   // a text field's text, or a list's selected item ("" without selection)
    int index = -1; // a list's selected position; -1 without selection and for text fields
};

using RowValues = QList<FieldValue>;
using ValueRule = QString (*)(const RowValues &fields);

namespace ValueRules {
QString text(const RowValues &fields);         // first field as typed
QString trimmed(const RowValues &fields);      // first field without surrounding blanks
QString item(const RowValues &fields);         // text of the selected item
QString index(const RowValues &fields);        // zero-based position of the selected item
QString indexPlusOne(const RowValues &fields); // that position plus one
QString quotedList(const RowValues &fields);   // every field's text in double quotes, comma-separated
// Access point: "ssid","password",channel item,authentication index,4
QString apInfo(const RowValues &fields);
// Serial format from parity, data bits, stop bits (form order): data bits item,parity index,stop index+1
QString serialFormat(const RowValues &fields);
// The fields whose text the rule writes between double quotes.
RowValues quotedFields(ValueRule rule, const RowValues &fields);
} // namespace ValueRules

// A check on one field, with the warning shown when it fails: an English source text that the
// catalogue translates under "CheckRules".
struct CheckRule {
    bool (*passes)(const FieldValue &field);
    const char *warning;
};

namespace CheckRules {
extern const CheckRule notBlank;        // text not empty (blanks count as text)
extern const CheckRule notBlankTrimmed; // text not empty once trimmed: for values sent trimmed
extern const CheckRule selected;        // list has a selection
extern const CheckRule elevenChars;     // device ID: trimmed text of exactly 11 characters
extern const CheckRule fourChars;       // zone: trimmed text of exactly 4 characters
// Every value: pasted text may hold line breaks, and a line break would end the command early and
// let the rest reach the module as a command of its own.
bool isSingleLine(const QString &value);
extern const char *const lineBreakWarning;
// Text sent between double quotes: a quote of its own would end the value early and shift every value
// after it.
bool isQuoteFree(const RowValues &quotedFields);
extern const char *const quoteWarning;
} // namespace CheckRules
