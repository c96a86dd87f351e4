#include "window/ConsoleFileLog.h"

#include <QDateTime>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kWatchMs = 1000;
}

QString NewLogFilePath(const QString &folder)
{
    QString chosen = folder;
    if (chosen.isEmpty() || !QDir(chosen).exists())
        chosen = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (chosen.isEmpty() || !QDir(chosen).exists())
        chosen = QDir::homePath();
    return QDir(chosen).filePath(
        QStringLiteral("qxsetup-log-%1.txt")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
}

ConsoleFileLog::ConsoleFileLog(QObject *parent) : QObject(parent), watch_(new QTimer(this))
{
    watch_->setInterval(kWatchMs);
    connect(watch_, &QTimer::timeout, this, &ConsoleFileLog::checkStillThere);
}

ConsoleFileLog::~ConsoleFileLog()
{
    stop();
}

bool ConsoleFileLog::start(const QString &path, QString *reason)
{
    stop();
    entries_.clear();
    // Appending at the descriptor: QFile's own Append would seek to the end, which a device such as a
    // terminal or /dev/full refuses with a warning.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        *reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    path_ = path;
    // Unbuffered: every line reaches the system when it is written, so a killed tool loses nothing.
    if (!file_.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        *reason = file_.errorString();
        ::close(fd);
        return false;
    }
    struct stat opened {};
    if (::fstat(file_.handle(), &opened) == 0) {
        device_ = opened.st_dev;
        inode_ = opened.st_ino;
    }
    watch_->start();
    return true;
}

void ConsoleFileLog::stop()
{
    if (!file_.isOpen())
        return;
    while (!entries_.empty() && file_.isOpen()) {
        Entry &entry = entries_.front();
        if (writeHeld(entry) && entry.open)
            write("\n");
        if (!entries_.empty())
            entries_.pop_front();
    }
    entries_.clear();
    watch_->stop();
    file_.close();
}

void ConsoleFileLog::addLines(const QString &text)
{
    if (!isActive())
        return;
    const QByteArray bytes = text.toUtf8() + '\n';
    if (entries_.empty())
        write(bytes);
    else
        hold(entries_.emplace_back(), bytes);
}

void ConsoleFileLog::openLine(int id, const QString &text)
{
    if (!isActive())
        return;
    const bool first = entries_.empty();
    Entry &entry = entries_.emplace_back();
    entry.id = id;
    entry.open = true;
    if (first)
        write(text.toUtf8());
    else
        hold(entry, text.toUtf8());
}

void ConsoleFileLog::growLine(int id, const QString &text)
{
    if (!isActive())
        return;
    Entry *entry = find(id);
    if (entry == nullptr)
        return;
    if (entry == &entries_.front())
        write(text.toUtf8());
    else
        hold(*entry, text.toUtf8());
}

void ConsoleFileLog::closeLine(int id)
{
    if (!isActive())
        return;
    Entry *entry = find(id);
    if (entry == nullptr)
        return;
    entry->open = false;
    if (entry != &entries_.front()) {
        hold(*entry, "\n");
        return;
    }
    entries_.pop_front();
    write("\n");
    release();
}

ConsoleFileLog::Entry *ConsoleFileLog::find(int id)
{
    for (Entry &entry : entries_) {
        if (entry.id == id && entry.open)
            return &entry;
    }
    return nullptr;
}

void ConsoleFileLog::hold(Entry &entry, const QByteArray &bytes)
{
    if (!entry.spill && entry.held.size() + bytes.size() <= kHeldInMemory) {
        entry.held += bytes;
        return;
    }
    if (!entry.spill) {
        entry.spill = std::make_shared<QTemporaryFile>();
        if (!entry.spill->open()) {
            fail(false, entry.spill->errorString());
            return;
        }
        entry.spill->write(entry.held);
        entry.held.clear();
    }
    if (entry.spill->write(bytes) != bytes.size())
        fail(false, entry.spill->errorString());
}

bool ConsoleFileLog::writeHeld(Entry &entry)
{
    if (entry.spill) {
        entry.spill->seek(0);
        while (file_.isOpen() && !entry.spill->atEnd())
            write(entry.spill->read(kHeldInMemory));
        entry.spill.reset();
    }
    write(entry.held);
    entry.held.clear();
    return file_.isOpen();
}

void ConsoleFileLog::release()
{
    while (!entries_.empty() && file_.isOpen()) {
        Entry &entry = entries_.front();
        if (!writeHeld(entry) || entry.open)
            return; // an open line is now the first: it is written as it grows
        entries_.pop_front();
    }
}

void ConsoleFileLog::write(const QByteArray &bytes)
{
    if (bytes.isEmpty() || !file_.isOpen())
        return;
    if (file_.write(bytes) != bytes.size())
        fail(false, file_.errorString());
}

void ConsoleFileLog::fail(bool removed, const QString &reason)
{
    // The waiting lines go later: a caller up the stack may still hold one of them.
    watch_->stop();
    file_.close();
    QTimer::singleShot(0, this, [this] {
        if (!isActive())
            entries_.clear();
    });
    Q_EMIT failed(removed, reason);
}

void ConsoleFileLog::checkStillThere()
{
    // Writes to a file that was deleted succeed and go nowhere: look whether the name still leads to it.
    struct stat now {};
    const QByteArray name = QFile::encodeName(path_);
    if (::stat(name.constData(), &now) != 0 || now.st_dev != device_ || now.st_ino != inode_)
        fail(true, QString());
}
