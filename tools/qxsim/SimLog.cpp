#include "SimLog.h"

#include <cstdio>

namespace {

bool g_traffic = false;

void writeLine(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

} // namespace

void setTrafficLogging(bool on)
{
    g_traffic = on;
}

void logTraffic(const QString &link, const char *direction, const QByteArray &bytes)
{
    if (g_traffic)
        writeLine("qxsim: " + link.toUtf8() + ' ' + direction + ' ' + escapedBytes(bytes));
}

void logNotice(const QString &text)
{
    writeLine("qxsim: " + text.toUtf8());
}

QByteArray escapedBytes(const QByteArray &bytes)
{
    QByteArray out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else if (byte >= 0x20 && byte < 0x7F)
            out += c;
        else
            out += "\\x" + QByteArray::number(byte, 16).rightJustified(2, '0');
    }
    return out;
}
