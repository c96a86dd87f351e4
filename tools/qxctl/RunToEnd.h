#pragma once

// Runs a ParameterRun to its end inside a local event loop, with the progress line on a terminal.

#include "links/ParameterRun.h"

#include <functional>

struct RunEnd {
    bool completed = false;
    QString reason; // why it stopped early
};

RunEnd RunToEnd(ParameterRun &run, const std::function<void()> &start);

// The outcome of a row in words: "verified", "failed: no reply within 2000 ms".
QString OutcomeText(const RowOutcome &outcome);

// A row where module and profile differ, as diff prints it: "BAUD: module 9600, profile 115200"; a row
// that could not be read shows why in brackets instead of the module's value.
QString DifferenceText(const RowOutcome &outcome, const QString &wanted);
