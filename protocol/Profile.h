#pragma once

// A module configuration as a text file: UTF-8, "#" comments, one parameter a line as NAME=value.
// NAME is a row's AT name; value is exactly what that row's set command sends after "=", quotes
// included. Blanks (spaces and tabs) around the name, around "=" and at the end of the line are not
// part of the profile, as people write INI-style files and editors leave blanks at line ends; blanks
// inside quotes are. (No row ever accepted a value with a blank at either end outside quotes: the
// module's answers, which a value must match, come trimmed.) A value is accepted only when the row would send
// it as it stands: read as the module's answer to the row's query, it fills the fields, and the fields give
// back the same text and pass the row's checks. So a profile sends nothing a set button could not send.

#include "protocol/ParameterCatalogue.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

inline constexpr qsizetype kMaxProfileBytes = 1024 * 1024;
inline constexpr qsizetype kMaxProfileLineBytes = 4096;
inline constexpr int kMaxProfileProblems = 100;

struct ProfileLine {
    int line = 0; // 1-based
    const ParameterRow *row = nullptr;
    QString value;
};

struct ProfileProblem {
    enum class Kind {
        TooLarge,      // the file, before any line is read
        NulByte,       // a 00 byte on the line
        NotUtf8,       // bytes that are not UTF-8 (GBK, for one)
        LineTooLong,   // more than kMaxProfileLineBytes
        NotAssignment, // no "=" or nothing before it
        UnknownName,   // detail: the name
        Duplicate,     // detail: the line of the first one
        Refused,       // detail: the row's warning, in the installed catalogue's language
        NotAsSent,     // detail: what the row would send instead
        NotGbk,        // detail: the first character GBK has no code for; column says where
        TooManyProblems,
    };

    int line = 0; // 0: the file as a whole (TooLarge, TooManyProblems)
    // Where on the line, for NotGbk: the 1-based count of characters (Unicode code points, a tab is
    // one) of the line as an editor shows it, from its first character through the name, blanks and
    // "=" to the one named; a byte order mark is not counted. From CheckProfileValue alone, the count
    // within the value. 0: the line as a whole.
    int column = 0;
    Kind kind;
    QString detail;

    // "line 3: ...", "line 1, column 23: ...", in the installed catalogue's language
    QString message() const;
};

struct Profile {
    QList<ProfileLine> lines; // in file order
    QList<ProfileProblem> problems;

    bool isValid() const { return problems.isEmpty(); }
    const ProfileLine *find(const ParameterRow *row) const;
};

// A module's values by AT name: the text each row's set command would send.
using ModuleValues = QMap<QString, QString>;

Profile ParseProfile(const QByteArray &bytes);
// Empty when the row would send value; otherwise the problem (line 0). value is taken as it stands,
// blanks included.
std::optional<ProfileProblem> CheckProfileValue(const ParameterRow &row, const QString &value);
// NAME=value lines without blanks, rows in catalogue order; comments lines (without "#") go first.
QByteArray FormatProfile(const ModuleValues &values, const QStringList &comments = {});

// The catalogue row of that AT name, case ignored, or nullptr.
const ParameterRow *FindParameterByName(const QString &name);
