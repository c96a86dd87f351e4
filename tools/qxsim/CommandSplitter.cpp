#include "CommandSplitter.h"

namespace {

const QByteArray kLineEnd = "\r\n";
const QByteArray kLanPrefix = QByteArray::fromHex("A88101");
const QByteArray kEnterAtMode = "+++";
// A command line longer than this never ends; it is handed on as it stands rather than held forever.
constexpr qsizetype kMaxLine = 4096;

bool isProperPrefixOf(const QByteArray &head, const QByteArray &whole)
{
    return head.size() < whole.size() && whole.startsWith(head);
}

// Length of a tail of data that may be the start of the next command, to be held back until more arrives.
qsizetype heldBackTail(const QByteArray &data, const QByteArray &marker)
{
    for (qsizetype length = qMin(data.size(), marker.size() - 1); length > 0; --length) {
        if (marker.startsWith(data.right(length)))
            return length;
    }
    return 0;
}

} // namespace

QList<StreamPiece> CommandSplitter::take(bool idle)
{
    QList<StreamPiece> pieces;
    while (!m_buffer.isEmpty()) {
        const bool progressed =
            m_framing == Framing::Serial ? takeSerial(idle, pieces) : takeLan(idle, pieces);
        if (!progressed)
            break;
    }
    return pieces;
}

void CommandSplitter::cutData(qsizetype length, QList<StreamPiece> &pieces)
{
    pieces.append({false, m_buffer.left(length)});
    m_buffer.remove(0, length);
}

void CommandSplitter::cutCommand(qsizetype length, qsizetype consumed, QList<StreamPiece> &pieces)
{
    pieces.append({true, m_buffer.left(length)});
    m_buffer.remove(0, consumed);
}

bool CommandSplitter::takeSerial(bool idle, QList<StreamPiece> &pieces)
{
    if (m_buffer.startsWith(kEnterAtMode)) {
        const QByteArray rest = m_buffer.mid(kEnterAtMode.size());
        if (rest.isEmpty() || rest == "A") { // alone so far, or maybe "AT" is on its way
            if (!idle)
                return false;
            if (rest.isEmpty()) {
                cutCommand(kEnterAtMode.size(), kEnterAtMode.size(), pieces);
                return true;
            }
        } else if (rest.startsWith(kLineEnd)) { // typed by hand on a terminal
            cutCommand(kEnterAtMode.size(), kEnterAtMode.size() + kLineEnd.size(), pieces);
            return true;
        } else if (rest.startsWith("AT") || rest.startsWith(kEnterAtMode)) {
            cutCommand(kEnterAtMode.size(), kEnterAtMode.size(), pieces);
            return true;
        }
        // "+++" followed by anything else is plain data.
    } else if (m_buffer.startsWith("AT")) {
        const qsizetype end = m_buffer.indexOf(kLineEnd);
        if (end >= 0) {
            cutCommand(end, end + kLineEnd.size(), pieces);
            return true;
        }
        if (m_buffer.size() <= kMaxLine)
            return false;
        cutCommand(m_buffer.size(), m_buffer.size(), pieces);
        return true;
    } else if (isProperPrefixOf(m_buffer, "AT") || isProperPrefixOf(m_buffer, kEnterAtMode)) {
        if (!idle)
            return false;
    }
    // Data runs to the end of its line, so that a command on the next line is seen as one.
    const qsizetype end = m_buffer.indexOf(kLineEnd);
    cutData(end >= 0 ? end + kLineEnd.size() : m_buffer.size(), pieces);
    return true;
}

bool CommandSplitter::takeLan(bool idle, QList<StreamPiece> &pieces)
{
    if (m_buffer.startsWith(kLanPrefix)) {
        const qsizetype start = kLanPrefix.size();
        const QByteArray text = m_buffer.mid(start);
        if (text.startsWith(kEnterAtMode)) {
            const QByteArray rest = text.mid(kEnterAtMode.size());
            if (rest.isEmpty() && !idle)
                return false;
            const qsizetype lineEnd = rest.startsWith(kLineEnd) ? kLineEnd.size() : 0;
            m_buffer.remove(0, start);
            cutCommand(kEnterAtMode.size(), kEnterAtMode.size() + lineEnd, pieces);
            return true;
        }
        qsizetype end = text.indexOf(kLineEnd);
        const qsizetype nextPrefix = text.indexOf(kLanPrefix);
        if (nextPrefix >= 0 && (end < 0 || nextPrefix < end)) { // a command that lost its line end
            m_buffer.remove(0, start);
            cutCommand(nextPrefix, nextPrefix, pieces);
            return true;
        }
        if (end < 0) {
            if (text.size() <= kMaxLine)
                return false;
            end = text.size();
        }
        m_buffer.remove(0, start);
        cutCommand(end, qMin(end + kLineEnd.size(), m_buffer.size()), pieces);
        return true;
    }
    if (isProperPrefixOf(m_buffer, kLanPrefix)) {
        if (!idle)
            return false;
        cutData(m_buffer.size(), pieces);
        return true;
    }
    const qsizetype next = m_buffer.indexOf(kLanPrefix, 1);
    if (next >= 0) {
        cutData(next, pieces);
        return true;
    }
    const qsizetype held = idle ? 0 : heldBackTail(m_buffer, kLanPrefix);
    if (held == m_buffer.size())
        return false;
    cutData(m_buffer.size() - held, pieces);
    return true;
}

QList<QByteArray> splitCommandLines(const QByteArray &payload)
{
    QList<QByteArray> commands;
    qsizetype at = 0;
    while (at < payload.size()) {
        qsizetype end = payload.indexOf(kLineEnd, at);
        if (end < 0)
            end = payload.size();
        if (end > at)
            commands.append(payload.mid(at, end - at));
        at = end + kLineEnd.size();
    }
    return commands;
}
