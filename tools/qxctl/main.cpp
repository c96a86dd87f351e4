// qxctl: read, apply and compare QX5120 module profiles, send raw AT commands and find modules,
// from the command line.

#include "ArgumentParsing.h"
#include "Terminal.h"
#include "Tools.h"
#include "translations/Translations.h"

#include <QCoreApplication>
#include <cstdio>

namespace {
struct Subcommand {
    const char *name;
    int (*run)(const QStringList &arguments);
};

const Subcommand kSubcommands[] = {
    {"read", ReadTool}, {"apply", ApplyTool},       {"diff", DiffTool},
    {"send", SendTool}, {"discover", DiscoverTool},
};

QString overview()
{
    return Qxctl::tr(
        "Usage: qxctl SUBCOMMAND [options]\n"
        "\n"
        "  read     LINK [--json] [--only NAME,...]     print the module's parameters as a profile\n"
        "  apply    PROFILE LINK [--all] [--no-verify]  write a profile, read each row back\n"
        "  diff     PROFILE LINK                        rows where module and profile differ\n"
        "  send     LINK COMMAND...                     raw AT commands, one reply each\n"
        "  discover [--address ADDR] [--timeout MS]     find modules on the local network\n"
        "\n"
        "LINK: --serial DEVICE [--baud N] [--format 8N1] | --lan HOST[:PORT]\n"
        "      | --relay HOST[:PORT] --target ID[:ZONE] [--local ID[:ZONE]]\n"
        "      [--timeout MS] [-v]\n"
        "\n"
        "qxctl SUBCOMMAND --help tells more. Exit codes: 0 done, 1 some rows failed or differ,\n"
        "2 usage, profile or link error.\n");
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qxctl"));
    Translations::use(InChinese() ? Translations::chinese() : QString());

    QStringList arguments = QCoreApplication::arguments();
    const QString name = arguments.value(1);
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        PrintOut(overview().toUtf8());
        return kExitOk;
    }
    for (const Subcommand &subcommand : kSubcommands) {
        if (name == QLatin1String(subcommand.name)) {
            arguments.removeAt(1);
            return subcommand.run(arguments);
        }
    }
    PrintError(name.isEmpty() ? Qxctl::tr("give a subcommand")
                              : Qxctl::tr("unknown subcommand '%1'").arg(name));
    std::fputs(overview().toUtf8().constData(), stderr);
    return kExitTrouble;
}
