#include "ArgumentParsing.h"
#include "LinkSession.h"
#include "ProfileFile.h"
#include "RunToEnd.h"
#include "Terminal.h"
#include "Tools.h"

#include <algorithm>

namespace {
const QString kCommand = QStringLiteral("apply");
} // namespace

int ApplyTool(const QStringList &arguments)
{
    QCommandLineParser parser;
    DescribeSubcommand(
        parser, kCommand, QStringLiteral("PROFILE LINK [--all] [--no-verify]"),
        Qxctl::tr("Writes a profile (\"-\": standard input) to the module: each row that differs "
                  "is set and read back. One line per row: NAME written, verified, same or "
                  "failed: why. A profile with problems sends nothing. Exit 0 when every row "
                  "holds the profile's value, 1 when some failed, 2 for usage, profile and "
                  "link errors."));
    parser.addPositionalArgument(QStringLiteral("PROFILE"),
                                 Qxctl::tr("Profile file, or - for standard input."));
    LinkSession::addOptions(parser);
    parser.addOptions({
        {QStringLiteral("all"), Qxctl::tr("Write every row, also those the module holds already.")},
        {QStringLiteral("no-verify"), Qxctl::tr("Do not read written rows back.")},
    });
    int exitCode = kExitOk;
    if (!ParseArguments(parser, arguments, &exitCode))
        return exitCode;
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
    const RunEnd end =
        RunToEnd(run, [&] { run.startApply(profile, {}, parser.isSet(QStringLiteral("all")), verify); });
    if (!end.completed) {
        const auto notReached =
            std::count_if(run.outcomes().cbegin(), run.outcomes().cend(), [](const RowOutcome &outcome) {
                return outcome.state == RowOutcome::State::Waiting;
            });
        if (notReached > 0)
            PrintNote(Qxctl::tr("%1 rows not reached").arg(notReached));
        PrintError(end.reason);
        return kExitTrouble;
    }
    for (const RowOutcome &outcome : run.outcomes()) {
        const bool holds = outcome.state == RowOutcome::State::Same ||
                           outcome.state == RowOutcome::State::Verified ||
                           outcome.state == RowOutcome::State::Written;
        if (!holds)
            return kExitSomeFailed;
    }
    return kExitOk;
}
