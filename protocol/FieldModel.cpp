#include "protocol/FieldModel.h"

#include "protocol/FieldCatalogue.h"

namespace {
int slot(Field field)
{
    return static_cast<int>(field);
}
} // namespace

FieldModel::FieldModel()
{
    const int count = slot(Field::Count);
    values_.resize(count);
    items_.resize(count);
    isList_.fill(false, count);
    for (const FieldDescription &description : FieldDescriptions()) {
        const int at = slot(description.field);
        isList_[at] = description.list;
        if (description.list) {
            items_[at] = description.items;
            const int start = description.startIndex;
            values_[at] = start >= 0 && start < description.items.size()
                              ? FieldValue{description.items.at(start), start}
                              : FieldValue{};
        } else {
            values_[at] = FieldValue{description.startText, -1};
        }
    }
}

FieldValue FieldModel::value(Field field) const
{
    return values_.value(slot(field));
}

RowValues FieldModel::rowValues(const ParameterRow &row) const
{
    RowValues values;
    for (const Field field : row.fields)
        values << value(field);
    return values;
}

void FieldModel::apply(const FieldChange &change)
{
    const int at = slot(change.field);
    if (at < 0 || at >= values_.size())
        return;
    FieldValue &current = values_[at];
    if (!isList_.at(at)) {
        if (change.kind == FieldChange::Kind::AppendLine)
            current.text =
                current.text.isEmpty() ? change.text : current.text + QLatin1Char('\n') + change.text;
        else if (change.kind == FieldChange::Kind::Text)
            current.text = change.text;
        return;
    }
    const QStringList &items = items_.at(at);
    auto select = [&current, &items](qsizetype index) {
        current = index >= 0 && index < items.size() ? FieldValue{items.at(index), int(index)} : FieldValue{};
    };
    switch (change.kind) {
    case FieldChange::Kind::ItemIndex:
        select(change.index);
        break;
    case FieldChange::Kind::ItemText:
        if (items.contains(change.text))
            select(items.indexOf(change.text));
        break;
    case FieldChange::Kind::ItemTextOrNone:
        select(items.indexOf(change.text));
        break;
    case FieldChange::Kind::NoSelection:
        select(-1);
        break;
    case FieldChange::Kind::Text:
    case FieldChange::Kind::AppendLine:
        break;
    }
}

void FieldModel::apply(const QList<FieldChange> &changes)
{
    for (const FieldChange &change : changes)
        apply(change);
}

void FieldModel::clear(Field field)
{
    const int at = slot(field);
    if (at >= 0 && at < values_.size())
        values_[at] = FieldValue{};
}

void FieldModel::clearRow(const ParameterRow &row)
{
    for (const Field field : row.fields)
        clear(field);
}
