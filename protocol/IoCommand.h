#pragma once

// The IO control command: "AT+IOCTR=" and a five-character body sent twice, from the choices of one
// pin row.

#include <QByteArray>
#include <QString>

struct IoChoice {
    QString modeText; // the mode list's item ("I…", "O…", "N…"); its first letter is the mode
    int pullIndex;    // 0 pull-up, 1 floating, -1 nothing chosen
    int levelIndex;   // 0 low, 1 high, -1 nothing chosen
};

// The command without CR LF for row 1..8 and operation 'W' (write) or 'R' (read); empty when the
// choices the operation needs are missing.
QByteArray BuildIoCommand(const IoChoice &choice, int row, char operation);
