#pragma once

// The main window talking to the module simulator over one link, for tests that drive the window
// like a user and check what the module received. Loopback addresses only.

#include "support/SimProcess.h"
#include "support/TestSupport.h"

#include <QByteArray>
#include <QStringList>
#include <memory>

class MainWindow;

class SimWindow {
public:
    static constexpr auto kModuleId = "12345678901";

    SimWindow() = default;
    SimWindow(const SimWindow &) = delete;
    SimWindow &operator=(const SimWindow &) = delete;

    // Starts qxsim (logging its traffic) and a shown main window on link 0 serial, 1 LAN or 2 relay,
    // in the language of Config.ini's CEO key; false with the reason in why when either cannot start.
    bool start(int link, const QStringList &simArgs = {}, const QByteArray &language = "EN",
               QString *why = nullptr);

    MainWindow &form() { return *form_; }
    BoxRecorder &boxes() { return *boxes_; }
    // Every command the module has received so far, in order, without CR LF ("AT+HEARTBEATT=?").
    QStringList commandsReceived();
    // The simulator's traffic log so far: one line per command received ("<-") or answer sent ("->").
    QList<QByteArray> trafficLines();

    // How many commands the window has sent since start, by its own count.
    int commandsSent() const { return sent_; }
    // Proof that the window sends nothing of its own accord: once every command it sent has had its
    // reply, its "AT" test button is pressed and the commands the module received before that "AT"
    // are returned (with a note at the end when the "AT" never came).
    QStringList commandsBeforeTestCommand();

private:
    int sent_ = 0;
    int replies_ = 0;
    QByteArray log_;
    // Declared in the order of start-up: the window goes first, the simulator last.
    std::unique_ptr<SimProcess> sim_;
    std::unique_ptr<BoxRecorder> boxes_;
    std::unique_ptr<WorkDir> dir_;
    std::unique_ptr<MainWindow> form_;
};
