#include "ApplyTool.h"

#include "ArgumentParsing.h"
#include "Fleet.h"
#include "LinkSession.h"
#include "ProfileFile.h"
#include "RunToEnd.h"
#include "Terminal.h"
#include "Tools.h"

#include <algorithm>

namespace {
const QString kCommand = QStringLiteral("apply");
} // namespace

RunEnd ApplyProfile(ParameterRun &run, const Profile &profile, bool writeAll, bool verify)
{
    return RunToEnd(run, [&] { run.startApply(profile, {}, writeAll, verify); });
}

bool RowHolds(const RowOutcome &outcome)
{
    return outcome.state == RowOutcome::State::Same || outcome.state == RowOutcome::State::Verified ||
           outcome.state == RowOutcome::State::Written;
}

int ApplyTool(const QStringList &arguments)
{
    QCommandLineParser parser;
    DescribeSubcommand(
        parser, kCommand,
        QStringLiteral("PROFILE LINK... [--discovered] [--jobs N] [--json] [--all] [--no-verify]"),
        Say(QStringLiteral("Writes a profile (\"-\": standard input) to the module: each row that differs "
                           "is set and read back. One line per row: NAME written, verified, same or "
                           "failed: why. A profile with problems sends nothing. Exit 0 when every row "
                           "holds the profile's value, 1 when some failed, 2 for usage, profile and "
                           "link errors."),
            QStringLiteral("把配置文件（“-”为标准输入）写入模块：不同的参数逐个设置并读回核对。每个参数"
                           "一行结果。有问题的配置文件不发送任何内容。全部成功时退出码0，有失败时1，"
                           "用法、配置文件或连接错误时2。")));
    parser.addPositionalArgument(QStringLiteral("PROFILE"),
                                 Say(QStringLiteral("Profile file, or - for standard input."),
                                     QStringLiteral("配置文件，“-”为标准输入。")));
    LinkSession::addOptions(parser);
    parser.addOptions({
        {QStringLiteral("all"), Say(QStringLiteral("Write every row, also those the module holds already."),
                                    QStringLiteral("写入所有参数，包括模块已有相同数值的。"))},
        {QStringLiteral("no-verify"),
         Say(QStringLiteral("Do not read written rows back."), QStringLiteral("写入后不读回核对。"))},
        {QStringLiteral("json"), Say(QStringLiteral("Print one JSON object per module."),
                                     QStringLiteral("每个模块输出一个JSON对象。"))},
    });
    Fleet::addOptions(parser);
    int exitCode = kExitOk;
    if (!ParseArguments(parser, arguments, &exitCode))
        return exitCode;
    if (Fleet::wanted(parser, parser.isSet(QStringLiteral("json"))))
        return ApplyFleet(parser);
    LinkSession link;
    Profile profile;
    if (const std::optional<int> stop = PrepareProfileRun(kCommand, parser, link, profile))
        return *stop;
    QString error;
    if (!link.open(&error)) {
        PrintError(error);
        return kExitTrouble;
    }

    ParameterRun run(link.channel());
    run.setTimeoutMs(link.timeoutMs());
    QObject::connect(&run, &ParameterRun::rowFinished, &run, [&run](int index) {
        const RowOutcome &outcome = run.outcomes().at(index);
        ClearProgress();
        PrintLine(outcome.row->atName + QLatin1Char(' ') + OutcomeText(outcome));
    });
    const bool verify = !parser.isSet(QStringLiteral("no-verify"));
    const RunEnd end = ApplyProfile(run, profile, parser.isSet(QStringLiteral("all")), verify);
    if (!end.completed) {
        const auto notReached =
            std::count_if(run.outcomes().cbegin(), run.outcomes().cend(), [](const RowOutcome &outcome) {
                return outcome.state == RowOutcome::State::Waiting;
            });
        if (notReached > 0)
            PrintNote(
                Say(QStringLiteral("%1 rows not reached"), QStringLiteral("%1个参数未执行")).arg(notReached));
        PrintError(end.reason);
        return kExitTrouble;
    }
    const bool allHold = std::all_of(run.outcomes().cbegin(), run.outcomes().cend(), RowHolds);
    return allHold ? kExitOk : kExitSomeFailed;
}
