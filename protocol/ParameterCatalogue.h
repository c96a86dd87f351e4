#pragma once

// The module's parameters, one row each: the AT command, its type codes, the fields that hold the
// value, how the value is formed and checked, and the captions of the status bar while it is under
// way. One generic set handler and one generic read handler serve every row; the reply parser finds the
// fields of a read by its code.

#include "protocol/Caption.h"
#include "protocol/Fields.h"
#include "protocol/ValueRules.h"

#include <vector>

// The group box a row stands in, page by page.
enum class ParameterGroup { WorkMode, Ap, Station, HttpUrl, Network, Serial, Switches };

struct FieldCheck {
    Field field;
    const CheckRule *rule;
};

struct ParameterRow {
    ParameterGroup group;
    QString atName;
    int setCode;
    bool quote; // BuildCommand wraps the value in double quotes
    std::vector<Field> fields;
    ValueRule value;
    std::vector<FieldCheck> checks; // in the order of the fields; the first failure is reported
    Caption setCaption;
    Caption readCaption;

    int readCode() const { return setCode + 100; }
};

// The 31 rows, in the order they stand on the pages.
const std::vector<ParameterRow> &ParameterCatalogue();
// The row whose set or read code this is, or nullptr.
const ParameterRow *FindParameterByCode(int code);
