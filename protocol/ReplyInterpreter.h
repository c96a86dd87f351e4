#pragma once

// The meaning of a received text. Replies are not matched to requests: a text is read by the type code
// of the last command built, and a module reply frame (A8 81 ...) by its own function code. The result
// is what the text changes; the window applies it.

#include "protocol/ReplyEffects.h"

#include <QByteArray>
#include <QString>

// The road a reply came by. It decides what a value that does not convert leads to: the general error
// box on the serial road, nothing more on the TCP road.
enum class ReplyRoad { Serial, Tcp };

// What the interpretation reads besides the text: the state the last commands left.
struct ReplyContext {
    int typeCode = 0;        // of the last command built
    QString lastIoOperation; // of the last IO command: "R" words the remote result lines as a read
    bool chinese = false;    // messages, status texts and console lines in Chinese
    ReplyRoad road = ReplyRoad::Tcp;
};

ReplyEffects interpretReply(const ReplyContext &context, const QByteArray &text);

// The verdict of an acknowledgement (mode commands, operations, set commands) by the rule that picks
// its console line; Neither for a type code that is not acknowledged or a text with neither word.
enum class AckVerdict { Success, Failure, Neither };
AckVerdict AcknowledgementVerdict(int typeCode, const QByteArray &text);
