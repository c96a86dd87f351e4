#pragma once

// The menu launcher (qxsetup-launch) starts the tool in a settings folder of the user's own. When it
// can make none, it starts the tool with kSettingsFolderErrorOption and the folders it tried, one
// per line, so that a menu start ends in a box that says why instead of in silence.

#include <QStringList>

inline constexpr char kSettingsFolderErrorOption[] = "--settings-folder-error";

// Shows the box and returns true when the arguments carry the option; false otherwise.
bool showSettingsFolderError(const QStringList &arguments);
