// Load and latency on the links, measured inside the real main window (shown, on whatever platform
// QT_QPA_PLATFORM names; bench/run.sh uses Xvfb):
//   burst          1 MiB written to the serial port at once
//   stream         10 s at 921600 baud (92160 bytes/s) on the serial port
//   flood          1 MiB from the LAN peer, which then closes
//   latency-serial 100 work-mode reads against qxsim on a pseudo-terminal, press to field filled
//   latency-tcp    the same on the LAN link; both also print how much of it went into the press itself
//                  and into repainting the window before the reply was handled
// Each prints time to process, the longest stall of the event loop, CPU of this process (the writers
// are child processes) and resident memory. Usage: qxbench_links [case...] (default: all).

#include "links/ReplyGatherer.h"
#include "links/TcpConnection.h"
#include "support/SimProcess.h"
#include "support/StallWatch.h"
#include "support/TestSupport.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <arpa/inet.h>
#include <cstdio>
#include <functional>
#include <netinet/in.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr qsizetype kMiB = 1024 * 1024;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A /proc/self/status figure in KiB (VmRSS, VmHWM).
long statusKiB(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qsizetype(strlen(key)) + 1).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Resets the peak so that VmHWM shows this case's peak, not start-up's.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    // An idle window has no timer of its own to wake the loop: this one ends the wait at the latest.
    QTimer deadline;
    deadline.start(std::max(timeoutMs, 1));
    while (!done()) {
        if (clock.elapsed() >= timeoutMs)
            return false;
        // Sleeps until something happens (the stall watch ticks every 5 ms): no busy loop to inflate CPU.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

struct Load {
    double seconds;    // first byte written to everything processed
    qint64 stallMs;    // longest event-loop stall
    double cpuPercent; // of one core, over `seconds`
    long rssBeforeKiB;
    long peakKiB;
    double firstShownMs = -1; // serial: from the first byte written to the console showing it
    double worstLagMs = -1;   // serial stream: longest a written byte waited to be shown
};

void printLoad(const char *name, const Load &load)
{
    std::printf("%-8s processed in %.3f s, longest stall %lld ms, CPU %.1f %% of a core, RSS %.1f MiB, "
                "peak %.1f MiB (growth %.1f MiB)\n",
                name, load.seconds, static_cast<long long>(load.stallMs), load.cpuPercent,
                load.rssBeforeKiB / 1024.0, load.peakKiB / 1024.0,
                (load.peakKiB - load.rssBeforeKiB) / 1024.0);
    if (load.firstShownMs >= 0)
        std::printf(
            "%-8s   first bytes shown after %.1f ms, the longest any byte waited to be shown %.1f ms\n", name,
            load.firstShownMs, load.worstLagMs);
    std::fflush(stdout);
}

// A raw pseudo-terminal; the window opens the slave as COM1, a child process writes the master.
struct RawPty {
    int master = -1;
    int slave = -1;
    QString path;
    RawPty()
    {
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
            return;
        termios raw{};
        tcgetattr(slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave, TCSANOW, &raw);
        path = QString::fromLocal8Bit(name);
    }
    ~RawPty()
    {
        ::close(master);
        ::close(slave);
    }
};

// Writes bytes to fd from a child process: at once, or paced to bytesPerSecond in 10 ms slices.
pid_t writeFromChild(int fd, const QByteArray &bytes, int bytesPerSecond)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    qsizetype done = 0;
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    while (done < bytes.size()) {
        qsizetype due = bytes.size();
        if (bytesPerSecond > 0) {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            const double elapsed =
                double(now.tv_sec - start.tv_sec) + double(now.tv_nsec - start.tv_nsec) / 1e9;
            due = std::min(bytes.size(), qsizetype(elapsed * bytesPerSecond) + 1);
        }
        if (due > done) {
            const ssize_t n = ::write(fd, bytes.constData() + done, size_t(due - done));
            if (n < 0)
                _exit(1);
            done += n;
        } else {
            usleep(10000);
        }
    }
    _exit(0);
}

// Printable 64-byte lines, as a device that logs would send them (the same data bench/procload.py uses).
QByteArray lines(qsizetype size)
{
    QByteArray bytes;
    bytes.reserve(size + 64);
    for (int i = 0; bytes.size() < size; ++i)
        bytes += QByteArray::number(i).rightJustified(8, '0') +
                 " the quick brown fox jumps over the lazy dog 0123456789ABCD\n";
    bytes.truncate(size);
    return bytes;
}

QByteArray configFor(const QString &com1, int linkType, int tcpPort)
{
    return WorkDir::testConfig(com1,
                               "[Ver]\r\nCEO=EN\r\n[Network]\r\nCOMType=" + QByteArray::number(linkType) +
                                   "\r\nTCPPort=" + QByteArray::number(tcpPort) + "\r\n");
}

// Serial load: processed when the writer is done, nothing waits in the receive buffer and the parser has
// set its status text.
Load serialLoad(const QByteArray &data, int bytesPerSecond)
{
    RawPty pty;
    WorkDir dir(configFor(pty.path, 0, 1));
    MainWindow form(nullptr, WindowStart{QString(), 0, QStringLiteral("/nonexistent/qxbench-ttyS%1")});
    form.show();
    waitUntil([] { return false; }, 500); // settle after start-up
    form.session().cmdType = 1;           // "AT": the data only passes through the parser
    form.setStatusPanel(2, QString());
    const long rssBefore = statusKiB("VmRSS:");
    resetPeak();
    StallWatch watch(5);
    const double cpu0 = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    // Shown: the console's receive line as it opens and grows (data of plain lines: a byte a character).
    double firstShownMs = -1;
    double worstLagMs = 0;
    qint64 shown = -qsizetype(sizeof("COM Receive:") - 1);
    const auto onShown = [&](int, const QString &text) {
        const double ms = clock.nsecsElapsed() / 1e6;
        if (firstShownMs < 0)
            firstShownMs = ms;
        // The writer keeps to its rate: byte n left n / rate seconds after the start. The oldest byte of
        // this piece is the one after those shown before.
        if (bytesPerSecond > 0)
            worstLagMs =
                std::max(worstLagMs, ms - 1000.0 * double(std::max<qint64>(shown, 0)) / bytesPerSecond);
        shown += text.size();
    };
    QObject::connect(form.console(), &ConsoleLog::lineOpened, &form, onShown);
    QObject::connect(form.console(), &ConsoleLog::lineGrew, &form, onShown);
    const pid_t writer = writeFromChild(pty.master, data, bytesPerSecond);
    bool written = false;
    const bool done = waitUntil(
        [&] {
            written = written || waitpid(writer, nullptr, WNOHANG) == writer;
            return written && !form.serialGatherer()->isGathering() &&
                   form.statusPanel(2) == QLatin1String("Operate complete!");
        },
        60000);
    const double seconds = clock.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpu0;
    if (!done)
        std::printf("(not processed within a minute)\n");
    return {seconds,
            watch.longestMs(),
            100.0 * cpu / seconds,
            rssBefore,
            statusKiB("VmHWM:"),
            firstShownMs,
            bytesPerSecond > 0 ? worstLagMs : -1};
}

// The LAN peer sends the data and closes; processed when the window has seen the close.
Load tcpFlood(const QByteArray &data)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(listener, reinterpret_cast<sockaddr *>(&address), length);
    ::listen(listener, 1);
    ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length);

    WorkDir dir(configFor(QStringLiteral("/nonexistent/tty"), 1, ntohs(address.sin_port)));
    MainWindow form(nullptr, WindowStart{QString(), 0, QStringLiteral("/nonexistent/qxbench-ttyS%1")});
    form.show();
    if (!waitUntil([&] { return form.tcpConnection()->state() == QAbstractSocket::ConnectedState; }, 5000))
        std::printf("(no connection)\n");
    const int peer = ::accept(listener, nullptr, nullptr);
    waitUntil([] { return false; }, 500);
    form.session().cmdType = 1;
    bool closed = false;
    QObject::connect(form.tcpConnection(), &TcpConnection::disconnected, &form, [&closed] { closed = true; });
    const long rssBefore = statusKiB("VmRSS:");
    resetPeak();
    StallWatch watch(5);
    const double cpu0 = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    const pid_t writer = writeFromChild(peer, data, 0);
    ::close(peer); // the child's copy closes when it is done
    waitUntil([&] { return closed; }, 60000);
    const double seconds = clock.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpu0;
    waitpid(writer, nullptr, 0);
    ::close(listener);
    return {seconds, watch.longestMs(), 100.0 * cpu / seconds, rssBefore, statusKiB("VmHWM:")};
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5));
    return values[index];
}

// Press of the work-mode read button to the box showing the module's answer.
// Counts the time the window spends repainting (the top level's update requests, which paint every
// dirty widget and flush the result to the screen).
class RepaintClockApp : public QApplication {
public:
    using QApplication::QApplication;
    double repaintMs = 0;

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (event->type() != QEvent::UpdateRequest)
            return QApplication::notify(receiver, event);
        QElapsedTimer clock;
        clock.start();
        const bool done = QApplication::notify(receiver, event);
        repaintMs += double(clock.nsecsElapsed()) / 1e6;
        return done;
    }
};

RepaintClockApp *repaintClock()
{
    return static_cast<RepaintClockApp *>(QCoreApplication::instance());
}

void latency(const char *name, int linkType)
{
    SimProcess sim;
    QString why;
    if (!sim.start({QStringLiteral("--pty"), QStringLiteral("--lan"), QStringLiteral("127.0.0.1:0")}, &why)) {
        std::printf("%s: %s\n", name, qPrintable(why));
        return;
    }
    WorkDir dir(configFor(sim.ptyPath(), linkType, sim.lanPort()));
    MainWindow form(nullptr, WindowStart{QString(), 0, QStringLiteral("/nonexistent/qxbench-ttyS%1")});
    form.show();
    if (linkType == 1)
        waitUntil([&] { return form.tcpConnection()->state() == QAbstractSocket::ConnectedState; }, 5000);
    waitUntil([] { return false; }, 300);
    auto *button = form.findChild<QPushButton *>(QStringLiteral("workModeReadButton"));
    QComboBox *box = form.comboBox(Field::WorkMode);
    if (!button || !box) {
        std::printf("%s: no work-mode row\n", name);
        return;
    }
    QElapsedTimer clock;
    qint64 filledAt = -1;
    double repaintBeforeFill = 0;
    QObject::connect(box, &QComboBox::currentIndexChanged, &form, [&](int index) {
        if (index >= 0 && filledAt < 0) {
            filledAt = clock.nsecsElapsed();
            repaintBeforeFill = repaintClock()->repaintMs;
        }
    });
    std::vector<double> ms, pressMs, repaintMs;
    for (int i = 0; i < 100; ++i) {
        filledAt = -1;
        clock.start();
        button->click();
        pressMs.push_back(double(clock.nsecsElapsed()) / 1e6);
        repaintClock()->repaintMs = 0;
        if (!waitUntil([&] { return filledAt >= 0; }, 5000)) {
            std::printf("%s: read %d got no answer\n", name, i);
            return;
        }
        ms.push_back(double(filledAt) / 1e6);
        repaintMs.push_back(repaintBeforeFill);
        waitUntil([] { return false; }, linkType == 0 ? 200 : 10); // past the quiet time
    }
    std::printf("%-8s reply latency over %zu reads: p50 %.1f ms, p95 %.1f ms, max %.1f ms\n", name, ms.size(),
                percentile(ms, 0.5), percentile(ms, 0.95), percentile(ms, 1.0));
    std::printf("%-8s   of which the press itself p50 %.2f ms, repainting before the reply p50 %.2f ms, "
                "p95 %.2f ms\n",
                name, percentile(pressMs, 0.5), percentile(repaintMs, 0.5), percentile(repaintMs, 0.95));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    RepaintClockApp app(argc, argv);
    if (qEnvironmentVariableIsEmpty("QXSIM"))
        qputenv("QXSIM",
                QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/../qxsim")));
    Boxes::setHandler([](const BoxRequest &box) {
        std::printf("(box: %s)\n", qPrintable(box.text));
        return false;
    });
    QStringList cases = app.arguments().mid(1);
    if (cases.isEmpty())
        cases = {QStringLiteral("burst"), QStringLiteral("stream"), QStringLiteral("flood"),
                 QStringLiteral("latency-serial"), QStringLiteral("latency-tcp")};
    for (const QString &name : cases) {
        if (name == QLatin1String("burst"))
            printLoad("burst", serialLoad(lines(kMiB), 0));
        else if (name == QLatin1String("stream"))
            printLoad("stream", serialLoad(lines(92160 * 10), 92160));
        else if (name == QLatin1String("flood"))
            printLoad("flood", tcpFlood(lines(kMiB)));
        else if (name == QLatin1String("latency-serial"))
            latency("serial", 0);
        else if (name == QLatin1String("latency-tcp"))
            latency("tcp", 1);
        else
            std::printf("unknown case %s\n", qPrintable(name));
    }
    return 0;
}
