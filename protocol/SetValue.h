#pragma once

// The value a parameter row's set command carries after "=", from what its fields hold: the one
// composition behind the set buttons, the profiles and the command-line tool, so that a profile line
// sends exactly what the button would.

#include "protocol/CommandBuilder.h"
#include "protocol/ParameterCatalogue.h"

#include <QString>

struct SetValue {
    QString text;                  // quotes included when the row wraps its value
    const char *warning = nullptr; // why the fields cannot be sent (a CheckRules text); nullptr when they can

    bool isSendable() const { return warning == nullptr; }
    // The warning in the installed catalogue's language.
    QString refusal() const;
};

// Runs the row's checks on its fields (in the row's field order) and, when they pass, forms the value.
SetValue ComposeSetValue(const ParameterRow &row, const RowValues &fields);

// "AT+NAME=value" CR LF as the set button sends it, value as ComposeSetValue gave it, with the row's
// set code.
BuiltCommand SetCommand(const ParameterRow &row, const QString &valueText);
// "AT+NAME=?" CR LF with the row's read code.
BuiltCommand ReadCommand(const ParameterRow &row);
