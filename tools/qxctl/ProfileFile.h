#pragma once

// Reads a profile file ("-" for standard input), never more than one byte past the profile size
// limit: a huge file is refused by its size without being loaded whole.

#include "protocol/Profile.h"

#include <QString>
#include <functional>
#include <optional>

class LinkSession;
class QCommandLineParser;

// False with one line for the user when the file cannot be read. A parsed profile may still hold
// problems; PrintProfileProblems lists them.
bool LoadProfile(const QString &path, Profile *profile, QString *error);
void PrintProfileProblems(const QString &path, const Profile &profile);

// For the subcommands that take one PROFILE and a LINK: configures the link from the options and loads
// a profile without problems. The exit code when the subcommand must stop, having said why.
std::optional<int> PrepareProfileRun(const QString &subcommand, const QCommandLineParser &parser,
                                     LinkSession &link, Profile &profile);
// The same for any links: configureLinks gives the exit code when they are wrongly named.
std::optional<int> PrepareProfileRun(const QString &subcommand, const QCommandLineParser &parser,
                                     const std::function<std::optional<int>()> &configureLinks,
                                     Profile &profile);
// Loads a profile without problems; otherwise the exit code, having said why.
std::optional<int> LoadValidProfile(const QString &path, Profile &profile);
