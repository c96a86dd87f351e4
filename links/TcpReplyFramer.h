#pragma once

// Where a reply on a TCP connection ends, for every front end. TCP keeps no message boundaries: a
// reply may come in several read events, and two replies in one. The rule:
// - a module reply frame (it begins A8 81) has no end mark of its own: it ends when the connection
//   has been quiet for longer than the quiet time after its last byte, however many segments it took;
// - a text reply ends at its CR LF, at once (waiting out the quiet time after every answer would
//   triple the time of a run on a fast link); text without one ends at the quiet time;
// - in data mode anything else is handed on per read event, as it came.
// A reply that passes kMaxReplyBytes is dropped, and so is everything after it until the quiet time
// passes.

#include <QByteArray>
#include <QObject>
#include <functional>

class QTimer;

class TcpReplyFramer final : public QObject {
    Q_OBJECT

public:
    // Milliseconds on a clock that never runs backwards; the default is the system's monotonic clock.
    using Clock = std::function<qint64()>;

    static constexpr int kQuietMs = 133;
    static constexpr qsizetype kMaxReplyBytes = 64 * 1024;

    explicit TcpReplyFramer(Clock clock = Clock(), QObject *parent = nullptr);

    // Data mode: the module passes data through, so only its reply frames are gathered.
    void setDataMode(bool on) { dataMode_ = on; }
    bool dataMode() const { return dataMode_; }

    // The bytes of one read event.
    void add(const QByteArray &bytes);
    // The quiet timer's check, public so that a test with its own clock can run it: hands on what is
    // held once the quiet time has been exceeded, or waits for the rest.
    void checkQuiet();
    // The connection ended: what is held is a reply.
    void flush();

    bool isHolding() const { return !held_.isEmpty() || dropping_; }
    const QTimer *quietTimer() const { return timer_; }

Q_SIGNALS:
    void replyReceived(const QByteArray &reply);
    // The reply in hand passed kMaxReplyBytes and was dropped; once a reply.
    void replyTooLong();

private:
    void deliver();
    void armTimer();

    Clock clock_;
    QTimer *timer_;
    QByteArray held_;
    qint64 lastPieceMs_ = 0;
    bool dataMode_ = false;
    bool dropping_ = false;
};
