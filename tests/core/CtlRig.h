#pragma once

// Runs the real qxctl and qxsim binaries (paths from QXCTL and QXSIM) for tests of the command-line
// tool, without any window code: a simulator process that reports where its links listen, and one
// qxctl run with its exit code and output.

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <functional>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

struct CtlRun {
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    qint64 peakRssKb = 0; // the child's own high-water mark of resident memory, read while it ran
};

// The peak resident memory of a running process so far (VmHWM), in KiB; 0 once it is gone.
inline qint64 peakResidentKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// How the child is started, for runs as another user: which qxctl binary, in which folder, and what
// the child does before it runs qxctl.
struct CtlChild {
    QString program; // QXCTL when empty
    QString workingDirectory;
    std::function<void()> setup;
};

// Runs qxctl with the English texts unless environment says otherwise. A run that outlives limitMs
// is killed and reported as not finished: a hang, never a speed limit.
inline CtlRun runCtl(const QStringList &arguments, const QByteArray &input = QByteArray(),
                     const QStringList &environment = {}, int limitMs = 60000, const CtlChild &child = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    for (const QString &entry : environment)
        env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    if (child.setup)
        process.setChildProcessModifier(child.setup);
    if (!child.workingDirectory.isEmpty())
        process.setWorkingDirectory(child.workingDirectory);
    CtlRun run;
    process.start(child.program.isEmpty() ? qEnvironmentVariable("QXCTL") : child.program, arguments);
    if (!process.waitForStarted(5000))
        return run;
    process.write(input);
    process.closeWriteChannel();
    // Polled while it runs: the high-water mark only grows, and it is gone with the process.
    const QDeadlineTimer limit(limitMs);
    do
        run.peakRssKb = std::max(run.peakRssKb, peakResidentKb(process.processId()));
    while (!(run.finished = process.waitForFinished(20)) && !limit.hasExpired());
    if (!run.finished) {
        process.kill();
        process.waitForFinished(3000);
    }
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// A TCP port on 127.0.0.1 that nothing listens on (at the moment of asking).
inline quint16 closedLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr *>(&address), length);
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
    ::close(fd); // bound but never listening, and now closed
    return ntohs(address.sin_port);
}

class SimRun {
public:
    SimRun() = default;
    ~SimRun() { stop(); }
    SimRun(const SimRun &) = delete;
    SimRun &operator=(const SimRun &) = delete;

    // Starts qxsim and waits for READY; false with the reason. With traffic, qxsim logs every command
    // and answer (read it with takeLog before it fills the pipe, or from logFile when one is given:
    // a file another thread may watch).
    bool start(const QStringList &arguments, QString *why, bool traffic = false, const QString &logFile = {})
    {
        const QString exe = qEnvironmentVariable("QXSIM");
        if (exe.isEmpty() || !QFile::exists(exe)) {
            *why = QStringLiteral("qxsim not found (QXSIM=%1)").arg(exe);
            return false;
        }
        if (!logFile.isEmpty())
            process_.setStandardErrorFile(logFile);
        const QStringList simArguments = traffic ? QStringList{QStringLiteral("-v")} + arguments : arguments;
        if (launcher_.isEmpty())
            process_.start(exe, simArguments);
        else
            process_.start(launcher_.constFirst(), launcher_.mid(1) + QStringList{exe} + simArguments);
        QByteArray out;
        const QDeadlineTimer deadline(10000);
        while (!out.contains("READY\n")) {
            if (deadline.hasExpired() || process_.state() == QProcess::NotRunning) {
                *why = QStringLiteral("qxsim did not get ready: ") +
                       QString::fromUtf8(process_.readAllStandardError());
                return false;
            }
            process_.waitForReadyRead(100);
            out += process_.readAllStandardOutput();
        }
        for (const QByteArray &line : out.split('\n')) {
            const QString value = QString::fromUtf8(line.mid(line.indexOf(' ') + 1).trimmed());
            if (line.startsWith("PTY "))
                pty_ = value;
            else if (line.startsWith("LAN "))
                lan_ = value;
            else if (line.startsWith("RELAY "))
                relay_ = value;
            else if (line.startsWith("UDP "))
                udp_ = value.section(QLatin1Char(':'), -1);
        }
        return true;
    }

    // Starts qxsim through this command: {"ip", "netns", "exec", NAME} runs it inside a namespace.
    void setLauncher(const QStringList &launcher) { launcher_ = launcher; }

    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    // Replaces {PTY}, {LAN}, {RELAY} and {UDP} with where this simulator listens.
    QStringList fill(const QStringList &arguments) const
    {
        QStringList filled;
        for (QString argument : arguments)
            filled << argument.replace(QLatin1String("{PTY}"), pty_)
                          .replace(QLatin1String("{LAN}"), lan_)
                          .replace(QLatin1String("{RELAY}"), relay_)
                          .replace(QLatin1String("{UDP}"), udp_);
        return filled;
    }

    // The traffic log since the last call.
    QByteArray takeLog()
    {
        process_.setReadChannel(QProcess::StandardError);
        while (process_.waitForReadyRead(100)) {
        }
        return process_.readAllStandardError();
    }
    QString ptyPath() const { return pty_; }
    qint64 pid() const { return process_.processId(); }

private:
    QProcess process_;
    QStringList launcher_;
    QString pty_;
    QString lan_;
    QString relay_;
    QString udp_;
};

// A module on a pseudo-terminal that answers every command line with the same bytes: for replies no
// simulator gives.
class PtyAnswerer {
public:
    explicit PtyAnswerer(const QByteArray &answer) : answer_(answer)
    {
        char name[256] = {};
        termios raw{};
        cfmakeraw(&raw);
        if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0)
            return;
        path_ = QString::fromLocal8Bit(name);
        thread_ = std::thread([this] { serve(); });
    }
    ~PtyAnswerer()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        if (master_ >= 0)
            ::close(master_);
        if (slave_ >= 0)
            ::close(slave_);
    }
    PtyAnswerer(const PtyAnswerer &) = delete;
    PtyAnswerer &operator=(const PtyAnswerer &) = delete;

    // Empty when no pseudo-terminal could be made.
    QString path() const { return path_; }

private:
    void serve()
    {
        QByteArray pending;
        while (!stop_) {
            pollfd waiting{master_, POLLIN, 0};
            if (::poll(&waiting, 1, 20) <= 0 || !(waiting.revents & POLLIN))
                continue;
            char buffer[512];
            const ssize_t got = ::read(master_, buffer, sizeof buffer);
            if (got <= 0)
                continue;
            pending.append(buffer, got);
            for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
                pending.remove(0, end + 1);
                if (::write(master_, answer_.constData(), size_t(answer_.size())) != answer_.size())
                    return;
            }
        }
    }

    QByteArray answer_;
    int master_ = -1;
    int slave_ = -1; // held open, so that the master side reads nothing but what qxctl writes
    QString path_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
