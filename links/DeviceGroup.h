#pragma once

#include <QString>

// The name of the group that owns a device file (symlinks followed); empty when it cannot be read.
// Serial devices belong to a group ("dialout" on Debian), which is what a user must join to open them.
QString DeviceGroup(const QString &path);
