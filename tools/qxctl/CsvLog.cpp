#include "CsvLog.h"

#include "Terminal.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray field(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\r') && !bytes.contains('\n'))
        return bytes;
    bytes.replace('"', "\"\"");
    return '"' + bytes + '"';
}
} // namespace

CsvLog::~CsvLog()
{
    if (fd_ >= 0)
        ::close(fd_);
}

QByteArray CsvLog::line(const QStringList &fields)
{
    QByteArrayList quoted;
    for (const QString &text : fields)
        quoted << field(text);
    return quoted.join(',') + "\r\n";
}

bool CsvLog::open(const QString &path, const QStringList &header, QString *error)
{
    path_ = path;
    fd_ = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    struct stat status {};
    if (fd_ < 0 || ::fstat(fd_, &status) != 0) {
        *error =
            Qxctl::tr("cannot write the log %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (status.st_size > 0)
        return true;
    // The byte order mark tells a spreadsheet the file is UTF-8: without it, the Chinese texts in a
    // row come out garbled.
    return write("\xEF\xBB\xBF" + line(header), error);
}

bool CsvLog::append(const QStringList &fields, QString *error)
{
    return write(line(fields), error);
}

bool CsvLog::write(const QByteArray &bytes, QString *error)
{
    struct stat status {};
    const off_t before = ::fstat(fd_, &status) == 0 ? status.st_size : -1;
    qsizetype done = 0;
    int why = 0;
    while (done < bytes.size() && why == 0) {
        const ssize_t wrote = ::write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
        if (wrote > 0)
            done += wrote;
        else if (wrote == 0 || errno != EINTR)
            why = wrote == 0 ? ENOSPC : errno;
    }
    if (why == 0 && ::fsync(fd_) != 0 && errno != EINVAL) // EINVAL: a device that keeps nothing to sync
        why = errno;
    if (why == 0)
        return true;
    // A row cut short would leave the file unreadable at its end: the rows before it stay whole.
    if (before >= 0 && done > 0) {
        [[maybe_unused]] const int cut = ::ftruncate(fd_, before);
    }
    *error = Qxctl::tr("cannot write the log %1: %2").arg(path_, QString::fromLocal8Bit(std::strerror(why)));
    return false;
}
