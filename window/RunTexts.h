#pragma once

// What a parameter run tells the user, in the installed catalogue's language: the parameter's name, a row's
// outcome in the profile table, and the one console line that ends a read-all or a profile apply.

#include <QList>
#include <QString>

struct ParameterRow;
struct RowOutcome;

// How a run ended: every row reached, cancelled by the user, or stopped because the link was lost.
struct RunEnd {
    bool completed = false;
    bool cancelled = false;
    QString reason; // why it stopped, when it was neither
};

// The row's read caption, and its AT name, which a profile uses, where the caption does not say it.
QString RowName(const ParameterRow &row);
// A row's outcome as the table shows it; rows never reached read "not reached" once the run is over.
QString OutcomeText(const RowOutcome &outcome, bool runOver);
// "Read all: 29 of 31 parameters read; not read: ..."
QString ReadAllSummary(const QList<RowOutcome> &outcomes, const RunEnd &end);
// "Profile NAME applied: 2 written and verified, 0 written, 0 failed, 29 unchanged."
QString ApplySummary(const QString &fileName, const QList<RowOutcome> &outcomes, const RunEnd &end);
