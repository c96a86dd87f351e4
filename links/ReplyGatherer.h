#pragma once

// Puts a serial reply together from the pieces the port delivers. The serial line has no framing, so
// a reply ends when nothing more has arrived for longer than the quiet time; pieces with shorter gaps
// are one reply, however long the burst lasts. Pieces are read when the port reports them, and the
// timer runs only while a reply is being gathered: an idle port costs no wake-ups.
//
// A parameter run knows every answer ends in CR LF and may switch on the line-end rule: a text reply
// that has reached its CR LF ends once nothing more came for the line-end grace, a few character
// times, instead of the quiet time. Bytes within the grace still join it, so an answer of several
// lines, which the module writes in one go, stays whole. A module reply frame, and text without a
// line end, still wait out the quiet time.
//
// A reply is shown while it comes: its first bytes at once, then what arrived since at least every
// kShowIntervalMs, and the rest just before it is handed on. Only its first kHeldBytes are kept for the
// reply handling (no module answer comes near that), so a stream that never pauses holds no more
// memory than that, however long it flows.

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
    static constexpr qsizetype kHeldBytes = 64 * 1024;
    static constexpr int kShowIntervalMs = 100;
    // The line-end grace in character times, and its floor: a USB adapter hands bytes on at its latency
    // timer (16 ms by default on the common ones), so one answer may come in pieces that far apart.
    static constexpr int kLineEndGraceChars = 4;
    static constexpr int kMinLineEndGraceMs = 20;

    // The grace for a line of this rate and character size (start, data, parity and stop bits); never
    // longer than the default quiet time.
    static int lineEndGraceMs(qint32 baudRate, int bitsPerCharacter);

    explicit ReplyGatherer(Source source, Clock clock = Clock(), QObject *parent = nullptr);

    void setQuietMs(int ms); // never below kMinQuietMs
    int quietMs() const { return quietMs_; }
    // 0 switches the line-end rule off: every reply waits out the quiet time.
    void setLineEndGraceMs(int ms);
    int lineEndGraceMs() const { return lineEndGraceMs_; }

    // Takes what the source holds into the reply being gathered; the port reports bytes by calling it.
    void readWaiting();
    // The timers' checks, public so that a test with its own clock can run them. Both read what waits
    // first, so that a piece that came at the last moment still extends the reply. The quiet check
    // delivers the reply if the quiet time has run out, or waits for the rest of it; the show check
    // shows what came since the reply was last shown.
    void checkQuiet();
    void checkShow();

    bool isGathering() const { return gathering_; }
    const QByteArray &pending() const { return held_; } // the part of the reply kept for its handling
    const QTimer *quietTimer() const { return timer_; }
    const QTimer *showTimer() const { return showTimer_; }

Q_SIGNALS:
    // Bytes of the reply being gathered that were not shown yet, in the order they came; first: they
    // begin a new reply.
    void replyGrew(const QByteArray &bytes, bool first);
    // The reply ended: its first kHeldBytes; cut when more came. Emitted once the gatherer is idle
    // again, so a handler may run a nested event loop.
    void replyComplete(const QByteArray &reply, bool cut);
    // The reply being gathered just grew past kHeldBytes; once a reply.
    void replyOverflowed();

private:
    void add(const QByteArray &piece);
    void showWaiting();
    void armTimer();
    // How long the reply held must have been quiet to end: the line-end grace or the quiet time.
    int closingMs() const;

    Source source_;
    Clock clock_;
    QTimer *timer_;
    QTimer *showTimer_; // runs while bytes wait to be shown
    QByteArray held_;
    QByteArray unshown_;
    bool gathering_ = false;
    bool cut_ = false;
    qint64 lastPieceMs_ = 0;
    qint64 unshownSinceMs_ = 0;
    int quietMs_ = kDefaultQuietMs;
    int lineEndGraceMs_ = 0;
};
