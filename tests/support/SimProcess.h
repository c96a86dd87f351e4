#pragma once

// Runs the module simulator qxsim for a test and reads back where its links listen.

#include <QProcess>
#include <QString>
#include <QStringList>

class SimProcess {
public:
    SimProcess() = default;
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // Starts qxsim with the given options and waits for READY; false (with a reason) when it
    // cannot be run. Loopback listeners only: callers pass 127.0.0.1 addresses.
    bool start(const QStringList &arguments, QString *why = nullptr);
    void stop();

    QString ptyPath() const { return pty_; }
    quint16 lanPort() const { return lan_; }
    quint16 relayPort() const { return relay_; }
    quint16 udpPort() const { return udp_; }
    QByteArray log() { return process_.readAllStandardError(); }

    static QString executable();

private:
    QProcess process_;
    QString pty_;
    quint16 lan_ = 0;
    quint16 relay_ = 0;
    quint16 udp_ = 0;
};
