#pragma once

// Which device file stands behind each COM number. The tool speaks of ports by number (COM1 = 1);
// on Linux a number maps to /dev/ttyS<n-1> unless the user or a test maps it to another device
// (a USB adapter, a pseudo-terminal). Every place that needs the path asks here.

#include <QMap>
#include <QString>

// The device path for COM<port>; empty for a number outside 1..36.
QString ComDevicePath(int port);
// Maps COM<port> to path; an empty path puts the default back. Numbers outside 1..36 are ignored.
void SetComDevicePath(int port, const QString &path);
// Only the explicitly mapped ports, by number.
QMap<int, QString> MappedComPorts();
// Forgets every explicit mapping.
void ResetComPortMap();
// The path unmapped numbers stand for, "%1" being n-1 (normally /dev/ttyS%1). Tests point it at
// paths that cannot exist so that no test ever opens real hardware.
void SetDefaultComDevicePattern(const QString &pattern);
