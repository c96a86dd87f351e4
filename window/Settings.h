#pragma once

// Config.ini: read once into a settings value at start-up, written back once at close.

#include "window/AppSettings.h"

#include <QString>

// The settings file inside programDir.
QString SettingsFilePath(const QString &programDir);

// Reads every setting (defaults for a missing or unreadable file, missing keys and values that are not
// integers), then the serial port device map of section "Ports" into a copy of ports, whose mappings
// the file replaces and whose default pattern stays. The widget side (check box, address fields, link
// radio buttons, connecting) is the main window's.
AppSettings LoadSettings(const QString &programDir, const PortMap &ports = PortMap());

// Writes the saved settings and the mapped serial ports into the file's existing content, keeping
// every other line, the file's encoding and its line endings as they were, and replaces the file in one
// step (or, in a folder that refuses new files, overwrites it in place). When the file cannot be opened
// for writing the old file is left untouched, *errorText (when given) is "Unable to write to <path>" and
// false is returned.
bool SaveSettings(const QString &programDir, const AppSettings &settings, QString *errorText);
