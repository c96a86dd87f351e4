#pragma once

// What one reply tells about one parameter row, for the tools that go through the rows without the
// window: the read-all run, the profile apply with its verification, the command-line tool.

#include "protocol/FieldModel.h"
#include "protocol/ParameterCatalogue.h"

#include <QByteArray>
#include <QString>

struct RowReading {
    enum class Result {
        Read,        // value holds what the row's set command would send
        NotSendable, // fields filled, but the set command would refuse them; detail says why
        Refused,     // the module answered ERROR
        Unreadable,  // a value that had to be a number was not; detail names it
    };

    Result result;
    QString value;
    QString detail; // why there is no value, in the installed catalogue's language
};

// Clears the row's fields in model, applies the reply (a text answer, or a module reply frame with the
// parameter list) and reads the row's value back from the fields.
RowReading TakeReadReply(const ParameterRow &row, const QByteArray &reply, FieldModel &model);

// The module's verdict on a set command, by the window's acknowledgement rule.
enum class SetVerdict { Accepted, Refused, Unclear };
SetVerdict JudgeSetReply(const ParameterRow &row, const QByteArray &reply);

// A reply for a report line: printable ASCII as it is, every other byte as <XX>, cut at 200 bytes.
QString ReplyForReport(const QByteArray &reply);
