#include "links/ParameterRun.h"

#include "protocol/ParameterReading.h"
#include "protocol/SetValue.h"

#include <QCoreApplication>
#include <QTimer>

namespace {
QString refusedText(const QString &detail)
{
    return QCoreApplication::translate("ParameterRun", "refused: %1").arg(detail);
}

QString readBackFailedText(const QString &detail)
{
    return QCoreApplication::translate("ParameterRun", "written, but the read-back failed: %1").arg(detail);
}

RowOutcome outcomeFor(const ParameterRow *row)
{
    RowOutcome outcome;
    outcome.row = row;
    return outcome;
}
} // namespace

ParameterRun::ParameterRun(CommandChannel *channel, QObject *parent)
    : QObject(parent), channel_(channel), timeout_(new QTimer(this))
{
    timeout_->setSingleShot(true);
    connect(timeout_, &QTimer::timeout, this, &ParameterRun::onTimeout);
    connect(channel, &CommandChannel::replyReceived, this, &ParameterRun::onReply);
    connect(channel, &CommandChannel::replyTooLong, this, &ParameterRun::onReplyTooLong);
    connect(channel, &CommandChannel::linkLost, this, &ParameterRun::onLinkLost);
}

ParameterRun::~ParameterRun()
{
    if (running_ && channel_)
        channel_->setLineEndReplies(false);
}

void ParameterRun::begin()
{
    running_ = true;
    current_ = -1;
    // The run's replies end at their line end; the link's other users keep their framing after it.
    channel_->setLineEndReplies(true);
    next();
}

void ParameterRun::startRead(const QList<const ParameterRow *> &rows)
{
    outcomes_.clear();
    if (rows.isEmpty()) {
        for (const ParameterRow &row : ParameterCatalogue())
            outcomes_ << outcomeFor(&row);
    } else {
        for (const ParameterRow *row : rows)
            outcomes_ << outcomeFor(row);
    }
    applying_ = false;
    begin();
}

void ParameterRun::startApply(const Profile &profile, const ModuleValues &known, bool writeAll, bool verify)
{
    outcomes_.clear();
    for (const ParameterRow &row : ParameterCatalogue()) {
        const ProfileLine *line = profile.find(&row);
        if (!line)
            continue;
        RowOutcome outcome = outcomeFor(&row);
        outcome.profileValue = line->value;
        const auto value = known.constFind(row.atName);
        if (value != known.constEnd())
            outcome.moduleValue = *value;
        outcomes_ << outcome;
    }
    applying_ = true;
    writeAll_ = writeAll;
    verify_ = verify;
    begin();
}

void ParameterRun::cancel()
{
    if (running_)
        finish(false, QStringLiteral("cancelled"));
}

ModuleValues ParameterRun::moduleValues() const
{
    ModuleValues values;
    for (const RowOutcome &outcome : outcomes_) {
        if (outcome.moduleValue)
            values.insert(outcome.row->atName, *outcome.moduleValue);
    }
    return values;
}

void ParameterRun::next()
{
    while (running_) {
        if (++current_ >= outcomes_.size()) {
            finish(true, QString());
            return;
        }
        RowOutcome &outcome = outcomes_[current_];
        if (!applying_ || (!writeAll_ && !outcome.moduleValue)) {
            step_ = Step::Read;
        } else if (!writeAll_ && outcome.moduleValue == outcome.profileValue) {
            outcome.state = RowOutcome::State::Same;
            Q_EMIT rowFinished(current_);
            continue;
        } else {
            step_ = Step::Write;
        }
        sendStep();
        return;
    }
}

void ParameterRun::sendStep()
{
    if (lateReplyPossible_) {
        // The module may still answer the command that timed out. Whatever comes in the next time-out
        // is dropped, so a late answer is never read as the answer to the next command.
        lateReplyPossible_ = false;
        const int run = generation_;
        QTimer::singleShot(timeoutMs_, this, [this, run] {
            if (running_ && run == generation_)
                sendStep();
        });
        return;
    }
    const RowOutcome &outcome = outcomes_.at(current_);
    const bool writing = step_ == Step::Write;
    const BuiltCommand command =
        writing ? SetCommand(*outcome.row, outcome.profileValue) : ReadCommand(*outcome.row);
    Q_EMIT stepStarted(current_, writing);
    if (!running_)
        return; // cancelled by a receiver of stepStarted
    awaiting_ = true;
    timeout_->start(timeoutMs_);
    if (!channel_->sendCommand(command) && running_ && awaiting_) {
        awaiting_ = false;
        timeout_->stop();
        handle(std::nullopt, QCoreApplication::translate("ParameterRun", "not sent"));
    }
}

void ParameterRun::onReply(const QByteArray &reply)
{
    if (!running_ || !awaiting_)
        return; // a reply after its time-out, or not ours
    awaiting_ = false;
    timeout_->stop();
    // Handled once the channel's own handlers are done with the reply: the next command changes what
    // the window reads its replies by.
    const int run = generation_;
    QTimer::singleShot(0, this, [this, reply, run] {
        if (running_ && run == generation_)
            handle(reply, {});
    });
}

void ParameterRun::onTimeout()
{
    if (!running_ || !awaiting_)
        return;
    awaiting_ = false;
    lateReplyPossible_ = true;
    handle(std::nullopt,
           QCoreApplication::translate("ParameterRun", "no reply within %1 ms").arg(timeoutMs_));
}

void ParameterRun::onReplyTooLong()
{
    if (!running_ || !awaiting_)
        return;
    awaiting_ = false;
    timeout_->stop();
    // The rest of the flood may follow: it is dropped like a late reply.
    lateReplyPossible_ = true;
    handle(std::nullopt, QCoreApplication::translate("ParameterRun", "reply too long (over 64 KiB)"));
}

void ParameterRun::onLinkLost(const QString &reason)
{
    if (!running_)
        return;
    RowOutcome &outcome = outcomes_[current_];
    if (outcome.state == RowOutcome::State::Waiting) {
        outcome.state = applying_ ? RowOutcome::State::Failed : RowOutcome::State::NotRead;
        outcome.detail = reason; // the channel words it in the user's language
        Q_EMIT rowFinished(current_);
    }
    finish(false, reason);
}

void ParameterRun::handle(const std::optional<QByteArray> &reply, const QString &noReply)
{
    RowOutcome &outcome = outcomes_[current_];
    switch (step_) {
    case Step::Read: {
        if (reply) {
            const RowReading reading = TakeReadReply(*outcome.row, *reply, fields_);
            if (reading.result == RowReading::Result::Read) {
                outcome.moduleValue = reading.value;
                outcome.state = RowOutcome::State::Read;
            } else {
                outcome.state = RowOutcome::State::NotRead;
                outcome.unsendable = reading.result == RowReading::Result::NotSendable;
                outcome.detail = reading.result == RowReading::Result::Refused ? refusedText(reading.detail)
                                                                               : reading.detail;
            }
        } else {
            outcome.state = RowOutcome::State::NotRead;
            outcome.detail = noReply;
        }
        if (applying_) {
            // An unreadable row is written all the same: the profile says what it must hold.
            if (outcome.moduleValue != outcome.profileValue || writeAll_) {
                outcome.state = RowOutcome::State::Waiting;
                outcome.detail = {};
                step_ = Step::Write;
                sendStep();
                return;
            }
            outcome.state = RowOutcome::State::Same;
        }
        break;
    }
    case Step::Write:
        if (!reply) {
            outcome.state = RowOutcome::State::Failed;
            outcome.detail = noReply;
            break;
        }
        switch (JudgeSetReply(*outcome.row, *reply)) {
        case SetVerdict::Accepted:
            if (verify_) {
                step_ = Step::Verify;
                sendStep();
                return;
            }
            outcome.state = RowOutcome::State::Written;
            break;
        case SetVerdict::Refused:
            outcome.state = RowOutcome::State::Failed;
            outcome.detail = refusedText(ReplyForReport(*reply));
            break;
        case SetVerdict::Unclear:
            outcome.state = RowOutcome::State::Failed;
            outcome.detail =
                QCoreApplication::translate("ParameterRun", "unclear reply: %1").arg(ReplyForReport(*reply));
            break;
        }
        break;
    case Step::Verify: {
        outcome.state = RowOutcome::State::Failed;
        if (!reply) {
            outcome.detail = readBackFailedText(noReply);
            break;
        }
        const RowReading reading = TakeReadReply(*outcome.row, *reply, fields_);
        if (reading.result == RowReading::Result::Read && reading.value == outcome.profileValue)
            outcome.state = RowOutcome::State::Verified;
        else if (reading.result == RowReading::Result::Read)
            outcome.detail =
                QCoreApplication::translate("ParameterRun", "written, but read back %1").arg(reading.value);
        else
            outcome.detail = readBackFailedText(reading.detail);
        break;
    }
    }
    Q_EMIT rowFinished(current_);
    next();
}

void ParameterRun::finish(bool completed, const QString &reason)
{
    running_ = false;
    lateReplyPossible_ = false;
    ++generation_;
    awaiting_ = false;
    timeout_->stop();
    if (channel_)
        channel_->setLineEndReplies(false);
    Q_EMIT finished(completed, reason);
}
