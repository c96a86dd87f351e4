#pragma once

// The module's serial line as a pseudo-terminal in raw mode. The tool (or a test) opens the slave
// side; the simulator serves the master side. Commands are plain text; anything else is
// transparent data and comes back as it went.

#include "AnswerQueue.h"
#include "CommandSplitter.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

class SimModule;

class PtyLink : public QObject {
    Q_OBJECT
public:
    PtyLink(SimModule &module, const FaultOptions &faults, QObject *parent);
    ~PtyLink() override;

    // linkPath: where to put a symlink to the slave; empty for none.
    bool open(const QString &linkPath, QString &error);
    const QString &slavePath() const { return m_slavePath; }

private:
    void readMaster();
    void handle(const QList<StreamPiece> &pieces);
    void write(const QByteArray &bytes);
    void flushUnsent();

    SimModule &m_module;
    int m_master = -1;
    // Held open so that the master never reports a hang-up while no client has the line open.
    int m_slave = -1;
    QString m_slavePath;
    QString m_linkPath;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    CommandSplitter m_splitter{Framing::Serial};
    QTimer m_idle;
    AnswerQueue m_output;
    QByteArray m_unsent;
};
