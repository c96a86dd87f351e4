#include "ArgumentParsing.h"
#include "Fleet.h"
#include "LinkSession.h"
#include "RunToEnd.h"
#include "Terminal.h"
#include "Tools.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {
const QString kCommand = QStringLiteral("read");
} // namespace

int ReadTool(const QStringList &arguments)
{
    QCommandLineParser parser;
    DescribeSubcommand(
        parser, kCommand,
        QStringLiteral("LINK... [--discovered] [--jobs N] [--json | --out DIR] [--only NAME,...]"),
        Qxctl::tr("Reads the module's parameters and prints them as a profile (NAME=value lines) "
                  "that qxctl apply takes back. Exit 0 when every row was read, 1 when some "
                  "failed (listed on stderr), 2 for usage and link errors."));
    LinkSession::addOptions(parser);
    parser.addOptions({
        {QStringLiteral("json"), Qxctl::tr("Print {\"values\": {NAME: value}, \"failures\": {NAME: why}}.")},
        {QStringLiteral("only"), Qxctl::tr("Read these rows only (AT names, comma-separated)."),
         QStringLiteral("NAME,...")},
        {QStringLiteral("out"), Qxctl::tr("Write each module's profile to DIR/DEVID.profile."),
         QStringLiteral("DIR")},
    });
    Fleet::addOptions(parser);
    int exitCode = kExitOk;
    if (!ParseArguments(parser, arguments, &exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty())
        return UsageError(
            kCommand, Qxctl::tr("unexpected argument '%1'").arg(parser.positionalArguments().constFirst()));

    QList<const ParameterRow *> rows;
    for (const QString &name :
         parser.value(QStringLiteral("only")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const ParameterRow *row = FindParameterByName(name.trimmed());
        if (!row)
            return UsageError(kCommand, Qxctl::tr("unknown parameter '%1'").arg(name.trimmed()));
        if (!rows.contains(row))
            rows << row;
    }

    if (Fleet::wanted(parser, parser.isSet(QStringLiteral("out"))))
        return ReadFleet(parser, rows);

    LinkSession link;
    QString error;
    if (!link.configure(parser, &error))
        return UsageError(kCommand, error);
    if (!link.open(&error)) {
        PrintError(error);
        return kExitTrouble;
    }

    ParameterRun run(link.channel());
    run.setTimeoutMs(link.timeoutMs());
    const RunEnd end = RunToEnd(run, [&run, &rows] { run.startRead(rows); });

    QStringList comments;
    QJsonObject failures;
    int notReached = 0;
    for (const RowOutcome &outcome : run.outcomes()) {
        if (outcome.state == RowOutcome::State::Read)
            continue;
        if (outcome.state == RowOutcome::State::Waiting) {
            ++notReached;
            continue;
        }
        const QString name = outcome.row->atName;
        PrintNote(name + QStringLiteral(": ") + OutcomeText(outcome));
        const QString detail = outcome.detail;
        failures.insert(name, detail.isEmpty() ? OutcomeText(outcome) : detail);
        // The module holds something a set command would refuse: the profile shows what, as a comment.
        if (outcome.unsendable)
            comments << name + QStringLiteral(": ") + detail;
    }
    if (!end.completed) {
        if (notReached > 0)
            PrintNote(Qxctl::tr("%1 rows not reached", "ReadTool").arg(notReached));
        PrintError(end.reason);
        return kExitTrouble; // a profile with rows missing for a lost link would mislead
    }
    if (parser.isSet(QStringLiteral("json"))) {
        QJsonObject values;
        const ModuleValues read = run.moduleValues();
        for (auto value = read.constBegin(); value != read.constEnd(); ++value)
            values.insert(value.key(), value.value());
        const QJsonObject result{{QStringLiteral("values"), values}, {QStringLiteral("failures"), failures}};
        PrintOut(QJsonDocument(result).toJson(QJsonDocument::Indented));
    } else {
        PrintOut(FormatProfile(run.moduleValues(), comments));
    }
    return failures.isEmpty() ? kExitOk : kExitSomeFailed;
}
