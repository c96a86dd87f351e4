#pragma once

// The module's own TCP port on the local network: commands behind the prefix A8 81 01, answered as
// plain text; anything else is transparent data and comes back as it went.

#include "SimOptions.h"

#include <QTcpServer>

class SimModule;

class LanServer : public QObject {
    Q_OBJECT
public:
    LanServer(SimModule &module, const FaultOptions &faults, QObject *parent);

    bool listen(const ListenAddress &address, QString &error);
    QString boundAddress() const;

private:
    void acceptConnections();

    SimModule &m_module;
    FaultOptions m_faults;
    QTcpServer m_server;
};
