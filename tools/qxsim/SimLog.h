#pragma once

// Diagnostics on stderr: notices always, traffic only with -v. Stdout is kept for the listener lines.

#include <QByteArray>
#include <QString>

void setTrafficLogging(bool on);
// One line per command, answer or data block: link name, direction ("<-" in, "->" out), escaped bytes.
void logTraffic(const QString &link, const char *direction, const QByteArray &bytes);
void logNotice(const QString &text);
// Printable ASCII as is, CR and LF as \r \n, every other byte as \xHH.
QByteArray escapedBytes(const QByteArray &bytes);
