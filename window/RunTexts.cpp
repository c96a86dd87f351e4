#include "window/RunTexts.h"

#include "links/ParameterRun.h"
#include "protocol/ParameterCatalogue.h"
#include "window/Language.h"

#include <QStringList>

namespace {
QString namedList(const QString &lead, const QStringList &names, bool chinese)
{
    if (names.isEmpty())
        return QString();
    return lead + names.join(InLanguage(chinese, QStringLiteral(", "), QStringLiteral("、")));
}

QString fullStop(bool chinese)
{
    return InLanguage(chinese, QStringLiteral("."), QStringLiteral("。"));
}
} // namespace

QString RowName(const ParameterRow &row, bool chinese)
{
    const QString &caption = row.readCaption.pick(!chinese);
    if (caption.compare(row.atName, Qt::CaseInsensitive) == 0)
        return caption;
    return caption + QStringLiteral(" (") + row.atName + QLatin1Char(')');
}

QString OutcomeText(const RowOutcome &outcome, bool runOver, bool chinese)
{
    using S = RowOutcome::State;
    switch (outcome.state) {
    case S::Waiting:
        return runOver ? InLanguage(chinese, QStringLiteral("not reached"), QStringLiteral("未执行"))
                       : QString();
    case S::Read:
        return QString();
    case S::NotRead:
        return InLanguage(chinese, QStringLiteral("not read: %1"), QStringLiteral("未读取：%1"))
            .arg(outcome.detail.pick(!chinese));
    case S::Same:
        return InLanguage(chinese, QStringLiteral("same, not written"), QStringLiteral("相同，未写入"));
    case S::Written:
        return InLanguage(chinese, QStringLiteral("written"), QStringLiteral("已写入"));
    case S::Verified:
        return InLanguage(chinese, QStringLiteral("written and verified"), QStringLiteral("已写入并验证"));
    case S::Failed:
        return InLanguage(chinese, QStringLiteral("failed: %1"), QStringLiteral("失败：%1"))
            .arg(outcome.detail.pick(!chinese));
    }
    return QString();
}

QString ReadAllSummary(const QList<RowOutcome> &outcomes, const RunEnd &end, bool chinese)
{
    int read = 0;
    QStringList failed;
    for (const RowOutcome &outcome : outcomes) {
        if (outcome.state == RowOutcome::State::Read)
            ++read;
        else if (outcome.state == RowOutcome::State::NotRead)
            failed << RowName(*outcome.row, chinese);
    }
    QString head;
    if (end.completed)
        head = InLanguage(chinese, QStringLiteral("Read all: "), QStringLiteral("读取全部："));
    else if (end.cancelled)
        head =
            InLanguage(chinese, QStringLiteral("Read all cancelled: "), QStringLiteral("读取全部已取消："));
    else
        head = InLanguage(chinese, QStringLiteral("Read all stopped (%1): "),
                          QStringLiteral("读取全部已中止（%1）："))
                   .arg(end.reason);
    return head +
           InLanguage(chinese, QStringLiteral("%1 of %2 parameters read"),
                      QStringLiteral("已读取%1/%2个参数"))
               .arg(read)
               .arg(outcomes.size()) +
           namedList(InLanguage(chinese, QStringLiteral("; not read: "), QStringLiteral("；读取失败：")),
                     failed, chinese) +
           fullStop(chinese);
}

QString ApplySummary(const QString &fileName, const QList<RowOutcome> &outcomes, const RunEnd &end,
                     bool chinese)
{
    using S = RowOutcome::State;
    int verified = 0;
    int written = 0;
    int same = 0;
    QStringList failed;
    for (const RowOutcome &outcome : outcomes) {
        if (outcome.state == S::Verified)
            ++verified;
        else if (outcome.state == S::Written)
            ++written;
        else if (outcome.state == S::Same)
            ++same;
        else if (outcome.state == S::Failed)
            failed << RowName(*outcome.row, chinese);
    }
    QString head;
    if (end.completed)
        head = InLanguage(chinese, QStringLiteral("Profile %1 applied: "),
                          QStringLiteral("配置文件 %1 已应用："))
                   .arg(fileName);
    else if (end.cancelled)
        head = InLanguage(chinese, QStringLiteral("Profile %1 cancelled: "),
                          QStringLiteral("配置文件 %1 已取消："))
                   .arg(fileName);
    else
        head = InLanguage(chinese, QStringLiteral("Profile %1 stopped (%2): "),
                          QStringLiteral("配置文件 %1 已中止（%2）："))
                   .arg(fileName, end.reason);
    return head +
           InLanguage(chinese, QStringLiteral("%1 written and verified, %2 written, %3 failed, %4 unchanged"),
                      QStringLiteral("已写入并验证%1个，已写入%2个，失败%3个，未改动%4个"))
               .arg(verified)
               .arg(written)
               .arg(failed.size())
               .arg(same) +
           namedList(InLanguage(chinese, QStringLiteral("; failed: "), QStringLiteral("；失败：")), failed,
                     chinese) +
           fullStop(chinese);
}
