#pragma once

// A command channel that opens its own link, for tools without a window: it reports every byte that
// crosses the link, so a user can watch the wire, and words its failures in the user's language.

#include "links/CommandChannel.h"

#include <QString>
#include <QTimer>

class OpenChannel : public CommandChannel {
    Q_OBJECT

public:
    explicit OpenChannel(QObject *parent = nullptr) : CommandChannel(parent) {}

    // Opens the link and waits until it can carry commands, at most timeoutMs. False with one line for
    // the user: what failed and, where there is one, what to do about it.
    virtual bool open(int timeoutMs, QString *reason) = 0;
    // Opens without waiting: opened follows from the event loop, so that a tool working on many links
    // is not held up by one slow link. A link that opens at once opens here and reports later.
    virtual void startOpen(int timeoutMs)
    {
        QString reason;
        const bool ok = open(timeoutMs, &reason);
        QTimer::singleShot(0, this, [this, ok, reason] { Q_EMIT opened(ok, reason); });
    }
    // Where the link goes, as the user named it: "/dev/ttyUSB0", "192.168.16.1:8888".
    virtual QString destination() const = 0;

Q_SIGNALS:
    // The outcome of startOpen: reason is one line for the user when !ok.
    void opened(bool ok, const QString &reason);
    void bytesSent(const QByteArray &bytes);
    void bytesReceived(const QByteArray &bytes);
};
