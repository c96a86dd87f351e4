#pragma once

// The console lines of a reply while it comes: the receive line with the reply's text and, with
// show-HEX on, its "HEX:" line, both opened with the first bytes and grown as more arrive, so that a
// stream that never pauses is on screen all the while and still one line per reply.

#include "protocol/ConsoleText.h"

#include <QObject>
#include <QString>

class ConsoleLog;

class ReplyLines final : public QObject {
    Q_OBJECT

public:
    ReplyLines(ConsoleLog *console, const QString &prefix, QObject *parent = nullptr);

    // first: these bytes begin a new reply (one still open is ended first).
    void grow(const QByteArray &bytes, bool first, bool showHex);
    void end();

private:
    ConsoleLog *console_;
    QString prefix_;
    ConsoleTextStream text_;
    int textLine_ = 0; // 0: no reply open
    int hexLine_ = 0;  // 0: none for this reply
};
