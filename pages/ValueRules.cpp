#include "pages/ValueRules.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <algorithm>

namespace {
const QChar kQuote = QLatin1Char('"');
const QChar kComma = QLatin1Char(',');

int selectedIndex(const QWidget *field)
{
    const auto *box = qobject_cast<const QComboBox *>(field);
    return box ? box->currentIndex() : -1;
}

QString quoted(const QWidget *field)
{
    return kQuote + fieldText(field) + kQuote;
}

bool hasText(const QWidget *field)
{
    return !fieldText(field).isEmpty();
}

bool hasTrimmedText(const QWidget *field)
{
    return !fieldText(field).trimmed().isEmpty();
}

bool hasSelection(const QWidget *field)
{
    return selectedIndex(field) >= 0;
}

bool elevenTrimmed(const QWidget *field)
{
    return fieldText(field).trimmed().size() == 11;
}

bool fourTrimmed(const QWidget *field)
{
    return fieldText(field).trimmed().size() == 4;
}
} // namespace

QString fieldText(const QWidget *field)
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(field))
        return edit->text();
    if (const auto *box = qobject_cast<const QComboBox *>(field))
        return box->currentText();
    return QString();
}

void clearField(QWidget *field)
{
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        edit->clear();
    else if (auto *box = qobject_cast<QComboBox *>(field))
        box->setCurrentIndex(-1);
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(field))
        memo->clear();
}

QString ValueRules::text(const RowFields &fields)
{
    return fieldText(fields.value(0));
}

QString ValueRules::trimmed(const RowFields &fields)
{
    return fieldText(fields.value(0)).trimmed();
}

QString ValueRules::item(const RowFields &fields)
{
    return fieldText(fields.value(0));
}

QString ValueRules::index(const RowFields &fields)
{
    return QString::number(selectedIndex(fields.value(0)));
}

QString ValueRules::indexPlusOne(const RowFields &fields)
{
    return QString::number(selectedIndex(fields.value(0)) + 1);
}

QString ValueRules::quotedList(const RowFields &fields)
{
    QStringList pieces;
    for (const QWidget *field : fields)
        pieces << quoted(field);
    return pieces.join(kComma);
}

QString ValueRules::apInfo(const RowFields &fields)
{
    // ssid, password, channel, authentication
    return quotedList(fields.mid(0, 2)) + kComma + fieldText(fields.value(2)) + kComma +
           QString::number(selectedIndex(fields.value(3))) + QStringLiteral(",4");
}

QString ValueRules::serialFormat(const RowFields &fields)
{
    // parity, data bits, stop bits as they stand on the form; the module wants data bits first
    return fieldText(fields.value(1)) + kComma + QString::number(selectedIndex(fields.value(0))) + kComma +
           QString::number(selectedIndex(fields.value(2)) + 1);
}

RowFields ValueRules::quotedFields(ValueRule rule, const RowFields &fields)
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

bool CheckRules::isQuoteFree(const RowFields &quotedFields)
{
    return std::none_of(quotedFields.cbegin(), quotedFields.cend(),
                        [](const QWidget *field) { return fieldText(field).contains(kQuote); });
}
