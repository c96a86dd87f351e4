#pragma once

#include <QByteArray>
#include <QString>

// One command text of the module's AT language and its type code, which tells the reply parser what
// the next reply means. "+++" goes out bare; every other form ends in CR LF.
// Nothing is checked or escaped here: callers validate values first.
struct BuiltCommand {
    QByteArray bytes;
    int typeCode;
};

BuiltCommand BuildCommand(int typeCode, const QString &prefix, const QString &name, const QString &value,
                          bool quote);

// Text typed by the user goes on the wire as GBK.
QByteArray ToWire(const QString &text);
