#pragma once

// The subcommands; each takes its arguments (the first is the program's name) and returns the exit
// code.

#include <QStringList>

int ReadTool(const QStringList &arguments);
int ApplyTool(const QStringList &arguments);
int DiffTool(const QStringList &arguments);
int SendTool(const QStringList &arguments);
int DiscoverTool(const QStringList &arguments);
int ProvisionTool(const QStringList &arguments);
