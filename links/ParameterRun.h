#pragma once

// Goes through parameter rows one command at a time over a CommandChannel: each command waits for its
// reply or its time-out before the next goes out. Reading fills a FieldModel and records each row's
// value; applying a profile writes the rows that differ (or all), and reads each written row back.
// A row that fails does not stop the run; a lost link or cancel() does.

#include "links/CommandChannel.h"
#include "protocol/FieldModel.h"
#include "protocol/Profile.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <optional>

class QTimer;

struct RowOutcome {
    enum class State {
        Waiting,  // not reached (yet)
        Read,     // moduleValue holds the value
        NotRead,  // the query failed; detail says how
        Same,     // apply: the module already holds the profile's value; nothing written
        Written,  // apply: accepted, not read back
        Verified, // apply: accepted and read back equal
        Failed,   // apply: refused, no reply, or read back different; detail says how
    };

    const ParameterRow *row = nullptr;
    State state = State::Waiting;
    std::optional<QString> moduleValue; // as read before anything was written
    QString profileValue;               // apply only
    bool unsendable = false;            // NotRead: the module answered, but a set would refuse the value
    QString detail; // one line in the installed catalogue's language; the reply where there was one
};

class ParameterRun final : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefaultTimeoutMs = 2000;

    explicit ParameterRun(CommandChannel *channel, QObject *parent = nullptr);
    ~ParameterRun() override;

    void setTimeoutMs(int ms) { timeoutMs_ = ms; }
    int timeoutMs() const { return timeoutMs_; }

    // Reads the rows in catalogue order; every row when rows is empty.
    void startRead(const QList<const ParameterRow *> &rows = {});
    // Applies a valid profile: rows whose module value is unknown in known are read first, rows that
    // hold the profile's value already are left alone unless writeAll, written rows are read back
    // unless !verify.
    void startApply(const Profile &profile, const ModuleValues &known, bool writeAll, bool verify);
    void cancel();

    bool isRunning() const { return running_; }
    const QList<RowOutcome> &outcomes() const { return outcomes_; }
    const FieldModel &fields() const { return fields_; }
    // The values read so far, by AT name: what a profile of this module holds.
    ModuleValues moduleValues() const;

Q_SIGNALS:
    // A command for outcome index goes out; reading: the query, writing: the set command.
    void stepStarted(int index, bool writing);
    void rowFinished(int index);
    // completed: every row was reached; false after cancel() or a lost link (reason says which).
    void finished(bool completed, const QString &reason);

private:
    enum class Step { Read, Write, Verify };

    void next();
    void sendStep();
    void onReply(const QByteArray &reply);
    void onTimeout();
    void onReplyTooLong();
    void onLinkLost(const QString &reason);
    // noReply: why there is no reply, when there is none.
    void handle(const std::optional<QByteArray> &reply, const QString &noReply);
    void finish(bool completed, const QString &reason);
    void begin();

    // Guarded: a window may be torn down with its channel before a run it owns.
    QPointer<CommandChannel> channel_;
    QTimer *timeout_;
    int timeoutMs_ = kDefaultTimeoutMs;
    FieldModel fields_;
    QList<RowOutcome> outcomes_;
    bool applying_ = false;
    bool writeAll_ = false;
    bool verify_ = true;
    bool running_ = false;
    bool awaiting_ = false;          // a command is out and its reply not yet in
    bool lateReplyPossible_ = false; // the last command timed out, or its reply was too long
    int generation_ = 0;             // runs ended so far: a pending send of an ended run is dropped
    int current_ = -1;
    Step step_ = Step::Read;
};
