#include "links/TcpReplyFramer.h"

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

TcpReplyFramer::TcpReplyFramer(Clock clock, QObject *parent)
    : QObject(parent), clock_(clock ? std::move(clock) : Clock(monotonicMs)), timer_(new QTimer(this))
{
    timer_->setObjectName(QStringLiteral("quietTimer"));
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &TcpReplyFramer::checkQuiet);
}

void TcpReplyFramer::add(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    lastPieceMs_ = clock_();
    if (dropping_) {
        armTimer();
        return;
    }
    held_ += bytes;
    if (held_.size() > kMaxReplyBytes) {
        held_.clear();
        dropping_ = true;
        armTimer();
        Q_EMIT replyTooLong();
        return;
    }
    if (!MayBeReplyFrame(held_) && (dataMode_ || held_.endsWith("\r\n")))
        deliver();
    else
        armTimer();
}

void TcpReplyFramer::checkQuiet()
{
    if (!isHolding())
        return;
    if (clock_() - lastPieceMs_ <= kQuietMs) {
        armTimer();
        return;
    }
    dropping_ = false; // quiet at last: what comes next is a reply again
    deliver();
}

void TcpReplyFramer::flush()
{
    dropping_ = false;
    deliver();
}

void TcpReplyFramer::deliver()
{
    timer_->stop();
    if (held_.isEmpty())
        return;
    QByteArray reply;
    reply.swap(held_);
    Q_EMIT replyReceived(reply);
}

void TcpReplyFramer::armTimer()
{
    // Due at the first millisecond at which the quiet time has been exceeded, not merely reached.
    const qint64 due = lastPieceMs_ + kQuietMs + 1 - clock_();
    timer_->start(static_cast<int>(std::clamp<qint64>(due, 0, kQuietMs + 1)));
}
