#pragma once

// Cuts the byte stream of a serial or LAN link into commands and transparent data. Input may arrive
// torn anywhere or several commands at once; "+++" has no line end and is recognised when the line
// goes idle after it or when the next command starts.

#include <QByteArray>
#include <QList>

enum class Framing {
    Serial, // commands start with "AT" or are "+++"
    Lan,    // every command stands behind the prefix A8 81 01
};

struct StreamPiece {
    bool isCommand = false;
    QByteArray bytes; // a command without its line end, or data exactly as received
};

class CommandSplitter {
public:
    explicit CommandSplitter(Framing framing) : m_framing(framing) {}

    void feed(const QByteArray &bytes) { m_buffer += bytes; }
    // Everything that is complete; with idle set, nothing more is coming for now, so pieces that were
    // waiting for a possible continuation are settled.
    QList<StreamPiece> take(bool idle);
    bool hasPending() const { return !m_buffer.isEmpty(); }

private:
    bool takeSerial(bool idle, QList<StreamPiece> &pieces);
    bool takeLan(bool idle, QList<StreamPiece> &pieces);
    void cutData(qsizetype length, QList<StreamPiece> &pieces);
    void cutCommand(qsizetype length, qsizetype consumed, QList<StreamPiece> &pieces);

    Framing m_framing;
    QByteArray m_buffer;
};

// The commands inside one module frame: lines ended by CR LF; a last line may lack its end.
QList<QByteArray> splitCommandLines(const QByteArray &payload);
