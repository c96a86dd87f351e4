#pragma once

// The command line of each subcommand: parsed with QCommandLineParser, with qxctl's exit codes.

#include <QCommandLineParser>
#include <QStringList>

enum ExitCode {
    kExitOk = 0,
    kExitSomeFailed = 1, // the run went through, but some rows failed or differ
    kExitTrouble = 2,    // bad usage, a bad profile, or the link failed: one line on stderr says which
};

// Sets the help text: "Usage: qxctl SUBCOMMAND SYNTAX" and the description.
void DescribeSubcommand(QCommandLineParser &parser, const QString &subcommand, const QString &syntax,
                        const QString &description);

// Parses arguments (the first is the program's name). --help prints the help and ends the program.
// False with *exitCode set after a usage error has been printed.
bool ParseArguments(QCommandLineParser &parser, const QStringList &arguments, int *exitCode);

// Prints a usage error with a pointer to --help; returns kExitTrouble.
int UsageError(const QString &subcommand, const QString &message);

// A whole number within [minimum, maximum] from an option's value; false for anything else.
bool ParseNumber(const QString &text, int minimum, int maximum, int *value);
