#pragma once

// A private desktop for tests of what the window system and screen readers get: an X server (Xvfb,
// on a display number it picks itself), a D-Bus session bus and the accessibility bus on it. Create
// it in main() before the QApplication: it points DISPLAY, DBUS_SESSION_BUS_ADDRESS and the Qt
// platform (xcb, accessibility always on) at itself. Everything it starts ends with it, and with the
// test process should that die first.

#include <QString>
#include <QtGui/qwindowdefs.h>
#include <sys/types.h>
#include <vector>

class DesktopSession {
public:
    DesktopSession();
    ~DesktopSession();
    DesktopSession(const DesktopSession &) = delete;
    DesktopSession &operator=(const DesktopSession &) = delete;

    // Empty when windows reach an X server whose properties can be read; else what is missing.
    QString missingDisplay() const { return missingDisplay_; }
    // Empty when the accessibility bus runs as well; else what is missing.
    QString missingAccessibilityBus() const { return missingBus_; }

    // The title the X server holds for a top-level window (_NET_WM_NAME, what a window manager
    // shows); empty if it cannot be read.
    static QString windowTitle(WId window);

private:
    // Starts program with args in the session's process group; with a pipe on fd 3, returns the
    // first line the program writes there (empty on failure or after timeoutMs).
    pid_t start(const std::vector<QByteArray> &args, QByteArray *firstLine = nullptr, int timeoutMs = 10000);

    QString missingDisplay_;
    QString missingBus_;
    pid_t group_ = 0;
};
