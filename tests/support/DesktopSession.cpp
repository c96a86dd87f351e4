#include "support/DesktopSession.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QString findProgram(const QString &name, const QStringList &elsewhere = {})
{
    const QString inPath = QStandardPaths::findExecutable(name);
    if (!inPath.isEmpty())
        return inPath;
    for (const QString &path : elsewhere) {
        if (QFile::exists(path))
            return path;
    }
    return QString();
}

QByteArray readLine(int fd, int timeoutMs)
{
    QByteArray line;
    pollfd ready{fd, POLLIN, 0};
    while (!line.endsWith('\n') && poll(&ready, 1, timeoutMs) > 0) {
        char c = 0;
        if (read(fd, &c, 1) != 1)
            break;
        line += c;
    }
    return line.trimmed();
}
} // namespace

DesktopSession::DesktopSession()
{
    const QString xvfb = findProgram(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        missingDisplay_ = QStringLiteral("Xvfb is not installed (Debian package xvfb)");
    else if (findProgram(QStringLiteral("xprop")).isEmpty())
        missingDisplay_ = QStringLiteral("xprop is not installed (Debian package x11-utils)");
    if (!missingDisplay_.isEmpty()) {
        missingBus_ = missingDisplay_;
        return;
    }
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    QByteArray display;
    start({xvfb.toLocal8Bit(), "-displayfd", "3", "-nolisten", "tcp", "-screen", "0", "1280x800x24"},
          &display);
    if (display.isEmpty()) {
        missingDisplay_ = missingBus_ = QStringLiteral("Xvfb did not start");
        return;
    }
    qputenv("DISPLAY", ":" + display);
    qputenv("QT_QPA_PLATFORM", "xcb");

    const QString dbus = findProgram(QStringLiteral("dbus-daemon"));
    const QString launcher = findProgram(QStringLiteral("at-spi-bus-launcher"),
                                         {QStringLiteral("/usr/libexec/at-spi-bus-launcher"),
                                          QStringLiteral("/usr/lib/at-spi2-core/at-spi-bus-launcher")});
    if (dbus.isEmpty()) {
        missingBus_ = QStringLiteral("dbus-daemon is not installed (Debian package dbus)");
        return;
    }
    if (launcher.isEmpty()) {
        missingBus_ = QStringLiteral("at-spi-bus-launcher is not installed (Debian package at-spi2-core)");
        return;
    }
    QByteArray address;
    start({dbus.toLocal8Bit(), "--session", "--nofork", "--nopidfile", "--print-address=3"}, &address);
    if (address.isEmpty()) {
        missingBus_ = QStringLiteral("dbus-daemon did not start a session bus");
        return;
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    // Qt's bridge publishes to the accessibility bus only when a screen reader asks for it, or
    // when told to always do so.
    qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    start({launcher.toLocal8Bit(), "--launch-immediately"});
}

DesktopSession::~DesktopSession()
{
    if (group_ <= 0)
        return;
    // The whole group: the bus the launcher started and the registry that bus started belong to it,
    // and come to this process when their parents end, so none is left a zombie.
    kill(-group_, SIGTERM);
    const auto reapAll = [](int timeoutMs) {
        for (int waited = 0; waited < timeoutMs; waited += 10) {
            pid_t pid = 0;
            while ((pid = waitpid(-1, nullptr, WNOHANG)) > 0) {
            }
            if (pid < 0)
                return true; // no children left
            usleep(10 * 1000);
        }
        return false;
    };
    if (!reapAll(5000)) {
        kill(-group_, SIGKILL);
        reapAll(5000);
    }
}

pid_t DesktopSession::start(const std::vector<QByteArray> &args, QByteArray *firstLine, int timeoutMs)
{
    std::vector<char *> argv;
    for (const QByteArray &arg : args)
        argv.push_back(const_cast<char *>(arg.constData()));
    argv.push_back(nullptr);
    int pipeFds[2] = {-1, -1};
    if (firstLine != nullptr && pipe(pipeFds) != 0)
        return -1;
    const pid_t parent = getpid();
    const pid_t group = group_;
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM); // a test that crashes leaves no server behind
        if (getppid() != parent)
            _exit(127);
        setpgid(0, group);
        if (firstLine != nullptr) {
            close(pipeFds[0]); // first: it may be fd 3 itself
            if (pipeFds[1] != 3) {
                dup2(pipeFds[1], 3);
                close(pipeFds[1]);
            }
        }
        const int quiet = open("/dev/null", O_RDWR);
        dup2(quiet, STDIN_FILENO);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        if (quiet > STDERR_FILENO && quiet != 3)
            close(quiet);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (pid < 0)
        return -1;
    if (group_ == 0)
        group_ = pid;
    setpgid(pid, group_); // also from here, so the group exists before the next start
    if (firstLine != nullptr) {
        close(pipeFds[1]);
        *firstLine = readLine(pipeFds[0], timeoutMs);
        close(pipeFds[0]);
    }
    return pid;
}

QString DesktopSession::windowTitle(WId window)
{
    QProcess xprop;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8")); // UTF-8 as is, not escaped
    xprop.setProcessEnvironment(env);
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window),
                                          QStringLiteral("-notype"), QStringLiteral("_NET_WM_NAME")});
    if (!xprop.waitForFinished(5000))
        return QString();
    // _NET_WM_NAME = "title"
    const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    static const QRegularExpression quoted(QStringLiteral("^_NET_WM_NAME = \"(.*)\"$"));
    const QRegularExpressionMatch match = quoted.match(out);
    if (!match.hasMatch())
        return QString();
    QString title = match.captured(1);
    title.replace(QLatin1String("\\\""), QLatin1String("\""))
        .replace(QLatin1String("\\\\"), QLatin1String("\\"));
    return title;
}
