#include "DeviceWatcher.h"

#include "Terminal.h"

#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>

namespace {
// Events can be lost (a watch set up while the folder changes): a slow look catches up.
constexpr int kRecheckMs = 1000;

bool hasWildcard(const QString &text)
{
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?')) ||
           text.contains(QLatin1Char('['));
}
} // namespace

bool DeviceWatcher::checkGlob(const QString &glob, QString *error)
{
    const QFileInfo info(glob);
    if (glob.isEmpty() || glob.endsWith(QLatin1Char('/')) || hasWildcard(info.path())) {
        *error = Qxctl::tr("bad --watch '%1': wildcards go in the last part of the path only").arg(glob);
        return false;
    }
    return true;
}

DeviceWatcher::DeviceWatcher(const QString &glob, QObject *parent)
    // Absolute: the serial port takes a name without a leading "/" for one in /dev.
    : QObject(parent), folder_(QFileInfo(glob).absolutePath()), pattern_(QFileInfo(glob).fileName())
{
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
        rearm();
        Q_EMIT changed();
    });
    connect(&recheck_, &QTimer::timeout, this, [this] {
        rearm();
        Q_EMIT changed();
    });
    recheck_.start(kRecheckMs);
    rearm();
}

bool DeviceWatcher::Identity::operator==(const Identity &other) const
{
    return device == other.device && inode == other.inode && node == other.node &&
           linkChangedNs == other.linkChangedNs && target == other.target;
}

bool DeviceWatcher::identify(const QString &path, Identity *identity)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return false;
    identity->device = status.st_dev;
    identity->inode = status.st_ino;
    identity->node = status.st_rdev;
    // Only a symlink's: the rules that set a device node's group and mode change its change time.
    if (S_ISLNK(status.st_mode)) {
        identity->linkChangedNs = qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
        identity->target = QFile::symLinkTarget(path);
    }
    return true;
}

QString DeviceWatcher::nextFresh()
{
    forgetGone();
    const QDir folder(folder_);
    const QStringList names =
        folder.entryList({pattern_}, QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    for (const QString &name : names) {
        const QString path = folder.filePath(name);
        // A symlink left behind by a device that is gone points nowhere.
        if (!taken_.contains(path) && QFileInfo::exists(path))
            return path;
    }
    return {};
}

void DeviceWatcher::take(const QString &path)
{
    Identity identity;
    if (identify(path, &identity))
        taken_.insert(path, identity);
}

void DeviceWatcher::forgetGone()
{
    for (auto it = taken_.begin(); it != taken_.end();) {
        Identity now;
        if (identify(it.key(), &now) && now == it.value())
            ++it;
        else
            it = taken_.erase(it);
    }
}

void DeviceWatcher::rearm()
{
    // A folder that does not exist yet (/dev/serial/by-id before the first adapter) is made in one of
    // its parents: watch the nearest one that exists.
    QString watched = folder_;
    while (!QFileInfo(watched).isDir() && QFileInfo(watched).path() != watched)
        watched = QFileInfo(watched).path();
    const QStringList current = watcher_.directories();
    if (current == QStringList{watched})
        return;
    if (!current.isEmpty())
        watcher_.removePaths(current);
    watcher_.addPath(watched);
}
