#include "support/PageRig.h"

#include "protocol/Fields.h"
#include "window/MainWindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

PageRig::PageRig(const QByteArray &language)
    : dir_(WorkDir::testConfig(pty.slavePath(), "[Ver]\r\nCEO=" + language + "\r\n")), form_(makeMainWindow())
{
}

PageRig::~PageRig() = default;

QPushButton *PageRig::button(const QString &objectName) const
{
    return qobject_cast<QPushButton *>(findControl(*form_, objectName));
}

QWidget *PageRig::widget(const QString &objectName) const
{
    return qobject_cast<QWidget *>(findControl(*form_, objectName));
}

QByteArray PageRig::sent(qsizetype expected)
{
    const QByteArray bytes = pty.read(int(expected), 5000);
    return bytes + sentBeforeSentinel(*form_, pty);
}

bool PageRig::sentNothing()
{
    return sentBeforeSentinel(*form_, pty).isEmpty();
}

void PageRig::fillEveryField() const
{
    for (int i = 0; i < int(Field::Count); ++i) {
        QWidget *field = form_->field(Field(i));
        if (auto *edit = qobject_cast<QLineEdit *>(field))
            edit->setText(QStringLiteral("x"));
        else if (auto *box = qobject_cast<QComboBox *>(field))
            box->setCurrentIndex(0);
        else if (auto *memo = qobject_cast<QPlainTextEdit *>(field))
            memo->setPlainText(QStringLiteral("x"));
    }
}

QStringList PageRig::emptyFields() const
{
    QStringList names;
    for (int i = 0; i < int(Field::Count); ++i) {
        QWidget *field = form_->field(Field(i));
        bool empty = false;
        if (auto *edit = qobject_cast<QLineEdit *>(field))
            empty = edit->text().isEmpty();
        else if (auto *box = qobject_cast<QComboBox *>(field))
            empty = box->currentIndex() < 0;
        else if (auto *memo = qobject_cast<QPlainTextEdit *>(field))
            empty = memo->document()->isEmpty();
        if (empty)
            names << field->objectName();
    }
    names.sort();
    return names;
}
