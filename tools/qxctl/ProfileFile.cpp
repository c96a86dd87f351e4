#include "ProfileFile.h"

#include "ArgumentParsing.h"
#include "LinkSession.h"
#include "Terminal.h"

#include <QFile>

bool LoadProfile(const QString &path, Profile *profile, QString *error)
{
    QFile file;
    const bool standardInput = path == QLatin1String("-");
    const bool opened = standardInput ? file.open(stdin, QIODevice::ReadOnly) : [&file, &path] {
        file.setFileName(path);
        return file.open(QIODevice::ReadOnly);
    }();
    if (!opened) {
        *error = Qxctl::tr("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    // One byte more than the limit is enough for the parser to call the file too large.
    QByteArray bytes;
    while (bytes.size() <= kMaxProfileBytes) {
        const QByteArray piece = file.read(kMaxProfileBytes + 1 - bytes.size());
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (file.error() != QFileDevice::NoError) {
        *error = Qxctl::tr("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    *profile = ParseProfile(bytes);
    return true;
}

void PrintProfileProblems(const QString &path, const Profile &profile)
{
    for (const ProfileProblem &problem : profile.problems)
        PrintNote(path + QStringLiteral(": ") + problem.message());
    PrintError(Qxctl::tr("%1 has problems; nothing was sent").arg(path));
}

std::optional<int> PrepareProfileRun(const QString &subcommand, const QCommandLineParser &parser,
                                     LinkSession &link, Profile &profile)
{
    return PrepareProfileRun(
        subcommand, parser,
        [&]() -> std::optional<int> {
            QString error;
            if (!link.configure(parser, &error))
                return UsageError(subcommand, error);
            return std::nullopt;
        },
        profile);
}

std::optional<int> PrepareProfileRun(const QString &subcommand, const QCommandLineParser &parser,
                                     const std::function<std::optional<int>()> &configureLinks,
                                     Profile &profile)
{
    if (parser.positionalArguments().size() != 1)
        return UsageError(subcommand, Qxctl::tr("give one PROFILE"));
    if (const std::optional<int> stop = configureLinks())
        return stop;
    return LoadValidProfile(parser.positionalArguments().constFirst(), profile);
}

std::optional<int> LoadValidProfile(const QString &path, Profile &profile)
{
    QString error;
    if (!LoadProfile(path, &profile, &error)) {
        PrintError(error);
        return kExitTrouble;
    }
    if (!profile.isValid()) {
        PrintProfileProblems(path, profile);
        return kExitTrouble;
    }
    return std::nullopt;
}
