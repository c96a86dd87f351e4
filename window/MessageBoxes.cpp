#include "window/MessageBoxes.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QVariant>
#include <QWidget>

namespace {
Boxes::Handler &handler()
{
    static Boxes::Handler h;
    return h;
}

Boxes::SaveFileHandler &saveFileHandler()
{
    static Boxes::SaveFileHandler h;
    return h;
}

Boxes::OpenFileHandler &openFileHandler()
{
    static Boxes::OpenFileHandler h;
    return h;
}

const char *const kTitleProperty = "qxBoxTitle";

// The title the nearest window holding one gave its boxes.
QString titleFor(const QWidget *widget)
{
    for (; widget != nullptr; widget = widget->parentWidget()) {
        const QVariant title = widget->property(kTitleProperty);
        if (title.isValid())
            return title.toString();
    }
    return QApplication::applicationDisplayName();
}

bool show(QWidget *parent, BoxKind kind, const QString &text, const QWidget *titleSource)
{
    const QString title = titleFor(titleSource);
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
    show(parent, BoxKind::Information, text, parent);
}
void warning(QWidget *parent, const QString &text)
{
    show(parent, BoxKind::Warning, text, parent);
}
void error(QWidget *parent, const QString &text)
{
    show(parent, BoxKind::Error, text, parent);
}
bool askYesNo(QWidget *parent, const QString &text)
{
    return show(parent, BoxKind::Question, text, parent);
}
void warningUnparented(const QWidget *titleSource, const QString &text)
{
    show(nullptr, BoxKind::Warning, text, titleSource);
}
QString askSaveFileName(QWidget *parent, const QString &title, const QString &proposedPath,
                        const QString &filter)
{
    if (saveFileHandler())
        return saveFileHandler()({title, proposedPath, filter});
    return QFileDialog::getSaveFileName(parent, title, proposedPath, filter);
}
QString askOpenFileName(QWidget *parent, const QString &title, const QString &folder, const QString &filter)
{
    if (openFileHandler())
        return openFileHandler()({title, folder, filter});
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
}
void setWindowTitleOfBoxes(QWidget *window, const QString &title)
{
    window->setProperty(kTitleProperty, title);
}
void setHandler(Handler h)
{
    handler() = std::move(h);
}
void clearHandler()
{
    handler() = nullptr;
}
void setSaveFileHandler(SaveFileHandler h)
{
    saveFileHandler() = std::move(h);
}
void clearSaveFileHandler()
{
    saveFileHandler() = nullptr;
}
void setOpenFileHandler(OpenFileHandler h)
{
    openFileHandler() = std::move(h);
}
void clearOpenFileHandler()
{
    openFileHandler() = nullptr;
}
} // namespace Boxes
