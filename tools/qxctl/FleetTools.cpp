// read, apply and diff over a Fleet: what each module's run starts with, and the lines it ends with.
// Text lines start with the link's name; --json gives one object per module, one line each, as the
// modules finish.

#include "ArgumentParsing.h"
#include "Fleet.h"
#include "ProfileFile.h"
#include "RunToEnd.h"
#include "Terminal.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>

namespace {
using State = RowOutcome::State;

const QString kJson = QStringLiteral("json");

// A row's state for scripts, the same in every language.
QString stateKey(State state)
{
    switch (state) {
    case State::Waiting:
        return QStringLiteral("not reached");
    case State::Read:
        return QStringLiteral("read");
    case State::NotRead:
        return QStringLiteral("not read");
    case State::Same:
        return QStringLiteral("same");
    case State::Written:
        return QStringLiteral("written");
    case State::Verified:
        return QStringLiteral("verified");
    case State::Failed:
        break;
    }
    return QStringLiteral("failed");
}

QString detailOf(const RowOutcome &outcome)
{
    return outcome.detail;
}

void printLinePer(const QString &link, const QByteArray &text)
{
    for (const QByteArray &line : text.split('\n')) {
        if (!line.isEmpty())
            PrintOut(link.toUtf8() + ' ' + line + '\n');
    }
}

// The end of every module's report: a lost or refused link on stderr, the JSON object on stdout. The
// module's exit code: code, or kExitTrouble when the link failed.
int endModule(const ModuleResult &module, int code, bool json, QJsonObject object)
{
    if (!module.linkError.isEmpty()) {
        const auto notReached =
            module.run
                ? std::count_if(module.run->outcomes().cbegin(), module.run->outcomes().cend(),
                                [](const RowOutcome &outcome) { return outcome.state == State::Waiting; })
                : 0;
        if (notReached > 0)
            PrintNote(module.link.name + QStringLiteral(": ") +
                      Qxctl::tr("%1 rows not reached").arg(notReached));
        PrintNote(module.link.name + QStringLiteral(": ") + module.linkError);
        object.insert(QStringLiteral("error"), module.linkError);
        code = kExitTrouble;
    }
    if (json) {
        object.insert(QStringLiteral("link"), module.link.name);
        PrintOut(QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
    }
    return code;
}

std::optional<int> prepareProfile(const QString &subcommand, const QCommandLineParser &parser, Fleet &fleet,
                                  Profile &profile)
{
    return PrepareProfileRun(
        subcommand, parser, [&] { return fleet.configure(subcommand, parser); }, profile);
}

// Profiles by DEVID in one folder; a DEVID seen twice in a run keeps the first module's profile.
class ProfileFolder {
public:
    explicit ProfileFolder(const QString &path) : dir_(path) {}

    bool create() const { return !dir_.path().isEmpty() && QDir().mkpath(dir_.path()); }
    QString path() const { return dir_.path(); }

    // The file written, or empty with *code and *why set.
    QString write(const ModuleValues &values, const QByteArray &profile, int *code, QString *why)
    {
        static const QRegularExpression plainName(QStringLiteral("^[0-9A-Za-z_-]{1,64}$"));
        const QString devid = values.value(QStringLiteral("DEVID"));
        *code = kExitSomeFailed;
        if (!plainName.match(devid).hasMatch()) {
            *why = Qxctl::tr("no DEVID read; no profile written");
            return QString();
        }
        if (written_.contains(devid)) {
            *why = Qxctl::tr("DEVID %1 was read from another module too; its profile was not written "
                             "again")
                       .arg(devid);
            return QString();
        }
        QSaveFile file(dir_.filePath(devid + QStringLiteral(".profile")));
        if (!file.open(QIODevice::WriteOnly) || file.write(profile) != profile.size() || !file.commit()) {
            *code = kExitTrouble;
            *why = Qxctl::tr("cannot write %1: %2").arg(file.fileName(), file.errorString());
            return QString();
        }
        written_.insert(devid);
        *code = kExitOk;
        return file.fileName();
    }

private:
    QDir dir_;
    QSet<QString> written_;
};
} // namespace

int ReadFleet(const QCommandLineParser &parser, QList<const ParameterRow *> rows)
{
    const QString command = QStringLiteral("read");
    Fleet fleet;
    if (const std::optional<int> stop = fleet.configure(command, parser))
        return *stop;
    const bool json = parser.isSet(kJson);
    std::optional<ProfileFolder> folder;
    if (parser.isSet(QStringLiteral("out"))) {
        folder.emplace(parser.value(QStringLiteral("out")));
        if (!folder->create()) {
            PrintError(Qxctl::tr("cannot create the folder %1").arg(folder->path()));
            return kExitTrouble;
        }
        // The file is named by the module's DEVID, so it is read whatever --only says.
        const ParameterRow *devid = FindParameterByName(QStringLiteral("DEVID"));
        if (!rows.isEmpty() && !rows.contains(devid))
            rows << devid;
    }

    return fleet.run(
        {[&rows](ParameterRun &run) { run.startRead(rows); },
         [&](const ModuleResult &module) {
             const QString &link = module.link.name;
             QStringList comments;
             QJsonObject failures;
             for (const RowOutcome &outcome : module.run ? module.run->outcomes() : QList<RowOutcome>()) {
                 if (outcome.state == State::Read || outcome.state == State::Waiting)
                     continue;
                 const QString name = outcome.row->atName;
                 PrintNote(link + QLatin1Char(' ') + name + QStringLiteral(": ") + OutcomeText(outcome));
                 failures.insert(name,
                                 detailOf(outcome).isEmpty() ? OutcomeText(outcome) : detailOf(outcome));
                 // What the module holds and a set would refuse shows as a comment.
                 if (outcome.unsendable)
                     comments << name + QStringLiteral(": ") + detailOf(outcome);
             }
             int code = failures.isEmpty() ? kExitOk : kExitSomeFailed;
             QJsonObject object{{QStringLiteral("failures"), failures}};
             // A profile with rows missing for a lost link would mislead: none is given.
             if (module.linkError.isEmpty()) {
                 const ModuleValues values = module.run->moduleValues();
                 const QByteArray profile = FormatProfile(values, comments);
                 QJsonObject read;
                 for (auto value = values.constBegin(); value != values.constEnd(); ++value)
                     read.insert(value.key(), value.value());
                 object.insert(QStringLiteral("values"), read);
                 if (folder) {
                     int written = kExitOk;
                     QString why;
                     const QString file = folder->write(values, profile, &written, &why);
                     code = std::max(code, written);
                     if (file.isEmpty())
                         PrintNote(link + QStringLiteral(": ") + why);
                     else if (json)
                         object.insert(QStringLiteral("file"), file);
                     else
                         PrintLine(link + QLatin1Char(' ') + file);
                 } else if (!json) {
                     printLinePer(link, profile);
                 }
             }
             return endModule(module, code, json, object);
         }});
}

int ApplyFleet(const QCommandLineParser &parser)
{
    Fleet fleet;
    Profile profile;
    if (const std::optional<int> stop = prepareProfile(QStringLiteral("apply"), parser, fleet, profile))
        return *stop;
    const bool writeAll = parser.isSet(QStringLiteral("all"));
    const bool verify = !parser.isSet(QStringLiteral("no-verify"));
    const bool json = parser.isSet(kJson);

    return fleet.run({[&](ParameterRun &run) { run.startApply(profile, {}, writeAll, verify); },
                      [json](const ModuleResult &module) {
                          int code = kExitOk;
                          QJsonObject rows;
                          for (const RowOutcome &outcome :
                               module.run ? module.run->outcomes() : QList<RowOutcome>()) {
                              if (outcome.state == State::Waiting)
                                  continue;
                              if (outcome.state != State::Same && outcome.state != State::Verified &&
                                  outcome.state != State::Written)
                                  code = kExitSomeFailed;
                              QJsonObject row{{QStringLiteral("result"), stateKey(outcome.state)}};
                              if (!detailOf(outcome).isEmpty())
                                  row.insert(QStringLiteral("detail"), detailOf(outcome));
                              rows.insert(outcome.row->atName, row);
                              if (!json)
                                  PrintLine(module.link.name + QLatin1Char(' ') + outcome.row->atName +
                                            QLatin1Char(' ') + OutcomeText(outcome));
                          }
                          return endModule(module, code, json, {{QStringLiteral("rows"), rows}});
                      }});
}

int DiffFleet(const QCommandLineParser &parser)
{
    Fleet fleet;
    Profile profile;
    if (const std::optional<int> stop = prepareProfile(QStringLiteral("diff"), parser, fleet, profile))
        return *stop;
    const bool json = parser.isSet(kJson);
    QList<const ParameterRow *> rows;
    for (const ProfileLine &line : profile.lines)
        rows << line.row;
    if (rows.isEmpty())
        return kExitOk; // nothing to compare: no link is even opened

    return fleet.run(
        {[&rows](ParameterRun &run) { run.startRead(rows); },
         [&profile, json](const ModuleResult &module) {
             QJsonObject differences;
             for (const RowOutcome &outcome : module.run ? module.run->outcomes() : QList<RowOutcome>()) {
                 const QString wanted = profile.find(outcome.row)->value;
                 if (outcome.state == State::Waiting ||
                     (outcome.state == State::Read && outcome.moduleValue == wanted))
                     continue;
                 QJsonObject difference{{QStringLiteral("module"), outcome.moduleValue
                                                                       ? QJsonValue(*outcome.moduleValue)
                                                                       : QJsonValue()},
                                        {QStringLiteral("profile"), wanted}};
                 if (!outcome.moduleValue)
                     difference.insert(QStringLiteral("detail"), OutcomeText(outcome));
                 differences.insert(outcome.row->atName, difference);
                 if (!json)
                     PrintLine(module.link.name + QLatin1Char(' ') + DifferenceText(outcome, wanted));
             }
             return endModule(module, differences.isEmpty() ? kExitOk : kExitSomeFailed, json,
                              {{QStringLiteral("differences"), differences}});
         }});
}
