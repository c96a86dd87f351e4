#pragma once

// The relay server on the Internet side: takes relay frames, hands the command of a module frame to
// the addressed module and returns the answer on the same connection, as text or as a module reply
// frame. Frames that fail their checks are counted and ignored.

#include "SimOptions.h"

#include <QTcpServer>

class ModuleRegistry;

class RelayServer : public QObject {
    Q_OBJECT
public:
    RelayServer(ModuleRegistry &modules, const SimOptions &options, QObject *parent);

    bool listen(const ListenAddress &address, QString &error);
    QString boundAddress() const;
    int badFrames() const { return m_badFrames; }

private:
    void acceptConnections();
    void countBadFrame(const QString &why);

    ModuleRegistry &m_modules;
    FaultOptions m_faults;
    bool m_replyFrames;
    int m_badFrames = 0;
    QTcpServer m_server;
};
