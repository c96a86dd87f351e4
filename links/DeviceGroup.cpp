#include "links/DeviceGroup.h"

#include <QFile>
#include <grp.h>
#include <sys/stat.h>
#include <vector>

QString DeviceGroup(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QString();
    struct group entry {};
    struct group *found = nullptr;
    std::vector<char> buffer(16384);
    if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr)
        return QString();
    return QString::fromLocal8Bit(found->gr_name);
}
