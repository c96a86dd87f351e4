#include "ArgumentParsing.h"
#include "LinkSession.h"
#include "ProfileFile.h"
#include "RunToEnd.h"
#include "Terminal.h"
#include "Tools.h"

namespace {
const QString kCommand = QStringLiteral("diff");
} // namespace

int DiffTool(const QStringList &arguments)
{
    QCommandLineParser parser;
    DescribeSubcommand(parser, kCommand, QStringLiteral("PROFILE LINK"),
                       Qxctl::tr("Reads the profile's rows from the module and prints each one "
                                 "that differs: NAME: module X, profile Y. Exit 0 when none "
                                 "differs, 1 when some do, 2 for usage, profile and link errors."));
    parser.addPositionalArgument(QStringLiteral("PROFILE"),
                                 Qxctl::tr("Profile file, or - for standard input."));
    LinkSession::addOptions(parser);
    int exitCode = kExitOk;
    if (!ParseArguments(parser, arguments, &exitCode))
        return exitCode;
    LinkSession link;
    Profile profile;
    if (const std::optional<int> stop = PrepareProfileRun(kCommand, parser, link, profile))
        return *stop;
    QString error;
    QList<const ParameterRow *> rows;
    for (const ProfileLine &line : profile.lines)
        rows << line.row;
    if (rows.isEmpty())
        return kExitOk; // nothing to compare: the link is not even opened
    if (!link.open(&error)) {
        PrintError(error);
        return kExitTrouble;
    }

    ParameterRun run(link.channel());
    run.setTimeoutMs(link.timeoutMs());
    const RunEnd end = RunToEnd(run, [&run, &rows] { run.startRead(rows); });
    if (!end.completed) {
        PrintError(end.reason);
        return kExitTrouble;
    }
    int differences = 0;
    for (const RowOutcome &outcome : run.outcomes()) {
        const QString wanted = profile.find(outcome.row)->value;
        if (outcome.state == RowOutcome::State::Read && outcome.moduleValue == wanted)
            continue;
        ++differences;
        const QString held = outcome.moduleValue ? *outcome.moduleValue
                                                 : QLatin1Char('(') + OutcomeText(outcome) + QLatin1Char(')');
        PrintLine(Qxctl::tr("%1: module %2, profile %3").arg(outcome.row->atName, held, wanted));
    }
    return differences == 0 ? kExitOk : kExitSomeFailed;
}
