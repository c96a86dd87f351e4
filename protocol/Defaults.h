#pragma once

// Values this tool chose where the module's own tools left them open.

#include <QString>

// The maker's name shown in status panel 0 and the relay server's default address.
inline const QString kMakerNameEnglish = QStringLiteral("Qixin Networks");
inline const QString kMakerNameChinese = QStringLiteral("启信网络");
inline const QString kDefaultRelayAddress = QStringLiteral("127.0.0.1");
inline const QString kDefaultModuleAddress = QStringLiteral("192.168.16.1");
