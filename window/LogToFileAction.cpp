#include "window/LogToFileAction.h"

#include "window/ConsoleFileLog.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace {
// The file logged to last, to go on with it, while its folder is there.
QString proposedPath(const QString &last)
{
    return !last.isEmpty() && QFileInfo(last).absoluteDir().exists() ? last : NewLogFilePath();
}
} // namespace

LogToFileAction::LogToFileAction(MainWindow *window, ConsoleLog *console, QMenu *menu, QAction *before)
    : QObject(window), window_(window), action_(new QAction(menu)), file_(new ConsoleFileLog(this))
{
    action_->setObjectName(QStringLiteral("logToFileAction"));
    action_->setCheckable(true);
    window->captions().addAction(action_, captionText("LogToFileAction", "Log to file…"));
    menu->insertAction(before, action_);

    connect(console, &ConsoleLog::linesAdded, file_, &ConsoleFileLog::addLines);
    connect(console, &ConsoleLog::lineOpened, file_, &ConsoleFileLog::openLine);
    connect(console, &ConsoleLog::lineGrew, file_, &ConsoleFileLog::growLine);
    connect(console, &ConsoleLog::lineClosed, file_, &ConsoleFileLog::closeLine);
    // The box waits for the event loop: a failed write is found in the middle of a console write.
    connect(file_, &ConsoleFileLog::failed, this, &LogToFileAction::reportFailure, Qt::QueuedConnection);
    connect(action_, &QAction::triggered, this, &LogToFileAction::toggle);
}

bool LogToFileAction::isLogging() const
{
    return file_->isActive();
}

void LogToFileAction::toggle(bool on)
{
    if (on)
        start();
    else
        file_->stop();
    action_->setChecked(file_->isActive());
}

void LogToFileAction::start()
{
    const QString path =
        Boxes::askSaveFileName(window_, tr("Log to file"), proposedPath(window_->settings().logFilePath),
                               tr("Text files (*.txt);;All files (*)"));
    if (path.isEmpty())
        return;
    QString reason;
    if (!file_->start(path, &reason)) {
        Boxes::error(window_, tr("Could not log to %1: %2").arg(QDir::toNativeSeparators(path), reason));
        return;
    }
    window_->settings().logFilePath = QFileInfo(path).absoluteFilePath();
}

void LogToFileAction::reportFailure(bool removed, const QString &reason)
{
    action_->setChecked(false);
    const QString why = removed ? tr("the file was removed or replaced") : reason;
    Boxes::error(window_, tr("Logging to %1 stopped: %2").arg(QDir::toNativeSeparators(file_->path()), why));
}
