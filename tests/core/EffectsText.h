#pragma once

// Reply effects as lines of text, for comparing with QCOMPARE: a failing row then shows what the
// reply changed and what was expected, one change per line, fields by name.

#include "protocol/ReplyEffects.h"

#include <QStringList>
#include <iterator>

inline QString fieldName(Field field)
{
    // clang-format off
    static const char *const kNames[] = {
        "WorkMode", "Dhcp",
        "ApSsid", "ApPassword", "ApChannel", "ApAuth", "ApIp", "ApMask", "ApGateway", "ApMac",
        "StaSsid", "StaPassword", "StaIp", "StaMask", "StaGateway", "StaMac", "StaName", "StaPwd",
        "Url",
        "LocalPort", "ServerIp", "ServerPort", "NetProtocol", "ClientProtocol", "Heartbeat", "DeviceId", "Zone",
        "ZoneValid",
        "Baud", "Parity", "DataBits", "StopBits", "RxTimeout", "RxMax", "DebugOutput",
        "ConnRemote", "PthServerEn", "CmdServerEn", "ServerTime", "CmdMaxConn", "PthMaxConn",
        "ListMemo", "ServerState", "WifiState", "CurrentStationIp", "Version"};
    // clang-format on
    static_assert(std::size(kNames) == static_cast<size_t>(Field::Count), "one name per field");
    return QLatin1String(kNames[static_cast<size_t>(field)]);
}

inline QString effectText(const FieldChange &change)
{
    const QString name = fieldName(change.field);
    switch (change.kind) {
    case FieldChange::Kind::Text:
        return QStringLiteral("%1 shows \"%2\"").arg(name, change.text);
    case FieldChange::Kind::ItemIndex:
        return QStringLiteral("%1 selects #%2").arg(name).arg(change.index);
    case FieldChange::Kind::ItemText:
        return QStringLiteral("%1 selects \"%2\"").arg(name, change.text);
    case FieldChange::Kind::ItemTextOrNone:
        return QStringLiteral("%1 selects \"%2\" or none").arg(name, change.text);
    case FieldChange::Kind::NoSelection:
        return QStringLiteral("%1 selects none").arg(name);
    case FieldChange::Kind::AppendLine:
        return QStringLiteral("%1 appends \"%2\"").arg(name, change.text);
    }
    return QStringLiteral("%1 ?").arg(name);
}

inline QString effectText(const IoChange &change)
{
    const char *const box = change.box == IoChange::Box::Mode   ? "mode"
                            : change.box == IoChange::Box::Pull ? "pull"
                                                                : "level";
    return QStringLiteral("io%1 %2 selects #%3").arg(change.row).arg(QLatin1String(box)).arg(change.index);
}

inline QStringList effectLines(const ReplyEffects &effects)
{
    QStringList lines;
    for (const FieldChange &change : effects.fields)
        lines << effectText(change);
    for (const IoChange &change : effects.io)
        lines << effectText(change);
    for (const QString &line : effects.console)
        lines << QStringLiteral("console: ") + line;
    if (effects.status)
        lines << QStringLiteral("status: ") + *effects.status;
    for (const ReplyBox &box : effects.boxes) {
        lines << (box.kind == ReplyBox::Kind::Warning ? QStringLiteral("warning box: ")
                                                      : QStringLiteral("error box: ")) +
                     box.text;
    }
    if (effects.failure)
        lines << QStringLiteral("stops at \"%1\"").arg(effects.failure->text);
    return lines;
}
