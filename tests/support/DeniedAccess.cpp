#include "support/DeniedAccess.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString systemError(const char *what)
{
    return QLatin1String(what) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}
} // namespace

DeniedAccess::DeniedAccess(const QString &devicePath) : path_(devicePath)
{
    const QByteArray native = QFile::encodeName(path_);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0) {
        failure_ = systemError("stat of the device");
        return;
    }
    mode_ = info.st_mode & 07777;
    gid_ = info.st_gid;

    if (::geteuid() != 0) {
        if (::chmod(native.constData(), 0) != 0) {
            failure_ = systemError("chmod of the device");
            return;
        }
        changedMode_ = true;
        if (const struct group *owner = ::getgrgid(gid_))
            group_ = QString::fromLocal8Bit(owner->gr_name);
    } else {
        // "dialout" is the group of serial devices on Debian; "tty" exists wherever ptys do.
        const struct group *owner = ::getgrnam("dialout");
        if (owner == nullptr)
            owner = ::getgrnam("tty");
        const struct passwd *nobody = ::getpwnam("nobody");
        if (owner == nullptr || owner->gr_gid == ::getegid() || nobody == nullptr) {
            failure_ =
                QStringLiteral("this system has no group \"dialout\" or \"tty\", or no user \"nobody\"");
            return;
        }
        group_ = QString::fromLocal8Bit(owner->gr_name);
        const uid_t nobodyUid = nobody->pw_uid;
        changedOwner_ = true; // restoring what did not change is harmless
        if (::chown(native.constData(), static_cast<uid_t>(-1), owner->gr_gid) != 0 ||
            ::chmod(native.constData(), 0660) != 0) {
            failure_ = systemError("chown or chmod of the device");
            return;
        }
        if (::seteuid(nobodyUid) != 0) {
            failure_ = systemError("seteuid to \"nobody\" (needs the capability CAP_SETUID)");
            return;
        }
        droppedUser_ = true;
    }
    // The arrangement must really refuse: the test is worthless otherwise.
    const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        ::close(fd);
        failure_ = QStringLiteral("the device still opens for this process");
    } else if (errno != EACCES) {
        failure_ = systemError("open of the refused device");
    }
}

DeniedAccess::~DeniedAccess()
{
    if (droppedUser_ && ::seteuid(0) != 0)
        qFatal("could not return to the root user");
    const QByteArray native = QFile::encodeName(path_);
    if (changedOwner_ && ::chown(native.constData(), static_cast<uid_t>(-1), gid_) != 0)
        qWarning("could not give the device back its group");
    if ((changedMode_ || changedOwner_) && ::chmod(native.constData(), mode_) != 0)
        qWarning("could not give the device back its mode");
}
