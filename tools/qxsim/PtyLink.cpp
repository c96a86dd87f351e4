#include "PtyLink.h"

#include "SimLog.h"
#include "SimModule.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

// "+++" has no line end: this much silence after it makes it a command.
constexpr int kIdleMs = 30;
const QString kLinkName = QStringLiteral("pty");

FaultOptions withoutDrop(FaultOptions faults)
{
    faults.dropAfter = 0; // a serial line cannot be closed from the module's side
    return faults;
}

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PtyLink::PtyLink(SimModule &module, const FaultOptions &faults, QObject *parent)
    : QObject(parent), m_module(module),
      m_output(
          withoutDrop(faults), [this](const QByteArray &bytes) { write(bytes); }, this)
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(kIdleMs);
    connect(&m_idle, &QTimer::timeout, this, [this] { handle(m_splitter.take(true)); });
}

PtyLink::~PtyLink()
{
    m_readNotifier.reset();
    m_writeNotifier.reset();
    if (!m_linkPath.isEmpty() && QFileInfo(m_linkPath).isSymLink())
        QFile::remove(m_linkPath);
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
}

bool PtyLink::open(const QString &linkPath, QString &error)
{
    if (::openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0) {
        error = systemError("openpty");
        return false;
    }
    termios raw{};
    if (::tcgetattr(m_slave, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(m_slave, TCSANOW, &raw);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));

    if (!linkPath.isEmpty()) {
        const QFileInfo existing(linkPath);
        if (existing.isSymLink()) {
            QFile::remove(linkPath); // left behind by a run that was killed
        } else if (existing.exists()) {
            error = QStringLiteral("%1 exists and is not a symlink").arg(linkPath);
            return false;
        }
        if (::symlink(m_slavePath.toLocal8Bit().constData(), linkPath.toLocal8Bit().constData()) != 0) {
            error = systemError("symlink");
            return false;
        }
        m_linkPath = linkPath;
    }

    m_readNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &PtyLink::readMaster);
    m_writeNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier.get(), &QSocketNotifier::activated, this, &PtyLink::flushUnsent);
    return true;
}

void PtyLink::readMaster()
{
    char chunk[4096];
    for (;;) {
        const ssize_t count = ::read(m_master, chunk, sizeof chunk);
        if (count > 0) {
            m_splitter.feed(QByteArray(chunk, static_cast<qsizetype>(count)));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            logNotice(systemError("pty read"));
            m_readNotifier->setEnabled(false);
        }
        break;
    }
    handle(m_splitter.take(false));
    if (m_splitter.hasPending())
        m_idle.start();
    else
        m_idle.stop();
}

void PtyLink::handle(const QList<StreamPiece> &pieces)
{
    for (const StreamPiece &piece : pieces) {
        if (!piece.isCommand) {
            logTraffic(kLinkName, "<- (data)", piece.bytes);
            logTraffic(kLinkName, "-> (echo)", piece.bytes);
            m_output.pushData(piece.bytes);
            continue;
        }
        logTraffic(kLinkName, "<-", piece.bytes);
        const QByteArray answer = m_module.execute(piece.bytes).text;
        logTraffic(kLinkName, "->", answer);
        m_output.pushAnswer(answer);
    }
}

void PtyLink::write(const QByteArray &bytes)
{
    m_unsent += bytes;
    flushUnsent();
}

void PtyLink::flushUnsent()
{
    while (!m_unsent.isEmpty()) {
        const ssize_t count = ::write(m_master, m_unsent.constData(), static_cast<size_t>(m_unsent.size()));
        if (count > 0) {
            m_unsent.remove(0, static_cast<qsizetype>(count));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            logNotice(systemError("pty write"));
            m_unsent.clear();
        }
        break;
    }
    m_writeNotifier->setEnabled(!m_unsent.isEmpty());
}
