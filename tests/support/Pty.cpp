#include "support/Pty.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
// Waits for events on fd until the deadline; true when they came.
bool waitFor(int fd, short events, const QDeadlineTimer &deadline)
{
    pollfd pfd{fd, events, 0};
    for (;;) {
        const int rc = ::poll(&pfd, 1, static_cast<int>(deadline.remainingTime()));
        if (rc > 0)
            return (pfd.revents & events) != 0;
        if (rc == 0 || errno != EINTR)
            return false;
    }
}
} // namespace

Pty::Pty()
{
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    termios raw{};
    ::tcgetattr(slave_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave_, TCSANOW, &raw);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    devicePath_ = QString::fromLocal8Bit(name);
    static int serial = 0;
    const QString link = QDir::temp().filePath(
        QStringLiteral("qxpty-%1-%2").arg(QCoreApplication::applicationPid()).arg(++serial));
    QFile::remove(link);
    slavePath_ = QFile::link(devicePath_, link) ? link : devicePath_;
}

Pty::~Pty()
{
    closeMaster();
    if (slave_ >= 0)
        ::close(slave_);
    if (slavePath_ != devicePath_)
        QFile::remove(slavePath_);
}

bool Pty::write(const QByteArray &bytes, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(master_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (!waitFor(master_, POLLOUT, deadline))
            return false;
    }
    return true;
}

QByteArray Pty::read(int count, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray bytes;
    char buf[4096];
    while (bytes.size() < count) {
        const ssize_t n =
            ::read(master_, buf, std::min<size_t>(sizeof buf, static_cast<size_t>(count - bytes.size())));
        if (n > 0) {
            bytes.append(buf, n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            break;
        if (!waitFor(master_, POLLIN, deadline))
            break;
    }
    return bytes;
}

int Pty::pendingForProgram() const
{
    int count = 0;
    if (slave_ < 0 || ::ioctl(slave_, FIONREAD, &count) != 0)
        return -1;
    return count;
}

termios Pty::slaveSettings() const
{
    termios settings{};
    ::tcgetattr(slave_, &settings);
    return settings;
}

void Pty::closeMaster()
{
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}
