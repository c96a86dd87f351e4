#include "ArgumentParsing.h"
#include "LinkSession.h"
#include "Terminal.h"
#include "Tools.h"
#include "links/ReplyGatherer.h"
#include "protocol/CommandBuilder.h"

#include <QEventLoop>
#include <QTimer>

namespace {
const QString kCommand = QStringLiteral("send");

// What the module is sent for one COMMAND: the text as GBK, CR LF after it; "+++" goes out bare, as
// the window's mode button sends it.
BuiltCommand rawCommand(const QString &text)
{
    const QByteArray bytes = ToWire(text);
    return BuiltCommand{text == QLatin1String("+++") ? bytes : bytes + "\r\n", 0};
}

enum class Wait { Reply, TimedOut, TooLong, LinkLost };

struct Answer {
    Wait how = Wait::TimedOut;
    QByteArray reply;
    QString reason;
};

Answer sendAndWait(OpenChannel *channel, const BuiltCommand &command, int timeoutMs)
{
    Answer answer;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    // A TCP reply goes on at its first line end; a status list sent in several pieces comes as several
    // replies. They are one answer while they follow each other closer than the serial quiet time, so
    // that no piece is taken for the next command's answer.
    const auto tooLong = [&] {
        answer = {Wait::TooLong, QByteArray(), QString()};
        loop.quit();
    };
    QObject::connect(channel, &CommandChannel::replyReceived, &loop, [&](const QByteArray &reply) {
        answer.how = Wait::Reply;
        answer.reply += reply;
        if (answer.reply.size() > CommandChannel::kMaxReplyBytes)
            tooLong(); // lines without pause would never end the answer
        else
            limit.start(ReplyGatherer::kDefaultQuietMs + 1);
    });
    QObject::connect(channel, &CommandChannel::replyTooLong, &loop, tooLong);
    QObject::connect(channel, &CommandChannel::linkLost, &loop, [&](const QString &reason) {
        answer = {Wait::LinkLost, QByteArray(), reason};
        loop.quit();
    });
    limit.start(timeoutMs);
    if (!channel->sendCommand(command)) {
        if (answer.how != Wait::LinkLost)
            answer = {Wait::LinkLost, QByteArray(),
                      Qxctl::tr("%1: the command could not be sent").arg(channel->destination())};
        return answer;
    }
    loop.exec();
    return answer;
}
} // namespace

int SendTool(const QStringList &arguments)
{
    QCommandLineParser parser;
    DescribeSubcommand(parser, kCommand, QStringLiteral("LINK COMMAND..."),
                       Qxctl::tr("Sends each COMMAND as it is, CR LF after it (\"+++\" bare), and "
                                 "prints the one reply it gets. Exit 0 when every command had a "
                                 "reply, 1 when some had none in time or one too long, 2 for usage and link "
                                 "errors."));
    parser.addPositionalArgument(QStringLiteral("COMMAND"),
                                 Qxctl::tr("An AT command, e.g. AT+BAUD=? or +++."));
    LinkSession::addOptions(parser);
    int exitCode = kExitOk;
    if (!ParseArguments(parser, arguments, &exitCode))
        return exitCode;
    const QStringList commands = parser.positionalArguments();
    if (commands.isEmpty())
        return UsageError(kCommand, Qxctl::tr("give a COMMAND"));

    LinkSession link;
    QString error;
    if (!link.configure(parser, &error))
        return UsageError(kCommand, error);
    if (!link.open(&error)) {
        PrintError(error);
        return kExitTrouble;
    }
    for (const QString &command : commands) {
        ShowProgress(Qxctl::tr("sending %1").arg(command));
        const Answer answer = sendAndWait(link.channel(), rawCommand(command), link.timeoutMs());
        ClearProgress();
        switch (answer.how) {
        case Wait::Reply: {
            QString text = ReplyText(answer.reply);
            if (!text.endsWith(QLatin1Char('\n')))
                text += QLatin1Char('\n');
            PrintOut(text.toUtf8());
            break;
        }
        case Wait::TimedOut:
            PrintNote(Qxctl::tr("%1: no reply within %2 ms").arg(command).arg(link.timeoutMs()));
            exitCode = kExitSomeFailed;
            break;
        case Wait::TooLong:
            PrintNote(Qxctl::tr("%1: reply too long (over 64 KiB)").arg(command));
            exitCode = kExitSomeFailed;
            break;
        case Wait::LinkLost:
            PrintError(answer.reason);
            return kExitTrouble;
        }
    }
    return exitCode;
}
