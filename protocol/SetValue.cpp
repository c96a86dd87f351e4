#include "protocol/SetValue.h"

#include "protocol/CommandBuilder.h"

#include <QCoreApplication>
#include <algorithm>

namespace {
SetValue refused(const char *warning)
{
    SetValue value;
    value.warning = warning;
    return value;
}

const QString kAt = QStringLiteral("AT");
} // namespace

QString SetValue::refusal() const
{
    if (isSendable())
        return {};
    return QCoreApplication::translate("CheckRules", warning);
}

SetValue ComposeSetValue(const ParameterRow &row, const RowValues &fields)
{
    for (const FieldCheck &check : row.checks) {
        const auto at = std::find(row.fields.begin(), row.fields.end(), check.field);
        const qsizetype position = at - row.fields.begin();
        const FieldValue value = position < fields.size() ? fields.at(position) : FieldValue{};
        if (!check.rule->passes(value))
            return refused(check.rule->warning);
    }
    const QString value = row.value(fields);
    if (!CheckRules::isSingleLine(value))
        return refused(CheckRules::lineBreakWarning);
    const RowValues quoted = row.quote ? fields : ValueRules::quotedFields(row.value, fields);
    if (!CheckRules::isQuoteFree(quoted))
        return refused(CheckRules::quoteWarning);

    SetValue composed;
    composed.text = row.quote ? QLatin1Char('"') + value + QLatin1Char('"') : value;
    return composed;
}

BuiltCommand SetCommand(const ParameterRow &row, const QString &valueText)
{
    // The value arrives with its quotes, so the builder must not add them again.
    return BuildCommand(row.setCode, kAt, row.atName, valueText, false);
}

BuiltCommand ReadCommand(const ParameterRow &row)
{
    return BuildCommand(row.readCode(), kAt, row.atName, QStringLiteral("?"), false);
}
