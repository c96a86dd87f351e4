#pragma once

// What qxctl writes: results on stdout, everything for the user's eyes on stderr (errors, the
// progress line, the bytes on the wire with -v), in the user's language.

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// The language rule of a tool without a settings file: a Chinese locale gives the Chinese texts
// (main() installs the catalogues by it).
bool InChinese();

// The context of qxctl's texts in the catalogues: Qxctl::tr("...").
class Qxctl {
    Q_DECLARE_TR_FUNCTIONS(qxctl)
};

void PrintOut(const QByteArray &bytes);
void PrintLine(const QString &line);
// "qxctl: " + message, on stderr.
void PrintError(const QString &message);
// A note on stderr without the program's name.
void PrintNote(const QString &line);

// One line on stderr that rewrites itself, only when stderr is a terminal.
void ShowProgress(const QString &text);
void ClearProgress();

// Every byte on the wire, on stderr: direction, hex, and the printable text beside it.
void DumpTraffic(bool sent, const QByteArray &bytes);

// A reply as text for stdout: GBK decoded, line ends kept, every other control byte as <XX>.
QString ReplyText(const QByteArray &reply);
