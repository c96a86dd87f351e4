#pragma once

// A command channel that opens its own link, for tools without a window: it reports every byte that
// crosses the link, so a user can watch the wire, and words its failures in the user's language.

#include "links/CommandChannel.h"

#include <QString>

class OpenChannel : public CommandChannel {
    Q_OBJECT

public:
    explicit OpenChannel(QObject *parent = nullptr) : CommandChannel(parent) {}

    // Opens the link and waits until it can carry commands, at most timeoutMs. False with one line for
    // the user: what failed and, where there is one, what to do about it.
    virtual bool open(int timeoutMs, QString *reason) = 0;
    // Where the link goes, as the user named it: "/dev/ttyUSB0", "192.168.16.1:8888".
    virtual QString destination() const = 0;

Q_SIGNALS:
    void bytesSent(const QByteArray &bytes);
    void bytesReceived(const QByteArray &bytes);
};
