#include "protocol/ParameterReading.h"

#include "protocol/ReplyInterpreter.h"
#include "protocol/SetValue.h"

RowReading TakeReadReply(const ParameterRow &row, const QByteArray &reply, FieldModel &model)
{
    model.clearRow(row);
    const ReplyEffects effects =
        interpretReply(ReplyContext{row.readCode(), QString(), false, ReplyRoad::Tcp}, reply);
    model.apply(effects.fields);
    if (effects.failure)
        return {RowReading::Result::Unreadable, QString(), effects.failure->message()};
    if (!effects.status)
        return {RowReading::Result::Refused, QString(), ReplyForReport(reply)};

    const SetValue value = ComposeSetValue(row, model.rowValues(row));
    if (!value.isSendable())
        return {RowReading::Result::NotSendable, QString(), value.refusal(false)};
    return {RowReading::Result::Read, value.text, QString()};
}

SetVerdict JudgeSetReply(const ParameterRow &row, const QByteArray &reply)
{
    switch (AcknowledgementVerdict(row.setCode, reply)) {
    case AckVerdict::Success:
        return SetVerdict::Accepted;
    case AckVerdict::Failure:
        return SetVerdict::Refused;
    case AckVerdict::Neither:
        break;
    }
    return SetVerdict::Unclear;
}

QString ReplyForReport(const QByteArray &reply)
{
    constexpr qsizetype kShown = 200;
    QString text;
    for (const char byte : reply.left(kShown)) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 0x20 && code < 0x7F)
            text += QLatin1Char(byte);
        else if (byte == '\r' || byte == '\n')
            continue; // the line ends of every answer say nothing
        else
            text += QStringLiteral("<%1>").arg(code, 2, 16, QLatin1Char('0')).toUpper();
    }
    if (reply.size() > kShown)
        text += QStringLiteral("...");
    return text;
}
