#pragma once

// What apply does to one open link, for the subcommands that apply a profile as part of their work.

#include "RunToEnd.h"

#include "protocol/Profile.h"

// Writes the rows of a valid profile that differ (or all), reading each written row back unless !verify.
RunEnd ApplyProfile(ParameterRun &run, const Profile &profile, bool writeAll, bool verify);
// The module holds the profile's value in this row after the run.
bool RowHolds(const RowOutcome &outcome);
