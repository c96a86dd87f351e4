#include "links/ReplyGatherer.h"

#include "links/ReplyShape.h"

#include <QTimer>
#include <algorithm>
#include <chrono>

namespace {
qint64 monotonicMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

ReplyGatherer::ReplyGatherer(Source source, Clock clock, QObject *parent)
    : QObject(parent), source_(std::move(source)), clock_(clock ? std::move(clock) : Clock(monotonicMs)),
      timer_(new QTimer(this)), showTimer_(new QTimer(this))
{
    timer_->setObjectName(QStringLiteral("quietTimer"));
    timer_->setSingleShot(true);
    // A coarse timer may fire 5 % late; the reply is due within a few milliseconds of the quiet time.
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &ReplyGatherer::checkQuiet);
    showTimer_->setObjectName(QStringLiteral("showTimer"));
    showTimer_->setSingleShot(true);
    showTimer_->setInterval(kShowIntervalMs);
    connect(showTimer_, &QTimer::timeout, this, &ReplyGatherer::checkShow);
}

void ReplyGatherer::setQuietMs(int ms)
{
    quietMs_ = std::max(ms, kMinQuietMs);
}

int ReplyGatherer::lineEndGraceMs(qint32 baudRate, int bitsPerCharacter)
{
    const qint64 characterTimes = qint64(kLineEndGraceChars) * bitsPerCharacter * 1000;
    const qint64 ms = (characterTimes + std::max<qint32>(baudRate, 1) - 1) / std::max<qint32>(baudRate, 1);
    return static_cast<int>(std::clamp<qint64>(ms, kMinLineEndGraceMs, kDefaultQuietMs));
}

void ReplyGatherer::setLineEndGraceMs(int ms)
{
    lineEndGraceMs_ = std::max(ms, 0);
    if (timer_->isActive())
        armTimer(); // a reply in hand ends by the rule now in force
}

int ReplyGatherer::closingMs() const
{
    const bool lineEnded = lineEndGraceMs_ > 0 && !cut_ && EndsAtLineEnd(held_);
    return lineEnded ? std::min(lineEndGraceMs_, quietMs_) : quietMs_;
}

void ReplyGatherer::readWaiting()
{
    add(source_());
}

void ReplyGatherer::checkQuiet()
{
    readWaiting();
    if (!gathering_)
        return;
    if (clock_() - lastPieceMs_ <= closingMs()) {
        armTimer();
        return;
    }
    showWaiting();
    QByteArray reply;
    reply.swap(held_);
    const bool cut = cut_;
    gathering_ = false;
    cut_ = false;
    timer_->stop();
    Q_EMIT replyComplete(reply, cut);
}

void ReplyGatherer::add(const QByteArray &piece)
{
    if (piece.isEmpty())
        return;
    const qint64 now = clock_();
    const bool first = !gathering_;
    gathering_ = true;
    lastPieceMs_ = now;
    const qsizetype room = kHeldBytes - held_.size();
    held_ += piece.left(room);
    const bool overflowsNow = piece.size() > room && !cut_;
    cut_ = cut_ || overflowsNow;
    if (first) {
        Q_EMIT replyGrew(piece, true);
    } else {
        if (unshown_.isEmpty()) {
            unshownSinceMs_ = now;
            showTimer_->start();
        }
        unshown_ += piece;
        if (now - unshownSinceMs_ >= kShowIntervalMs)
            showWaiting();
    }
    if (overflowsNow)
        Q_EMIT replyOverflowed();
    // A running timer is left alone: when it fires early for the latest piece, it waits again. A piece
    // that ends a line shortens the wait to the grace.
    if (!timer_->isActive() || closingMs() < quietMs_)
        armTimer();
}

void ReplyGatherer::checkShow()
{
    readWaiting();
    showWaiting();
}

void ReplyGatherer::showWaiting()
{
    showTimer_->stop();
    if (unshown_.isEmpty())
        return;
    QByteArray bytes;
    bytes.swap(unshown_);
    Q_EMIT replyGrew(bytes, false);
}

void ReplyGatherer::armTimer()
{
    // Due at the first millisecond at which the closing time has been exceeded, not merely reached.
    const int closing = closingMs();
    const qint64 due = lastPieceMs_ + closing + 1 - clock_();
    timer_->start(static_cast<int>(std::clamp<qint64>(due, 0, closing + 1)));
}
