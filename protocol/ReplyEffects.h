#pragma once

// What one reply changes, as plain values: the reply interpretation returns them, the window applies
// them to its controls, a test compares them. List items are named by position or by text; the window
// resolves a text against the items its list holds.

#include "protocol/Fields.h"
#include "protocol/StrictInt.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct FieldChange {
    enum class Kind {
        Text,           // the text field shows text, whole
        ItemIndex,      // the list selects the item at index; past the last item, none
        ItemText,       // the list selects the item equal to text; none equal: the selection stays
        ItemTextOrNone, // the list selects the item equal to text; none equal: no selection
        NoSelection,    // the list selects nothing
        AppendLine,     // the memo gets text as a paragraph of its own
    };

    Field field;
    Kind kind;
    QString text;   // all kinds but ItemIndex and NoSelection
    int index = -1; // ItemIndex only

    static FieldChange showText(Field field, const QString &text);
    // A position from a reply; below 0 no item is selected.
    static FieldChange select(Field field, qint64 index);
    static FieldChange selectText(Field field, const QString &text);
    static FieldChange selectTextOrNone(Field field, const QString &text);
    static FieldChange appendLine(Field field, const QString &text);
};
bool operator==(const FieldChange &a, const FieldChange &b);

// The position selected in one list of an IO row; below 0 or past the last item, none.
struct IoChange {
    enum class Box { Mode, Pull, Level };

    int row; // 1..8
    Box box;
    int index;
};
bool operator==(const IoChange &a, const IoChange &b);

// A modal box with one OK button.
struct ReplyBox {
    enum class Kind { Warning, Error };

    Kind kind;
    QString text;
};
bool operator==(const ReplyBox &a, const ReplyBox &b);

struct ReplyEffects {
    QList<FieldChange> fields; // in reply order: a later change of the same field wins
    QList<IoChange> io;
    QStringList console;           // lines appended to the console log
    std::optional<QString> status; // the operation status text, when the reply sets it
    QList<ReplyBox> boxes;         // shown after everything else has been applied
    // The value that had to be a number and was not. The handling stopped there; what came before
    // stays applied.
    std::optional<ConversionError> failure;
};
