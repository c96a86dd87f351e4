#pragma once

// One accepted TCP connection of the LAN port or the relay server: reads, the idle timer that settles
// input waiting for a possible continuation, ordered fault-shaped output, and clean-up on disconnect.

#include "AnswerQueue.h"

#include <QObject>
#include <QTcpSocket>
#include <QTimer>

class TcpSession : public QObject {
    Q_OBJECT
public:
    // The session becomes a child of the socket and dies with it.
    TcpSession(QTcpSocket *socket, const FaultOptions &faults, const QString &linkName);

protected:
    virtual void received(const QByteArray &bytes) = 0;
    virtual void wentIdle() = 0;
    virtual bool hasPendingInput() const = 0;

    void answer(const QByteArray &bytes);
    void echo(const QByteArray &bytes);
    const QString &linkName() const { return m_linkName; }

private:
    void readAvailable();

    QTcpSocket *m_socket;
    QString m_linkName;
    AnswerQueue m_output;
    QTimer m_idle;
};
