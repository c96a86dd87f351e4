#include "ArgumentParsing.h"

#include "Terminal.h"

#include <cstdio>

namespace {
QString usageLine; // one subcommand per run
} // namespace

void DescribeSubcommand(QCommandLineParser &parser, const QString &subcommand, const QString &syntax,
                        const QString &description)
{
    parser.setApplicationDescription(description);
    parser.addHelpOption();
    usageLine = Qxctl::tr("Usage: qxctl %1 %2").arg(subcommand, syntax);
}

bool ParseArguments(QCommandLineParser &parser, const QStringList &arguments, int *exitCode)
{
    if (!parser.parse(arguments)) {
        *exitCode = UsageError(QString(), parser.errorText());
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        // Qt's usage line names the program by its path and knows nothing of subcommands.
        QString text = parser.helpText();
        text.replace(0, text.indexOf(QLatin1Char('\n')), usageLine);
        const QByteArray help = text.toUtf8();
        std::fwrite(help.constData(), 1, static_cast<size_t>(help.size()), stdout);
        std::fflush(stdout);
        *exitCode = kExitOk;
        return false;
    }
    return true;
}

int UsageError(const QString &subcommand, const QString &message)
{
    const QString help =
        subcommand.isEmpty() ? QStringLiteral("--help") : subcommand + QStringLiteral(" --help");
    PrintError(message + Qxctl::tr(" (see qxctl %1)").arg(help));
    return kExitTrouble;
}

bool ParseNumber(const QString &text, int minimum, int maximum, int *value)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < minimum || number > maximum)
        return false;
    *value = number;
    return true;
}
