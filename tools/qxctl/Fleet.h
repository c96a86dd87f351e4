#pragma once

// read, apply and diff on many modules at once: every link the options name, and with --discovered every
// module that answers discovery, each opened, worked on by one ParameterRun and closed again, at most
// --jobs at a time, all in the one event loop. Every line about a module starts with its link's name.

#include "LinkSession.h"
#include "links/ParameterRun.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QObject>
#include <QSet>
#include <functional>
#include <optional>

// What one module's part came to.
struct ModuleResult {
    const LinkChoice &link;
    const ParameterRun *run; // null when the link did not open
    QString linkError;       // why the link failed or was lost before every row was reached
};

class Fleet final : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefaultJobs = 16;

    struct Work {
        std::function<void(ParameterRun &)> begin;       // starts the run on a module's open link
        std::function<int(const ModuleResult &)> report; // prints the module's lines; its exit code
    };

    // The fleet options (--discovered, --address, --port, --jobs), for read, apply and diff.
    static void addOptions(QCommandLineParser &parser);
    // True when the options ask for more than one module's run: several links, discovery, --jobs, or
    // output only a fleet gives (oneObjectPerModule: --json of apply and diff, --out of read).
    static bool wanted(const QCommandLineParser &parser, bool oneObjectPerModule);

    // The links and fleet options; the exit code after a usage error was printed.
    std::optional<int> configure(const QString &subcommand, const QCommandLineParser &parser);
    // Works on every module; the worst of their exit codes (2 when discovery failed or found none).
    int run(const Work &work);

private:
    void add(const LinkChoice &link);
    bool discover(QString *error);
    void startNext();
    void finish(QObject *job, const ModuleResult &result);
    void endIfDone();

    QList<LinkChoice> queue_;
    QSet<QString> seen_;
    Work work_;
    QEventLoop loop_;
    bool discovered_ = false;
    QString address_;
    int discoveryPort_ = 0;
    int lanTimeoutMs_ = LinkSession::kLanTimeoutMs;
    int jobs_ = kDefaultJobs;
    bool verbose_ = false;
    bool working_ = false;
    bool listening_ = false;
    bool ended_ = false;
    int answers_ = 0;
    int running_ = 0;
    int counts_[3] = {}; // modules by exit code
    int exitCode_ = 0;
};

// The fleet side of read, apply and diff: the arguments are parsed, the rest is checked here.
int ReadFleet(const QCommandLineParser &parser, QList<const ParameterRow *> rows);
int ApplyFleet(const QCommandLineParser &parser);
int DiffFleet(const QCommandLineParser &parser);
