#pragma once

// Puts a serial reply together from the pieces the port delivers. The serial line has no framing, so
// a reply ends when nothing more has arrived for longer than the quiet time; pieces with shorter gaps
// are one reply, however long the burst lasts. Pieces are read when the port reports them, and the
// quiet-time timer runs only while a reply is being gathered: an idle port costs no wake-ups.

#include <QByteArray>
#include <QObject>
#include <functional>

class QTimer;

class ReplyGatherer final : public QObject {
    Q_OBJECT

public:
    // Milliseconds on a clock that never runs backwards; the default is the system's monotonic clock.
    using Clock = std::function<qint64()>;
    // Everything the port holds now, 00 bytes included; empty when nothing waits.
    using Source = std::function<QByteArray()>;

    static constexpr int kMinQuietMs = 100;
    static constexpr int kDefaultQuietMs = 133;

    explicit ReplyGatherer(Source source, Clock clock = Clock(), QObject *parent = nullptr);

    void setQuietMs(int ms); // never below kMinQuietMs
    int quietMs() const { return quietMs_; }

    // Takes what the source holds into the reply being gathered; the port reports bytes by calling it.
    void readWaiting();
    // The quiet timer's check, public so that a test with its own clock can run it: reads what waits
    // first, so that a piece that came at the last moment still extends the reply; then delivers the
    // reply if the quiet time has run out, or waits for the rest of it.
    void checkQuiet();

    bool isGathering() const { return !pending_.isEmpty(); }
    const QByteArray &pending() const { return pending_; }
    const QTimer *quietTimer() const { return quietTimer_; }

Q_SIGNALS:
    // Emitted once the gatherer is idle again, so a handler may run a nested event loop.
    void replyComplete(const QByteArray &reply);

private:
    void add(const QByteArray &piece);
    void armQuietTimer();

    Source source_;
    Clock clock_;
    QTimer *quietTimer_;
    QByteArray pending_;
    qint64 lastPieceMs_ = 0;
    int quietMs_ = kDefaultQuietMs;
};
