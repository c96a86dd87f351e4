#include "window/RunTexts.h"

#include "links/ParameterRun.h"
#include "protocol/ParameterCatalogue.h"

#include <QCoreApplication>
#include <QStringList>

namespace {
QString namedList(const QString &lead, const QStringList &names)
{
    if (names.isEmpty())
        return QString();
    return lead + names.join(QCoreApplication::translate("RunTexts", ", "));
}

QString fullStop()
{
    return QCoreApplication::translate("RunTexts", ".");
}
} // namespace

QString RowName(const ParameterRow &row)
{
    const QString caption = QCoreApplication::translate(kReadCaptionContext, row.readCaption);
    if (caption.compare(row.atName, Qt::CaseInsensitive) == 0)
        return caption;
    return caption + QStringLiteral(" (") + row.atName + QLatin1Char(')');
}

QString OutcomeText(const RowOutcome &outcome, bool runOver)
{
    using S = RowOutcome::State;
    switch (outcome.state) {
    case S::Waiting:
        return runOver ? QCoreApplication::translate("RunTexts", "not reached") : QString();
    case S::Read:
        return QString();
    case S::NotRead:
        return QCoreApplication::translate("RunTexts", "not read: %1").arg(outcome.detail);
    case S::Same:
        return QCoreApplication::translate("RunTexts", "same, not written");
    case S::Written:
        return QCoreApplication::translate("RunTexts", "written");
    case S::Verified:
        return QCoreApplication::translate("RunTexts", "written and verified");
    case S::Failed:
        return QCoreApplication::translate("RunTexts", "failed: %1").arg(outcome.detail);
    }
    return QString();
}

QString ReadAllSummary(const QList<RowOutcome> &outcomes, const RunEnd &end)
{
    int read = 0;
    QStringList failed;
    for (const RowOutcome &outcome : outcomes) {
        if (outcome.state == RowOutcome::State::Read)
            ++read;
        else if (outcome.state == RowOutcome::State::NotRead)
            failed << RowName(*outcome.row);
    }
    QString head;
    if (end.completed)
        head = QCoreApplication::translate("RunTexts", "Read all: ");
    else if (end.cancelled)
        head = QCoreApplication::translate("RunTexts", "Read all cancelled: ");
    else
        head = QCoreApplication::translate("RunTexts", "Read all stopped (%1): ").arg(end.reason);
    return head +
           QCoreApplication::translate("RunTexts", "%1 of %2 parameters read")
               .arg(read)
               .arg(outcomes.size()) +
           namedList(QCoreApplication::translate("RunTexts", "; not read: "), failed) + fullStop();
}

QString ApplySummary(const QString &fileName, const QList<RowOutcome> &outcomes, const RunEnd &end)
{
    using S = RowOutcome::State;
    int verified = 0;
    int written = 0;
    int same = 0;
    QStringList failed;
    for (const RowOutcome &outcome : outcomes) {
        if (outcome.state == S::Verified)
            ++verified;
        else if (outcome.state == S::Written)
            ++written;
        else if (outcome.state == S::Same)
            ++same;
        else if (outcome.state == S::Failed)
            failed << RowName(*outcome.row);
    }
    QString head;
    if (end.completed)
        head = QCoreApplication::translate("RunTexts", "Profile %1 applied: ").arg(fileName);
    else if (end.cancelled)
        head = QCoreApplication::translate("RunTexts", "Profile %1 cancelled: ").arg(fileName);
    else
        head = QCoreApplication::translate("RunTexts", "Profile %1 stopped (%2): ").arg(fileName, end.reason);
    return head +
           QCoreApplication::translate("RunTexts",
                                       "%1 written and verified, %2 written, %3 failed, %4 unchanged")
               .arg(verified)
               .arg(written)
               .arg(failed.size())
               .arg(same) +
           namedList(QCoreApplication::translate("RunTexts", "; failed: "), failed) + fullStop();
}
