#pragma once

// One command out, whole replies back, over whatever link the owner opened. The parameter runs talk
// to the module through it: the window lends its open link, the command-line tool opens its own.

#include "protocol/CommandBuilder.h"

#include <QObject>

class CommandChannel : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // No module answer comes near this; a longer one is a flood or a wrong peer, and is not held.
    static constexpr int kMaxReplyBytes = 64 * 1024;

    // Sends one command as BuildCommand made it; the channel wraps it for its link (LAN prefix, relay
    // frame). False when the bytes could not leave; the channel has said why with linkLost when the
    // link is gone.
    virtual bool sendCommand(const BuiltCommand &command) = 0;
    // On while a parameter run holds the channel: every reply it waits for is a text answer ending in
    // CR LF or a module reply frame, so a text answer may be handed on soon after its line end instead
    // of after the quiet time. A link whose replies end there anyway (TCP) has nothing to switch.
    virtual void setLineEndReplies(bool on) { Q_UNUSED(on) }

Q_SIGNALS:
    // One whole reply, gathered by the link's rule.
    void replyReceived(const QByteArray &reply);
    // The reply to the command in hand passed kMaxReplyBytes: the channel dropped it and drops what
    // follows until the link has been quiet for the quiet time.
    void replyTooLong();
    // The link is gone (port removed, connection closed); reason is one line for the user.
    void linkLost(const QString &reason);
};
