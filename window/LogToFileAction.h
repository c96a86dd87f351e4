#pragma once

// "记录日志到文件…" / "Log to file…" in the File menu: a checkable item that, while checked, keeps
// everything the console shows in a file the user picked. A write that fails turns it off and says
// why in a box; the console is left as it is.

#include <QObject>

class ConsoleFileLog;
class ConsoleLog;
class QAction;
class QMenu;
class MainWindow;

class LogToFileAction final : public QObject {
    Q_OBJECT

public:
    // Adds the item to menu, before the item before.
    LogToFileAction(MainWindow *window, ConsoleLog *console, QMenu *menu, QAction *before);

    QAction *action() const { return action_; }
    bool isLogging() const;

private:
    void toggle(bool on);
    void start();
    void reportFailure(bool removed, const QString &reason);

    MainWindow *window_;
    QAction *action_;
    ConsoleFileLog *file_;
};
