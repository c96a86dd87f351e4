#include "links/ReplyGatherer.h"

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
      quietTimer_(new QTimer(this))
{
    quietTimer_->setObjectName(QStringLiteral("quietTimer"));
    quietTimer_->setSingleShot(true);
    // A coarse timer may fire 5 % late; the reply is due within a few milliseconds of the quiet time.
    quietTimer_->setTimerType(Qt::PreciseTimer);
    connect(quietTimer_, &QTimer::timeout, this, &ReplyGatherer::checkQuiet);
}

void ReplyGatherer::setQuietMs(int ms)
{
    quietMs_ = std::max(ms, kMinQuietMs);
}

void ReplyGatherer::readWaiting()
{
    add(source_());
}

void ReplyGatherer::checkQuiet()
{
    readWaiting();
    if (pending_.isEmpty())
        return;
    if (clock_() - lastPieceMs_ <= quietMs_) {
        armQuietTimer();
        return;
    }
    QByteArray reply;
    reply.swap(pending_);
    quietTimer_->stop();
    Q_EMIT replyComplete(reply);
}

void ReplyGatherer::add(const QByteArray &piece)
{
    if (piece.isEmpty())
        return;
    pending_ += piece;
    lastPieceMs_ = clock_();
    // A running timer is left alone: when it fires early for the latest piece, it waits again.
    if (!quietTimer_->isActive())
        armQuietTimer();
}

void ReplyGatherer::armQuietTimer()
{
    // Due at the first millisecond at which the quiet time has been exceeded, not merely reached.
    const qint64 due = lastPieceMs_ + quietMs_ + 1 - clock_();
    quietTimer_->start(static_cast<int>(std::clamp<qint64>(due, 0, quietMs_ + 1)));
}
