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

const CheckRule CheckRules::notBlank{hasText, QT_TRANSLATE_NOOP("CheckRules", "Value Can not be blank!")};
const CheckRule CheckRules::notBlankTrimmed{hasTrimmedText,
                                            QT_TRANSLATE_NOOP("CheckRules", "Value Can not be blank!")};
const CheckRule CheckRules::selected{hasSelection,
                                     QT_TRANSLATE_NOOP("CheckRules", "Value Can not be blank!")};
const CheckRule CheckRules::elevenChars{elevenTrimmed,
                                        QT_TRANSLATE_NOOP("CheckRules", "Value Can not be 11 bytes!")};
const CheckRule CheckRules::fourChars{fourTrimmed,
                                      QT_TRANSLATE_NOOP("CheckRules", "Value Can not be 4 bytes!")};
const char *const CheckRules::lineBreakWarning =
    QT_TRANSLATE_NOOP("CheckRules", "Value Can not contain line breaks!");
const char *const CheckRules::quoteWarning =
    QT_TRANSLATE_NOOP("CheckRules", "Value Can not contain double quotes!");

bool CheckRules::isSingleLine(const QString &value)
{
    return !value.contains(QLatin1Char('\r')) && !value.contains(QLatin1Char('\n'));
}

bool CheckRules::isQuoteFree(const RowValues &quotedFields)
{
    return std::none_of(quotedFields.cbegin(), quotedFields.cend(),
                        [](const FieldValue &field) { return field.text.contains(kQuote); });
}
