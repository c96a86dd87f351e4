#include "AnswerQueue.h"

#include <utility>

namespace {

// NUL and 0xFF in front of an answer: the bytes that text handling most often gets wrong.
const QByteArray kGarbage = QByteArray::fromHex("00FF7E00FE");

} // namespace

AnswerQueue::AnswerQueue(const FaultOptions &faults, Writer writer, QObject *parent)
    : QObject(parent), m_faults(faults), m_writer(std::move(writer))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { run(true); });
}

void AnswerQueue::pushAnswer(const QByteArray &answer)
{
    if (m_closed)
        return;
    const QByteArray bytes = m_faults.garbage ? kGarbage + answer : answer;
    const qsizetype pieces = qMax<qsizetype>(1, qMin<qsizetype>(m_faults.pieces, bytes.size()));
    const bool closeAfter = m_faults.dropAfter > 0 && ++m_answers >= m_faults.dropAfter;
    qsizetype at = 0;
    for (qsizetype i = 0; i < pieces; ++i) {
        const qsizetype end = bytes.size() * (i + 1) / pieces;
        const bool last = i + 1 == pieces;
        m_steps.enqueue(
            {bytes.mid(at, end - at), i == 0 ? m_faults.delayMs : m_faults.pieceDelayMs, last && closeAfter});
        at = end;
    }
    m_closed = closeAfter;
    if (!m_timer.isActive())
        run(false);
}

void AnswerQueue::pushData(const QByteArray &data)
{
    if (m_closed)
        return;
    m_steps.enqueue({data, 0, false});
    if (!m_timer.isActive())
        run(false);
}

void AnswerQueue::run(bool delayServed)
{
    while (!m_steps.isEmpty()) {
        Step &head = m_steps.head();
        if (head.delayMs > 0 && !delayServed) {
            m_timer.start(head.delayMs);
            return;
        }
        delayServed = false;
        const Step step = m_steps.dequeue();
        m_writer(step.bytes);
        if (step.closeAfter) {
            m_steps.clear();
            Q_EMIT closeRequested();
            return;
        }
    }
}
