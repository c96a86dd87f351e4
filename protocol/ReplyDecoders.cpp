#include "protocol/ReplyDecoders.h"

#include "protocol/StrictInt.h"

#include <QStringDecoder>

QByteArray FirstField(const QByteArray &text)
{
    const qsizetype comma = text.indexOf(',');
    return comma < 0 ? text : text.left(comma);
}

QByteArray DropFirstField(const QByteArray &text)
{
    const qsizetype comma = text.indexOf(',');
    return comma < 0 ? QByteArray() : text.mid(comma + 1);
}

namespace {
// Position of the first comma outside double quotes, or -1.
qsizetype listSeparator(const QByteArray &text)
{
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == '"')
            quoted = !quoted;
        else if (text.at(i) == ',' && !quoted)
            return i;
    }
    return -1;
}
} // namespace

QByteArray FirstListField(const QByteArray &text)
{
    const qsizetype comma = listSeparator(text);
    return comma < 0 ? text : text.left(comma);
}

QByteArray DropFirstListField(const QByteArray &text)
{
    const qsizetype comma = listSeparator(text);
    return comma < 0 ? QByteArray() : text.mid(comma + 1);
}

QByteArray RemoveChar(const QByteArray &text, char ch)
{
    QByteArray out = text;
    out.replace(QByteArray(1, ch), QByteArray());
    return out;
}

QByteArray UpperForm(const QByteArray &text)
{
    return text.toUpper(); // Qt 6: ASCII letters only
}

QByteArray TrimmedForm(const QByteArray &text)
{
    const auto isLow = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isLow(text.at(begin)))
        ++begin;
    while (end > begin && isLow(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString AsciiUpper(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return out;
}

QString GbkText(const QByteArray &bytes)
{
    QStringDecoder gbk("GBK");
    QString text = gbk(bytes);
    // The decoder keeps a trailing lone lead byte back, waiting for its partner. A blank can never be
    // that partner, so feeding one flushes the byte out as U+FFFD; the blank itself is dropped again.
    text += gbk(QByteArrayView(" "));
    text.chop(1);
    return text;
}

int ReplyInt(const QByteArray &text)
{
    return StrToInt(GbkText(text));
}

QString ConnectionStateText(const QByteArray &text, bool chinese)
{
    if (text == "unconnected")
        return chinese ? QStringLiteral("未连接") : QStringLiteral("unconnected");
    if (text == "connected")
        return chinese ? QStringLiteral("连接成功") : QStringLiteral("connected");
    return QString();
}

int IoModeIndex(const QByteArray &letter)
{
    if (letter == "I")
        return 0;
    if (letter == "O")
        return 1;
    if (letter == "N")
        return 2;
    return -1;
}

int IoPullIndex(const QByteArray &letter)
{
    if (letter == "U")
        return 0;
    if (letter == "F")
        return 1;
    return -1;
}

int IoLevelIndex(const QByteArray &letter)
{
    if (letter == "0")
        return 0;
    if (letter == "1")
        return 1;
    return -1;
}
