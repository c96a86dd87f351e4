#pragma once

// The window's active link as a command channel: commands go out through the window's own dispatch,
// so the console lines, the status texts and the pending type code are those of the row's buttons, and every
// reply the window parses comes back, whichever link brought it.

#include "links/CommandChannel.h"

class MainWindow;

class WindowChannel final : public CommandChannel {
    Q_OBJECT

public:
    explicit WindowChannel(MainWindow *window);

    // A read empties the row's fields first, as its read button does. A command that cannot leave
    // ends the run with linkLost: the next one would fail the same way, with the same box.
    bool sendCommand(const BuiltCommand &command) override;
    // The window's serial replies; its TCP replies end at their line end anyway.
    void setLineEndReplies(bool on) override;

Q_SIGNALS:
    // A command went out through the window's dispatch that no run sent: a button's.
    void otherCommandSent(int typeCode);

private:
    MainWindow *window_;
    bool sending_ = false;
};
