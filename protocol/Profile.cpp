#include "protocol/Profile.h"

#include "protocol/CommandBuilder.h"
#include "protocol/FieldModel.h"
#include "protocol/ParameterReading.h"
#include "protocol/SetValue.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const char *textOf(ProfileProblem::Kind kind)
{
    using K = ProfileProblem::Kind;
    switch (kind) {
    case K::TooLarge:
        return QT_TRANSLATE_NOOP("Profile", "the file is larger than 1 MiB");
    case K::NulByte:
        return QT_TRANSLATE_NOOP("Profile", "the line holds a 00 byte");
    case K::NotUtf8:
        return QT_TRANSLATE_NOOP("Profile", "the line is not UTF-8 text");
    case K::LineTooLong:
        return QT_TRANSLATE_NOOP("Profile", "the line is longer than 4096 bytes");
    case K::NotAssignment:
        return QT_TRANSLATE_NOOP("Profile", "not NAME=value");
    case K::UnknownName:
        return QT_TRANSLATE_NOOP("Profile", "unknown parameter");
    case K::Duplicate:
        return QT_TRANSLATE_NOOP("Profile", "given twice, first on line %1");
    case K::Refused:
        return QT_TRANSLATE_NOOP("Profile", "value refused");
    case K::NotAsSent:
        return QT_TRANSLATE_NOOP("Profile", "the module would be sent");
    case K::NotGbk:
        return QT_TRANSLATE_NOOP("Profile", "\"%1\" (U+%2) cannot be sent: the module takes GBK text");
    case K::TooManyProblems:
        return QT_TRANSLATE_NOOP("Profile", "too many problems; the rest are not listed");
    }
    return "";
}

ProfileProblem problem(int line, ProfileProblem::Kind kind, const QString &detail = QString())
{
    return ProfileProblem{line, 0, kind, detail};
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The length of a character (one UTF-16 unit or a surrogate pair) starting at i.
qsizetype characterAt(QStringView text, qsizetype i)
{
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

qsizetype characterCount(QStringView text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); i += characterAt(text, i))
        ++count;
    return count;
}

// The first character GBK cannot carry, as a NotGbk problem with its column in text; the encoder
// would send "?" in its place.
std::optional<ProfileProblem> firstNotGbk(const QString &text)
{
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    if (QString(decoder(encoder(text))) == text)
        return std::nullopt;
    int column = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = characterAt(text, i);
        const QString character = text.mid(i, length);
        ++column;
        if (QString(decoder(encoder(character))) != character) {
            ProfileProblem found = problem(0, ProfileProblem::Kind::NotGbk, character);
            found.column = column;
            return found;
        }
        i += length;
    }
    return std::nullopt;
}

bool isUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    return !decoder.hasError();
}

bool isComment(const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    return trimmed.isEmpty() || trimmed.startsWith('#');
}

} // namespace

QString ProfileProblem::message() const
{
    QString what = QCoreApplication::translate("Profile", textOf(kind));
    if (kind == Kind::Duplicate) {
        what = what.arg(detail);
    } else if (kind == Kind::NotGbk) {
        // A lone surrogate is named as itself, not as the replacement character.
        const uint code = detail.size() == 2 ? QChar::surrogateToUcs4(detail[0], detail[1])
                          : detail.isEmpty() ? 0u
                                             : detail[0].unicode();
        what = what.arg(detail, QStringLiteral("%1").arg(code, 4, 16, QLatin1Char('0')).toUpper());
    } else if (!detail.isEmpty()) {
        what = kind == Kind::UnknownName || kind == Kind::Refused ? detail + QStringLiteral(": ") + what
                                                                  : what + QLatin1Char(' ') + detail;
    }
    if (line == 0 && column == 0)
        return what;
    if (column == 0)
        return QCoreApplication::translate("Profile", "line %1: %2").arg(line).arg(what);
    if (line == 0)
        return QCoreApplication::translate("Profile", "column %1: %2").arg(column).arg(what);
    return QCoreApplication::translate("Profile", "line %1, column %2: %3").arg(line).arg(column).arg(what);
}

const ProfileLine *Profile::find(const ParameterRow *row) const
{
    for (const ProfileLine &line : lines) {
        if (line.row == row)
            return &line;
    }
    return nullptr;
}

const ParameterRow *FindParameterByName(const QString &name)
{
    for (const ParameterRow &row : ParameterCatalogue()) {
        if (row.atName.compare(name, Qt::CaseInsensitive) == 0)
            return &row;
    }
    return nullptr;
}

std::optional<ProfileProblem> CheckProfileValue(const ParameterRow &row, const QString &value)
{
    // The module would get "?" for such a character; say which one rather than show the "?".
    if (std::optional<ProfileProblem> found = firstNotGbk(value))
        return found;
    // The value is read the way the module's answer to the row's query is read; the fields it fills
    // must give the same text back and pass the row's checks.
    // The module answers without the quotes that the set command puts around a whole value.
    const QLatin1Char quote('"');
    const bool wrapped = value.size() >= 2 && value.startsWith(quote) && value.endsWith(quote);
    const QString answer = row.quote && wrapped ? value.mid(1, value.size() - 2) : value;
    FieldModel model;
    const RowReading reading = TakeReadReply(row, ToWire(answer), model);
    switch (reading.result) {
    case RowReading::Result::Read:
        if (reading.value == value)
            return std::nullopt;
        return problem(0, ProfileProblem::Kind::NotAsSent, row.atName + QLatin1Char('=') + reading.value);
    case RowReading::Result::NotSendable: {
        const SetValue refused = ComposeSetValue(row, model.rowValues(row));
        return problem(0, ProfileProblem::Kind::Refused, refused.refusal());
    }
    case RowReading::Result::Refused:
    case RowReading::Result::Unreadable:
        break;
    }
    return problem(0, ProfileProblem::Kind::Refused, reading.detail);
}

Profile ParseProfile(const QByteArray &bytes)
{
    Profile profile;
    if (bytes.size() > kMaxProfileBytes) {
        profile.problems << problem(0, ProfileProblem::Kind::TooLarge);
        return profile;
    }
    auto report = [&profile](const ProfileProblem &found) {
        if (profile.problems.size() < kMaxProfileProblems)
            profile.problems << found;
        else if (profile.problems.size() == kMaxProfileProblems)
            profile.problems << problem(0, ProfileProblem::Kind::TooManyProblems);
    };

    QMap<const ParameterRow *, int> firstLine;
    int number = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArray line = bytes.mid(start, end - start);
        start = end + 1;
        ++number;
        if (line.endsWith('\r'))
            line.chop(1);
        if (number == 1 && line.startsWith("\xEF\xBB\xBF"))
            line.remove(0, 3); // an editor's byte order mark

        if (line.size() > kMaxProfileLineBytes) {
            report(problem(number, ProfileProblem::Kind::LineTooLong));
            continue;
        }
        if (line.contains('\0')) {
            report(problem(number, ProfileProblem::Kind::NulByte));
            continue;
        }
        if (!isUtf8(line)) {
            report(problem(number, ProfileProblem::Kind::NotUtf8));
            continue;
        }
        if (isComment(line))
            continue;
        const QString text = QString::fromUtf8(line);
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        const QString name = text.left(qMax<qsizetype>(equals, 0)).trimmed();
        if (equals < 0 || name.isEmpty()) {
            report(problem(number, ProfileProblem::Kind::NotAssignment));
            continue;
        }
        const ParameterRow *row = FindParameterByName(name);
        if (!row) {
            report(problem(number, ProfileProblem::Kind::UnknownName, name));
            continue;
        }
        if (firstLine.contains(row)) {
            report(problem(number, ProfileProblem::Kind::Duplicate, QString::number(firstLine.value(row))));
            continue;
        }
        firstLine.insert(row, number);
        qsizetype begin = equals + 1;
        while (begin < text.size() && isBlank(text[begin]))
            ++begin;
        qsizetype last = text.size();
        while (last > begin && isBlank(text[last - 1]))
            --last;
        // Blanks inside a quote left open are part of the value (which is then refused as it stands).
        if (QStringView(text).mid(begin, last - begin).count(QLatin1Char('"')) % 2 != 0)
            last = text.size();
        const QString value = text.mid(begin, last - begin);
        if (std::optional<ProfileProblem> found = CheckProfileValue(*row, value)) {
            found->line = number;
            if (found->column > 0)
                found->column += static_cast<int>(characterCount(QStringView(text).left(begin)));
            report(*found);
            continue;
        }
        profile.lines << ProfileLine{number, row, value};
    }
    return profile;
}

QByteArray FormatProfile(const ModuleValues &values, const QStringList &comments)
{
    QByteArray text;
    for (const QString &comment : comments)
        text += "# " + comment.toUtf8() + '\n';
    for (const ParameterRow &row : ParameterCatalogue()) {
        const auto found = values.constFind(row.atName);
        if (found != values.constEnd())
            text += row.atName.toUtf8() + '=' + found->toUtf8() + '\n';
    }
    return text;
}
