#pragma once

// Writes a connection's outgoing bytes in order, shaped by the fault options: a delay before each
// answer, answers cut into pieces with pauses between them, junk in front, and a close after the
// n-th answer. Echoed data keeps its place in the order but is never shaped.

#include "SimOptions.h"

#include <QByteArray>
#include <QObject>
#include <QQueue>
#include <QTimer>
#include <functional>

class AnswerQueue : public QObject {
    Q_OBJECT
public:
    using Writer = std::function<void(const QByteArray &)>;

    AnswerQueue(const FaultOptions &faults, Writer writer, QObject *parent);

    void pushAnswer(const QByteArray &answer);
    void pushData(const QByteArray &data);

Q_SIGNALS:
    // The n-th answer of --drop-after has been written in full.
    void closeRequested();

private:
    struct Step {
        QByteArray bytes;
        int delayMs = 0;
        bool closeAfter = false;
    };

    // delayServed: the timer fired, so the head step's delay has passed.
    void run(bool delayServed);

    FaultOptions m_faults;
    Writer m_writer;
    QQueue<Step> m_steps;
    QTimer m_timer;
    int m_answers = 0;
    bool m_closed = false;
};
