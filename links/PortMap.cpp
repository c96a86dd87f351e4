#include "links/PortMap.h"

#include "shell/SharedState.h"

namespace {
QMap<int, QString> &portMap()
{
    static QMap<int, QString> map;
    return map;
}

QString &defaultPattern()
{
    static QString pattern = QStringLiteral("/dev/ttyS%1");
    return pattern;
}

bool validPort(int port)
{
    return port >= 1 && port <= kComPortCount;
}
} // namespace

QString ComDevicePath(int port)
{
    if (!validPort(port))
        return QString();
    const auto it = portMap().constFind(port);
    return it != portMap().constEnd() ? *it : defaultPattern().arg(port - 1);
}

void SetComDevicePath(int port, const QString &path)
{
    if (!validPort(port))
        return;
    if (path.isEmpty())
        portMap().remove(port);
    else
        portMap().insert(port, path);
}

QMap<int, QString> MappedComPorts()
{
    return portMap();
}

void ResetComPortMap()
{
    portMap().clear();
}

void SetDefaultComDevicePattern(const QString &pattern)
{
    defaultPattern() = pattern;
}
