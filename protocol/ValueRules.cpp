#include "protocol/ValueRules.h"

#include <QStringList>
#include <algorithm>

namespace {
const QChar kQuote = QLatin1Char('"');
const QChar kComma = QLatin1Char(',');

QString quoted(const FieldValue &field)
{
    return kQuote + field.text + kQuote;
}

bool hasText(const FieldValue &field)
{
    return !field.text.isEmpty();
}

bool hasTrimmedText(const FieldValue &field)
{
    return !field.text.trimmed().isEmpty();
}

bool hasSelection(const FieldValue &field)
{
    return field.index >= 0;
}

bool elevenTrimmed(const FieldValue &field)
{
    return field.text.trimmed().size() == 11;
}

bool fourTrimmed(const FieldValue &field)
{
    return field.text.trimmed().size() == 4;
}
} // namespace

QString ValueRules::text(const RowValues &fields)
{
    return fields.value(0).text;
}

QString ValueRules::trimmed(const RowValues &fields)
{
    return fields.value(0).text.trimmed();
}

QString ValueRules::item(const RowValues &fields)
{
    return fields.value(0).text;
}

QString ValueRules::index(const RowValues &fields)
{
    return QString::number(fields.value(0).index);
}

QString ValueRules::indexPlusOne(const RowValues &fields)
{
    return QString::number(fields.value(0).index + 1);
}

QString ValueRules::quotedList(const RowValues &fields)
{
    QStringList pieces;
    for (const FieldValue &field : fields)
        pieces << quoted(field);
    return pieces.join(kComma);
}

QString ValueRules::apInfo(const RowValues &fields)
{
    // ssid, password, channel, authentication
    return quotedList(fields.mid(0, 2)) + kComma + fields.value(2).text + kComma +
           QString::number(fields.value(3).index) + QStringLiteral(",4");
}

QString ValueRules::serialFormat(const RowValues &fields)
{
    // parity, data bits, stop bits as they stand on the form; the module wants data bits first
    return fields.value(1).text + kComma + QString::number(fields.value(0).index) + kComma +
           QString::number(fields.value(2).index + 1);
}

RowValues ValueRules::quotedFields(ValueRule rule, const RowValues &fields)
{
    if (rule == &ValueRules::quotedList)
        return fields;
    if (rule == &ValueRules::apInfo)
        return fields.mid(0, 2); // ssid and password; channel and authentication go bare
    return {};
}

const CheckRule CheckRules::notBlank{hasText, "Value Can not be blank!", "不能设置为空值！"};
const CheckRule CheckRules::notBlankTrimmed{hasTrimmedText, "Value Can not be blank!", "不能设置为空值！"};
const CheckRule CheckRules::selected{hasSelection, "Value Can not be blank!", "不能设置为空值！"};
const CheckRule CheckRules::elevenChars{elevenTrimmed, "Value Can not be 11 bytes!", "ID必须为11位！"};
const CheckRule CheckRules::fourChars{fourTrimmed, "Value Can not be 4 bytes!", "ID必须为4位！"};
const char *const CheckRules::lineBreakEnglish = "Value Can not contain line breaks!";
const char *const CheckRules::lineBreakChinese = "不能包含换行符！";
const char *const CheckRules::quoteEnglish = "Value Can not contain double quotes!";
const char *const CheckRules::quoteChinese = "不能包含双引号！";

bool CheckRules::isSingleLine(const QString &value)
{
    return !value.contains(QLatin1Char('\r')) && !value.contains(QLatin1Char('\n'));
}

bool CheckRules::isQuoteFree(const RowValues &quotedFields)
{
    return std::none_of(quotedFields.cbegin(), quotedFields.cend(),
                        [](const FieldValue &field) { return field.text.contains(kQuote); });
}
