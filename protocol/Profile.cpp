#include "protocol/Profile.h"

#include "protocol/CommandBuilder.h"
#include "protocol/FieldModel.h"
#include "protocol/ParameterReading.h"
#include "protocol/SetValue.h"

#include <QStringDecoder>

namespace {

struct ProblemText {
    const char16_t *english;
    const char16_t *chinese;
};

ProblemText textOf(ProfileProblem::Kind kind)
{
    using K = ProfileProblem::Kind;
    switch (kind) {
    case K::TooLarge:
        return {u"the file is larger than 1 MiB", u"文件大于1 MiB"};
    case K::NulByte:
        return {u"the line holds a 00 byte", u"该行含有00字节"};
    case K::NotUtf8:
        return {u"the line is not UTF-8 text", u"该行不是UTF-8文本"};
    case K::LineTooLong:
        return {u"the line is longer than 4096 bytes", u"该行超过4096字节"};
    case K::NotAssignment:
        return {u"not NAME=value", u"不是 名称=数值 的形式"};
    case K::UnknownName:
        return {u"unknown parameter", u"未知参数"};
    case K::Duplicate:
        return {u"given twice, first on line %1", u"重复，首次在第%1行"};
    case K::Refused:
        return {u"value refused", u"数值被拒绝"};
    case K::NotAsSent:
        return {u"the module would be sent", u"实际将发送"};
    case K::TooManyProblems:
        return {u"too many problems; the rest are not listed", u"问题太多，其余未列出"};
    }
    return {u"", u""};
}

ProfileProblem problem(int line, ProfileProblem::Kind kind, const QString &detail = QString(),
                       const QString &chinese = QString())
{
    return ProfileProblem{line, kind, detail, chinese.isEmpty() ? detail : chinese};
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

QString ProfileProblem::message(bool inChinese) const
{
    const ProblemText text = textOf(kind);
    QString what = QString::fromUtf16(inChinese ? text.chinese : text.english);
    const QString shown = inChinese ? chinese : detail;
    if (kind == Kind::Duplicate)
        what = what.arg(detail);
    else if (!shown.isEmpty())
        what = kind == Kind::UnknownName || kind == Kind::Refused ? shown + QStringLiteral(": ") + what
                                                                  : what + QLatin1Char(' ') + shown;
    if (line == 0)
        return what;
    return inChinese ? QStringLiteral("第%1行：%2").arg(line).arg(what)
                     : QStringLiteral("line %1: %2").arg(line).arg(what);
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
        return problem(0, ProfileProblem::Kind::Refused, refused.refusal(false), refused.refusal(true));
    }
    case RowReading::Result::Refused:
    case RowReading::Result::Unreadable:
        break;
    }
    return problem(0, ProfileProblem::Kind::Refused, reading.detail.en, reading.detail.cn);
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
        const qsizetype equals = line.indexOf('=');
        const QString name = QString::fromUtf8(line.left(qMax<qsizetype>(equals, 0))).trimmed();
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
        const QString value = QString::fromUtf8(line.mid(equals + 1));
        if (std::optional<ProfileProblem> found = CheckProfileValue(*row, value)) {
            found->line = number;
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
