// Profile files of any content. Every problem names a line of the file (the file as a whole only when
// it is too large or when the list is cut short), both languages say that line first, and a problem's
// column points at the very character it names; accepted lines come in file order, one per row, each
// value one CheckProfileValue accepts; a profile without problems formats and parses back to the same
// rows. CheckProfileValue itself, on the input as one value for the row the first byte picks, judges it
// as the parser judges the line NAME=value, never accepts it with a blank added at either end, and
// survives any UTF-16 text, lone surrogates included.

#include "fuzz/FuzzTarget.h"
#include "protocol/Profile.h"

namespace fuzzprofiles {

// The lines the parser numbers: split at LF; a last LF starts no line.
QList<QByteArray> linesOf(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (bytes.isEmpty() || bytes.endsWith('\n'))
        lines.removeLast();
    return lines;
}

// A line as an editor shows it: without its CR, the first without its byte order mark.
QString shownText(QByteArray line, bool first)
{
    if (line.endsWith('\r'))
        line.chop(1);
    if (first && line.startsWith("\xEF\xBB\xBF"))
        line.remove(0, 3);
    return QString::fromUtf8(line);
}

// The character at a 1-based column counted in code points; empty past the end.
QString characterAt(const QString &text, int column)
{
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (++count == column)
            return text.mid(i, pair ? 2 : 1);
        if (pair)
            ++i;
    }
    return {};
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

void checkProblems(const Profile &profile, const QByteArray &bytes)
{
    const QList<QByteArray> lines = linesOf(bytes);
    QX_FUZZ_CHECK(profile.problems.size() <= kMaxProfileProblems + 1);
    int previous = 0;
    for (qsizetype i = 0; i < profile.problems.size(); ++i) {
        const ProfileProblem &problem = profile.problems[i];
        if (problem.kind == ProfileProblem::Kind::TooLarge) {
            QX_FUZZ_CHECK(bytes.size() > kMaxProfileBytes && profile.problems.size() == 1 &&
                          problem.line == 0);
            continue;
        }
        if (problem.kind == ProfileProblem::Kind::TooManyProblems) {
            QX_FUZZ_CHECK(i == kMaxProfileProblems && problem.line == 0);
            continue;
        }
        QX_FUZZ_CHECK(problem.line >= 1 && problem.line <= lines.size() && problem.line > previous);
        previous = problem.line;
        const bool column = problem.column > 0;
        const QString english =
            column ? QStringLiteral("line %1, column %2: ").arg(problem.line).arg(problem.column)
                   : QStringLiteral("line %1: ").arg(problem.line);
        QX_FUZZ_CHECK(problem.message().startsWith(english));
        if (column) {
            const QString line = shownText(lines[problem.line - 1], problem.line == 1);
            QX_FUZZ_CHECK(characterAt(line, problem.column) == problem.detail);
        }
    }
}

void checkLines(const Profile &profile, const QByteArray &bytes)
{
    const qsizetype lineCount = linesOf(bytes).size();
    int previous = 0;
    ModuleValues values;
    for (const ProfileLine &line : profile.lines) {
        QX_FUZZ_CHECK(line.row && line.line > previous && line.line <= lineCount);
        previous = line.line;
        QX_FUZZ_CHECK(!values.contains(line.row->atName));
        values.insert(line.row->atName, line.value);
        QX_FUZZ_CHECK(!CheckProfileValue(*line.row, line.value));
    }
    if (!profile.isValid())
        return;
    const Profile again = ParseProfile(FormatProfile(values, {QStringLiteral("again")}));
    QX_FUZZ_CHECK(again.isValid() && again.lines.size() == profile.lines.size());
    for (const ProfileLine &line : again.lines)
        QX_FUZZ_CHECK(values.value(line.row->atName) == line.value);
}

// The value as a line of its own would carry it: one UTF-8 line, no blank at either end.
bool fitsOneLine(const QByteArray &value)
{
    if (value.isEmpty() || value.size() > 4000 || isBlank(value.front()) || isBlank(value.back()))
        return false;
    if (value.contains('\n') || value.contains('\r') || value.contains('\0'))
        return false;
    return QString::fromUtf8(value).toUtf8() == value;
}

void checkValue(const ParameterRow &row, const QByteArray &value)
{
    const std::optional<ProfileProblem> found = CheckProfileValue(row, QString::fromUtf8(value));
    if (found) {
        QX_FUZZ_CHECK(found->line == 0 && !found->message().isEmpty());
        if (found->column > 0)
            QX_FUZZ_CHECK(characterAt(QString::fromUtf8(value), found->column) == found->detail);
    }
    // Dropping blanks at a value's ends changes no line that was accepted before: the row never
    // accepted them.
    const QString text = QString::fromUtf8(value);
    if (text.count(QLatin1Char('"')) % 2 == 0) {
        for (const QString &blank : {QStringLiteral(" "), QStringLiteral("\t")})
            QX_FUZZ_CHECK(CheckProfileValue(row, blank + text) && CheckProfileValue(row, text + blank));
    }
    if (!fitsOneLine(value))
        return;
    const QByteArray prefix = row.atName.toUtf8() + " = ";
    // Blanks after a quote left open would be part of the value.
    const QByteArray end = value.count('"') % 2 == 0 ? " \t\r\n" : "\r\n";
    const Profile profile = ParseProfile(prefix + value + end);
    if (!found) {
        QX_FUZZ_CHECK(profile.isValid() && profile.lines.size() == 1 && profile.lines.first().row == &row &&
                      profile.lines.first().value == QString::fromUtf8(value));
        return;
    }
    QX_FUZZ_CHECK(profile.problems.size() == 1 && profile.lines.isEmpty());
    const ProfileProblem &problem = profile.problems.first();
    QX_FUZZ_CHECK(problem.line == 1 && problem.kind == found->kind && problem.detail == found->detail);
    QX_FUZZ_CHECK(problem.column ==
                  (found->column > 0 ? found->column + static_cast<int>(prefix.size()) : 0));
}

} // namespace fuzzprofiles

QX_FUZZ_TARGET(profiles)
{
    using namespace fuzzprofiles;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const Profile profile = ParseProfile(bytes);
    checkProblems(profile, bytes);
    checkLines(profile, bytes);

    if (bytes.isEmpty())
        return 0;
    const std::vector<ParameterRow> &catalogue = ParameterCatalogue();
    const ParameterRow &row = catalogue[static_cast<unsigned char>(bytes[0]) % catalogue.size()];
    checkValue(row, bytes.mid(1));

    // Any UTF-16 text, as the window's fields may hold it.
    QString units;
    for (qsizetype i = 1; i + 1 < bytes.size(); i += 2)
        units += QChar(
            static_cast<char16_t>(static_cast<uchar>(bytes[i]) | static_cast<uchar>(bytes[i + 1]) << 8));
    if (const std::optional<ProfileProblem> found = CheckProfileValue(row, units)) {
        if (found->column > 0)
            QX_FUZZ_CHECK(characterAt(units, found->column) == found->detail);
    }
    return 0;
}
