#include "window/FieldWidgets.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

QString fieldText(const QWidget *field)
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(field))
        return edit->text();
    if (const auto *box = qobject_cast<const QComboBox *>(field))
        return box->currentText();
    return QString();
}

FieldValue fieldValue(const QWidget *field)
{
    const auto *box = qobject_cast<const QComboBox *>(field);
    return {fieldText(field), box ? box->currentIndex() : -1};
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
