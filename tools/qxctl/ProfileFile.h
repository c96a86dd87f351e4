#pragma once

// Reads a profile file ("-" for standard input), never more than one byte past the profile size
// limit: a huge file is refused by its size without being loaded whole.

#include "protocol/Profile.h"

#include <QString>

// False with one line for the user when the file cannot be read. A parsed profile may still hold
// problems; PrintProfileProblems lists them.
bool LoadProfile(const QString &path, Profile *profile, QString *error);
void PrintProfileProblems(const QString &path, const Profile &profile);
