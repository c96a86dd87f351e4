#pragma once

// How a parameter row turns its fields into the value of its set command, and the checks that must
// pass before it is sent. A row's fields are text fields (QLineEdit) or drop-down lists (QComboBox),
// given in the row's order.

#include <QList>
#include <QString>

class QWidget;

using RowFields = QList<const QWidget *>;
using ValueRule = QString (*)(const RowFields &fields);

namespace ValueRules {
QString text(const RowFields &fields);         // first field as typed
QString trimmed(const RowFields &fields);      // first field without surrounding blanks
QString item(const RowFields &fields);         // text of the selected item
QString index(const RowFields &fields);        // zero-based position of the selected item
QString indexPlusOne(const RowFields &fields); // that position plus one
QString quotedList(const RowFields &fields);   // every field's text in double quotes, comma-separated
// Access point: "ssid","password",channel item,authentication index,4
QString apInfo(const RowFields &fields);
// Serial format from parity, data bits, stop bits (form order): data bits item,parity index,stop index+1
QString serialFormat(const RowFields &fields);
// The fields whose text the rule writes between double quotes.
RowFields quotedFields(ValueRule rule, const RowFields &fields);
} // namespace ValueRules

// A check on one field, with the warning shown when it fails.
struct CheckRule {
    bool (*passes)(const QWidget *field);
    const char *english;
    const char *chinese;
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
extern const char *const lineBreakEnglish;
extern const char *const lineBreakChinese;
// Text sent between double quotes: a quote of its own would end the value early and shift every value
// after it.
bool isQuoteFree(const RowFields &quotedFields);
extern const char *const quoteEnglish;
extern const char *const quoteChinese;
} // namespace CheckRules

// The text a field shows: a text field's text, a list's selected item ("" without selection).
QString fieldText(const QWidget *field);
// Empties a field the way a read does: text to "", a list to no selection, a memo to no lines.
void clearField(QWidget *field);
