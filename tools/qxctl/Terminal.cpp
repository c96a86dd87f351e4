#include "Terminal.h"

#include <QLocale>
#include <QStringDecoder>
#include <cstdio>
#include <unistd.h>

namespace {
bool progressShown = false;

void write(FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

void writeError(const QString &line)
{
    ClearProgress();
    write(stderr, line.toUtf8() + '\n');
}

QByteArray hexRow(const QByteArray &row)
{
    constexpr int kRowBytes = 16;
    QByteArray text = row.toHex(' ').toUpper().leftJustified(kRowBytes * 3, ' ');
    for (const char byte : row) {
        const auto code = static_cast<unsigned char>(byte);
        text += code >= 0x20 && code < 0x7F ? byte : '.';
    }
    return text;
}
} // namespace

bool InChinese()
{
    static const bool chinese = QLocale().language() == QLocale::Chinese;
    return chinese;
}

void PrintOut(const QByteArray &bytes)
{
    write(stdout, bytes);
}

void PrintLine(const QString &line)
{
    write(stdout, line.toUtf8() + '\n');
}

void PrintError(const QString &message)
{
    writeError(QStringLiteral("qxctl: ") + message);
}

void PrintNote(const QString &line)
{
    writeError(line);
}

void ShowProgress(const QString &text)
{
    if (!::isatty(STDERR_FILENO))
        return;
    write(stderr, "\r\033[K" + text.toUtf8());
    progressShown = true;
}

void ClearProgress()
{
    if (!progressShown)
        return;
    write(stderr, "\r\033[K");
    progressShown = false;
}

void DumpTraffic(bool sent, const QByteArray &bytes, const QString &link)
{
    constexpr int kRowBytes = 16;
    const QByteArray name = link.isEmpty() ? QByteArray() : link.toUtf8() + ' ';
    const QByteArray arrow = sent ? "-> " : "<- ";
    QByteArray text;
    for (qsizetype at = 0; at < bytes.size(); at += kRowBytes)
        text += name + (at == 0 ? arrow : QByteArray("   ")) + hexRow(bytes.mid(at, kRowBytes)) + '\n';
    ClearProgress();
    write(stderr, text);
}

QString ReplyText(const QByteArray &reply)
{
    // Module text is GBK; a frame or bytes that are not GBK are shown byte by byte.
    QStringDecoder gbk("GBK");
    QString decoded = gbk(reply);
    if (gbk.hasError() || reply.contains(QByteArrayLiteral("\xA8\x81"))) {
        decoded.clear();
        for (const char byte : reply) {
            const auto code = static_cast<unsigned char>(byte);
            decoded += code < 0x80 ? QString(QLatin1Char(byte))
                                   : QStringLiteral("<%1>").arg(code, 2, 16, QLatin1Char('0')).toUpper();
        }
    }
    QString text;
    for (qsizetype at = 0; at < decoded.size(); ++at) {
        const QChar c = decoded.at(at);
        if (c == QLatin1Char('\r') && at + 1 < decoded.size() && decoded.at(at + 1) == QLatin1Char('\n'))
            continue;
        if (c == QLatin1Char('\n') || !(c.unicode() < 0x20 || c.unicode() == 0x7F))
            text += c;
        else
            text += QStringLiteral("<%1>").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
    }
    return text;
}
