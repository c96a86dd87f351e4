#pragma once

// The module's parameter catalogue as the module sees it: what each AT name holds, which values a set
// accepts, the form of the query answer and the key of each value in a remote parameter list.

#include <QByteArray>
#include <QList>
#include <vector>

enum class FieldKind {
    Int,    // decimal number within [min, max], stored without leading zeros
    Text,   // byte text of min..max bytes, no control characters
    Ip,     // dotted IPv4 address
    Mac,    // six hex pairs joined by ':', stored in lower case
    Digits, // exactly min decimal digits, leading zeros kept
    Baud,   // one of the module's baud rates
};

// How a value is written in a remote parameter list, where it differs from the stored form.
enum class RemoteForm {
    AsStored,
    StopBitsItem, // stored 1/2/3, listed as the item text "1"/"1.5"/"2"
};

struct FieldSpec {
    FieldKind kind;
    int min;
    int max;
    bool quoted;   // written in double quotes in the query answer
    int remoteKey; // key in a remote parameter list; 0 for none
    RemoteForm remoteForm;
    const char *factoryValue;
};

using ParameterValues = QList<QByteArray>; // one entry per field, in stored form

struct ParameterSpec {
    const char *name; // AT name, matched case-sensitively
    std::vector<FieldSpec> fields;
    bool (*crossCheck)(const ParameterValues &values); // nullptr when the fields are independent
};

const std::vector<ParameterSpec> &parameterTable();
const ParameterSpec *findParameter(const QByteArray &name);

ParameterValues factoryValues(const ParameterSpec &parameter);

// Splits and checks the value of a set (quotes around text fields are dropped). False when the module
// would refuse it.
bool parseSetValue(const ParameterSpec &parameter, const QByteArray &value, ParameterValues &values);

// The query answer without its line end: the bare value, or the fields joined by commas.
QByteArray formatQueryAnswer(const ParameterSpec &parameter, const ParameterValues &values);

// "key=value;" elements for the fields that have a remote key; empty when none has.
QByteArray formatRemoteList(const ParameterSpec &parameter, const ParameterValues &values);
