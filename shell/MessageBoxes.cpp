#include "shell/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace {
Boxes::Handler &handler()
{
    static Boxes::Handler h;
    return h;
}

bool show(QWidget *parent, BoxKind kind, const QString &text)
{
    const QString title = QApplication::applicationDisplayName();
    if (handler())
        return handler()({kind, title, text});
    switch (kind) {
    case BoxKind::Information:
        QMessageBox::information(parent, title, text);
        return false;
    case BoxKind::Warning:
        QMessageBox::warning(parent, title, text);
        return false;
    case BoxKind::Error:
        QMessageBox::critical(parent, title, text);
        return false;
    case BoxKind::Question:
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    }
    return false;
}
} // namespace

namespace Boxes {
void information(QWidget *parent, const QString &text)
{
    show(parent, BoxKind::Information, text);
}
void warning(QWidget *parent, const QString &text)
{
    show(parent, BoxKind::Warning, text);
}
void error(QWidget *parent, const QString &text)
{
    show(parent, BoxKind::Error, text);
}
bool askYesNo(QWidget *parent, const QString &text)
{
    return show(parent, BoxKind::Question, text);
}
void setHandler(Handler h)
{
    handler() = std::move(h);
}
void clearHandler()
{
    handler() = nullptr;
}
} // namespace Boxes
