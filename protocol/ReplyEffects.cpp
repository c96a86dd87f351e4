#include "protocol/ReplyEffects.h"

#include <limits>

FieldChange FieldChange::showText(Field field, const QString &text)
{
    return {field, Kind::Text, text};
}

FieldChange FieldChange::select(Field field, qint64 index)
{
    // A reply's number minus one can fall below INT_MIN; above INT_MAX it cannot come.
    if (index < 0 || index > std::numeric_limits<int>::max())
        return {field, Kind::NoSelection, QString()};
    return {field, Kind::ItemIndex, QString(), static_cast<int>(index)};
}

FieldChange FieldChange::selectText(Field field, const QString &text)
{
    return {field, Kind::ItemText, text};
}

FieldChange FieldChange::selectTextOrNone(Field field, const QString &text)
{
    return {field, Kind::ItemTextOrNone, text};
}

FieldChange FieldChange::appendLine(Field field, const QString &text)
{
    return {field, Kind::AppendLine, text};
}

bool operator==(const FieldChange &a, const FieldChange &b)
{
    return a.field == b.field && a.kind == b.kind && a.text == b.text && a.index == b.index;
}

bool operator==(const IoChange &a, const IoChange &b)
{
    return a.row == b.row && a.box == b.box && a.index == b.index;
}

bool operator==(const ReplyBox &a, const ReplyBox &b)
{
    return a.kind == b.kind && a.text == b.text;
}
