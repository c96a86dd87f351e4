#pragma once

// Answers the tool's discovery datagrams: one identifying text per simulated module, sent back to the
// sender's address and port.

#include "SimOptions.h"

#include <QUdpSocket>

class ModuleRegistry;

class DiscoveryResponder : public QObject {
    Q_OBJECT
public:
    DiscoveryResponder(ModuleRegistry &modules, QObject *parent);

    bool bind(const ListenAddress &address, QString &error);
    QString boundAddress() const;

private:
    void answerPending();

    ModuleRegistry &m_modules;
    QUdpSocket m_socket;
};
