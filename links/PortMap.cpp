#include "links/PortMap.h"

QString PortMap::devicePath(int port) const
{
    if (!validPort(port))
        return QString();
    const auto it = map_.constFind(port);
    return it != map_.constEnd() ? *it : defaultPattern_.arg(port - 1);
}

void PortMap::setDevicePath(int port, const QString &path)
{
    if (!validPort(port))
        return;
    if (path.isEmpty())
        map_.remove(port);
    else
        map_.insert(port, path);
}
