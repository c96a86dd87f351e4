#include "RunToEnd.h"

#include "Terminal.h"

#include <QEventLoop>

RunEnd RunToEnd(ParameterRun &run, const std::function<void()> &start)
{
    RunEnd end;
    bool done = false;
    QEventLoop loop;
    const QMetaObject::Connection progress =
        QObject::connect(&run, &ParameterRun::stepStarted, &loop, [&run](int index, bool writing) {
            const QString name = run.outcomes().at(index).row->atName;
            ShowProgress(
                writing
                    ? Qxctl::tr("writing %1").arg(name)
                    : Qxctl::tr("reading %1 (%2/%3)").arg(name).arg(index + 1).arg(run.outcomes().size()));
        });
    QObject::connect(&run, &ParameterRun::finished, &loop, [&](bool completed, const QString &reason) {
        end = {completed, reason};
        done = true;
        loop.quit();
    });
    start();
    if (!done) // a run with nothing to do ends inside start()
        loop.exec();
    QObject::disconnect(progress);
    ClearProgress();
    return end;
}

QString OutcomeText(const RowOutcome &outcome)
{
    using State = RowOutcome::State;
    QString text;
    switch (outcome.state) {
    case State::Waiting:
        text = Qxctl::tr("not reached");
        break;
    case State::Read:
        text = Qxctl::tr("read");
        break;
    case State::NotRead:
        text = Qxctl::tr("not read");
        break;
    case State::Same:
        text = Qxctl::tr("same");
        break;
    case State::Written:
        text = Qxctl::tr("written");
        break;
    case State::Verified:
        text = Qxctl::tr("verified");
        break;
    case State::Failed:
        text = Qxctl::tr("failed");
        break;
    }
    const QString detail = outcome.detail;
    if (!detail.isEmpty())
        text += QStringLiteral(": ") + detail;
    return text;
}

QString DifferenceText(const RowOutcome &outcome, const QString &wanted)
{
    const QString held = outcome.moduleValue ? *outcome.moduleValue
                                             : QLatin1Char('(') + OutcomeText(outcome) + QLatin1Char(')');
    return Qxctl::tr("%1: module %2, profile %3").arg(outcome.row->atName, held, wanted);
}
