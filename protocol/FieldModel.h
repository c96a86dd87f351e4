#pragma once

// What every field of the parameter pages holds, as plain values: the window's fields without the
// window. Replies change it through the same effects the window applies, with the same list rules, so a
// tool without a window reads a module exactly as the pages show it.

#include "protocol/ParameterCatalogue.h"
#include "protocol/ReplyEffects.h"

#include <QList>

class FieldModel {
public:
    // Every field at its start value; lists hold their Chinese items, the language-free form.
    FieldModel();

    FieldValue value(Field field) const;
    RowValues rowValues(const ParameterRow &row) const;

    void apply(const FieldChange &change);
    void apply(const QList<FieldChange> &changes);
    // Empties the field the way a read does: text to "", a list to no selection.
    void clear(Field field);
    void clearRow(const ParameterRow &row);

private:
    QList<FieldValue> values_;
    QList<QStringList> items_;
    QList<bool> isList_;
};
