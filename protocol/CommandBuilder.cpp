#include "protocol/CommandBuilder.h"

#include <QStringEncoder>

QByteArray ToWire(const QString &text)
{
    QStringEncoder gbk("GBK");
    return gbk(text);
}

BuiltCommand BuildCommand(int typeCode, const QString &prefix, const QString &name, const QString &value,
                          bool quote)
{
    static const QByteArray crlf("\r\n");
    QByteArray command;
    if (prefix == QLatin1String("+++")) {
        command = "+++";
    } else if (name.isEmpty() && value.isEmpty()) {
        command = ToWire(prefix) + crlf;
    } else if (!value.isEmpty()) {
        const QByteArray shown = quote ? '"' + ToWire(value) + '"' : ToWire(value);
        command = ToWire(prefix) + '+' + ToWire(name) + '=' + shown + crlf;
    } else {
        command = ToWire(prefix) + '+' + ToWire(name) + crlf;
    }
    return {command, typeCode};
}
