#pragma once

// Which device file stands behind each COM number. The tool speaks of ports by number (COM1 = 1);
// on Linux a number maps to /dev/ttyS<n-1> unless the user or a test maps it to another device
// (a USB adapter, a pseudo-terminal). Every place that needs the path asks the map it was handed.

#include <QMap>
#include <QString>

inline constexpr int kComPortCount = 36;

class PortMap {
public:
    // The device path for COM<port>; empty for a number outside 1..36.
    QString devicePath(int port) const;
    // Maps COM<port> to path; an empty path puts the default back. Numbers outside 1..36 are ignored.
    void setDevicePath(int port, const QString &path);
    // Only the explicitly mapped ports, by number.
    QMap<int, QString> mapped() const { return map_; }
    // Forgets every explicit mapping.
    void clear() { map_.clear(); }
    // The path unmapped numbers stand for, "%1" being n-1 (normally /dev/ttyS%1). Tests point it at
    // paths that cannot exist so that no test ever opens real hardware.
    void setDefaultPattern(const QString &pattern) { defaultPattern_ = pattern; }
    QString defaultPattern() const { return defaultPattern_; }

    static bool validPort(int port) { return port >= 1 && port <= kComPortCount; }

private:
    QMap<int, QString> map_;
    QString defaultPattern_ = QStringLiteral("/dev/ttyS%1");
};
