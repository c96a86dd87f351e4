#include "protocol/SetValue.h"

#include "protocol/CommandBuilder.h"

#include <algorithm>

namespace {
SetValue refused(const char *english, const char *chinese)
{
    SetValue value;
    value.english = english;
    value.chinese = chinese;
    return value;
}

const QString kAt = QStringLiteral("AT");
} // namespace

QString SetValue::refusal(bool inChinese) const
{
    if (isSendable())
        return {};
    return QString::fromUtf8(inChinese ? chinese : english);
}

SetValue ComposeSetValue(const ParameterRow &row, const RowValues &fields)
{
    for (const FieldCheck &check : row.checks) {
        const auto at = std::find(row.fields.begin(), row.fields.end(), check.field);
        const qsizetype position = at - row.fields.begin();
        const FieldValue value = position < fields.size() ? fields.at(position) : FieldValue{};
        if (!check.rule->passes(value))
            return refused(check.rule->english, check.rule->chinese);
    }
    const QString value = row.value(fields);
    if (!CheckRules::isSingleLine(value))
        return refused(CheckRules::lineBreakEnglish, CheckRules::lineBreakChinese);
    const RowValues quoted = row.quote ? fields : ValueRules::quotedFields(row.value, fields);
    if (!CheckRules::isQuoteFree(quoted))
        return refused(CheckRules::quoteEnglish, CheckRules::quoteChinese);

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
