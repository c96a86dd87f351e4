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
    return Say(
        QStringLiteral(
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
            "2 usage, profile or link error.\n"),
        QStringLiteral("用法：qxctl 子命令 [选项]\n"
                       "\n"
                       "  read     LINK [--json] [--only NAME,...]     按配置文件格式输出模块参数\n"
                       "  apply    PROFILE LINK [--all] [--no-verify]  写入配置文件，逐个读回核对\n"
                       "  diff     PROFILE LINK                        列出模块与配置文件不同的参数\n"
                       "  send     LINK COMMAND...                     发送AT命令，输出各自的应答\n"
                       "  discover [--address ADDR] [--timeout MS]     搜索本地网络上的模块\n"
                       "\n"
                       "LINK: --serial DEVICE [--baud N] [--format 8N1] | --lan HOST[:PORT]\n"
                       "      | --relay HOST[:PORT] --target ID[:ZONE] [--local ID[:ZONE]]\n"
                       "      [--timeout MS] [-v]\n"
                       "\n"
                       "qxctl 子命令 --help 查看详细说明。退出码：0 完成，1 有参数失败或不同，\n"
                       "2 用法、配置文件或连接错误。\n"));
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
    PrintError(
        name.isEmpty()
            ? Say(QStringLiteral("give a subcommand"), QStringLiteral("请给出子命令"))
            : Say(QStringLiteral("unknown subcommand '%1'"), QStringLiteral("未知子命令“%1”")).arg(name));
    std::fputs(overview().toUtf8().constData(), stderr);
    return kExitTrouble;
}
