#pragma once

// "读取全部" / "Read all": reads every catalogue row over the active link, one command at a time, with
// a progress bar naming the parameter under way and a Cancel button. The fields fill as the replies
// arrive, through the window's own parser; at the end one console line tells how many were read and
// which were not. While it runs, the controls that send are disabled, so that no other command comes
// between a query and its reply.
//
// It also remembers what the module holds: the values of the last read-all, and what later runs
// (a profile applied or compared) learned, for the module the active link reached then. A set or an
// operation sent by a button since makes what it touches unknown again.

#include "protocol/Profile.h"

#include <QWidget>

class ParameterRun;
class QLabel;
class QProgressBar;
class QPushButton;
class MainWindow;
class WindowChannel;

class ReadAllControl final : public QWidget {
    Q_OBJECT

public:
    ReadAllControl(MainWindow *window, WindowChannel *channel, QWidget *parent);

    void start();
    void cancel();
    bool isRunning() const;
    ParameterRun *run() const { return run_; }

    // What this session knows of the module the active link reaches now; empty once the link, the
    // port or the target has changed since the values were learned.
    ModuleValues knownValues() const;
    void learn(const ModuleValues &values);
    void forget(const QString &atName);

Q_SIGNALS:
    void runningChanged(bool running);

private:
    void showStep(int index);
    void finishRun(bool completed, const QString &reason);
    void setRunning(bool running);
    void noteButtonCommand(int typeCode);

    MainWindow *window_;
    ParameterRun *run_;
    QPushButton *readAllButton_ = nullptr;
    QProgressBar *progress_ = nullptr;
    QLabel *stepLabel_ = nullptr;
    QPushButton *cancelButton_ = nullptr;
    bool cancelled_ = false;
    ModuleValues known_;
    QString knownModule_;
};
