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
                writing ? Say(QStringLiteral("writing %1"), QStringLiteral("正在写入%1")).arg(name)
                        : Say(QStringLiteral("reading %1 (%2/%3)"), QStringLiteral("正在读取%1（%2/%3）"))
                              .arg(name)
                              .arg(index + 1)
                              .arg(run.outcomes().size()));
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
        text = Say(QStringLiteral("not reached"), QStringLiteral("未执行"));
        break;
    case State::Read:
        text = Say(QStringLiteral("read"), QStringLiteral("已读取"));
        break;
    case State::NotRead:
        text = Say(QStringLiteral("not read"), QStringLiteral("未读出"));
        break;
    case State::Same:
        text = Say(QStringLiteral("same"), QStringLiteral("相同"));
        break;
    case State::Written:
        text = Say(QStringLiteral("written"), QStringLiteral("已写入"));
        break;
    case State::Verified:
        text = Say(QStringLiteral("verified"), QStringLiteral("已核实"));
        break;
    case State::Failed:
        text = Say(QStringLiteral("failed"), QStringLiteral("失败"));
        break;
    }
    const QString detail = outcome.detail.pick(!InChinese());
    if (!detail.isEmpty())
        text += QStringLiteral(": ") + detail;
    return text;
}

QString DifferenceText(const RowOutcome &outcome, const QString &wanted)
{
    const QString held = outcome.moduleValue ? *outcome.moduleValue
                                             : QLatin1Char('(') + OutcomeText(outcome) + QLatin1Char(')');
    return Say(QStringLiteral("%1: module %2, profile %3"), QStringLiteral("%1：模块 %2，配置文件 %3"))
        .arg(outcome.row->atName, held, wanted);
}
