#include "links/OpenAdvice.h"

#include "links/DeviceGroup.h"

QString OpenFailureAdvice(SerialLink::Refusal refusal, const QString &device, bool english)
{
    if (refusal != SerialLink::Refusal::NotPermitted)
        return QString();
#ifdef Q_OS_LINUX
    // Serial devices belong to a group (on Debian and most others "dialout"); group membership is
    // read at login, so joining takes effect only in a new session.
    const QString group = DeviceGroup(device);
    const QString command =
        QStringLiteral("sudo usermod -aG %1 $USER").arg(group.isEmpty() ? QStringLiteral("dialout") : group);
    if (english) {
        const QString which = group.isEmpty() ? QStringLiteral("the group that owns it, usually \"dialout\"")
                                              : QStringLiteral("the group \"%1\" that owns it").arg(group);
        return QStringLiteral("This user may not open %1. Add the user to %2 (%3), then log out and log in "
                              "again.")
            .arg(device, which, command);
    }
    const QString which = group.isEmpty() ? QStringLiteral("拥有该设备的组（通常是“dialout”）")
                                          : QStringLiteral("拥有该设备的组“%1”").arg(group);
    return QStringLiteral("当前用户无权打开%1。请把用户加入%2（%3），然后注销并重新登录。")
        .arg(device, which, command);
#else
    return english
               ? QStringLiteral("This user may not open %1: ask the administrator for access to the device.")
                     .arg(device)
               : QStringLiteral("当前用户无权打开%1：请向管理员申请使用该设备的权限。").arg(device);
#endif
}
