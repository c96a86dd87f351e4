#include "support/SimProcess.h"

#include <QDeadlineTimer>
#include <QFile>

SimProcess::~SimProcess()
{
    stop();
}

QString SimProcess::executable()
{
    return qEnvironmentVariable("QXSIM");
}

bool SimProcess::start(const QStringList &arguments, QString *why)
{
    const QString exe = executable();
    if (exe.isEmpty() || !QFile::exists(exe)) {
        if (why)
            *why = QStringLiteral("qxsim not found (QXSIM=%1)").arg(exe);
        return false;
    }
    process_.start(exe, arguments);
    if (!process_.waitForStarted(5000)) {
        if (why)
            *why = QStringLiteral("qxsim did not start");
        return false;
    }
    QByteArray out;
    const QDeadlineTimer deadline(10000);
    while (!out.contains("READY\n")) {
        if (deadline.hasExpired() || process_.state() != QProcess::Running) {
            if (why)
                *why = QStringLiteral("qxsim did not get ready: ") +
                       QString::fromUtf8(process_.readAllStandardError());
            return false;
        }
        process_.waitForReadyRead(100);
        out += process_.readAllStandardOutput();
    }
    const auto portOf = [](const QByteArray &address) {
        return quint16(address.mid(address.lastIndexOf(':') + 1).toUInt());
    };
    for (const QByteArray &line : out.split('\n')) {
        const QByteArray value = line.mid(line.indexOf(' ') + 1).trimmed();
        if (line.startsWith("PTY "))
            pty_ = QString::fromUtf8(value);
        else if (line.startsWith("LAN "))
            lan_ = portOf(value);
        else if (line.startsWith("RELAY "))
            relay_ = portOf(value);
        else if (line.startsWith("UDP "))
            udp_ = portOf(value);
    }
    return true;
}

void SimProcess::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(3000)) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}
