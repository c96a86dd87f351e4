#pragma once

// The module's parameters, one row each: the AT command, its type codes, the fields that hold the
// value, how the value is formed and checked, the captions of the status bar while it is under way,
// how the module's answer to the query fills the fields, and the keys of the fields in the module's
// parameter list (the reply frames of the Internet link). One generic set handler, one generic read
// handler and one reply handler serve every row.

#include "protocol/Fields.h"
#include "protocol/ValueRules.h"

#include <vector>

// The group box a row stands in, page by page.
enum class ParameterGroup { WorkMode, Ap, Station, HttpUrl, Network, Serial, Switches };

struct FieldCheck {
    Field field;
    const CheckRule *rule;
};

// How the answer to a row's query, the bare value, fills the row's fields.
enum class ReplyForm {
    ItemText,    // the first list selects the item equal to the trimmed value
    Text,        // the first field shows the value as it is
    Index,       // the value is the first list's position
    IndexMinus1, // the value minus one is the first list's position
    Mac,         // quotes removed, ASCII upper case
    SerialFormat,
    StationConfig,
    ApInfo,
    StationAddresses,
    ApAddresses,
};

// How a value of the module's parameter list ("key=value;...") fills one field.
enum class RemoteForm { Text, Index, IndexMinus1, ItemText };

struct RemoteKey {
    const char *key;
    Field field;
    RemoteForm form;
};

// The catalogue's contexts of the rows' captions.
inline constexpr char kSetCaptionContext[] = "ParameterSet";
inline constexpr char kReadCaptionContext[] = "ParameterRead";

struct ParameterRow {
    ParameterGroup group;
    QString atName;
    int setCode;
    bool quote; // BuildCommand wraps the value in double quotes
    std::vector<Field> fields;
    ValueRule value;
    std::vector<FieldCheck> checks; // in the order of the fields; the first failure is reported
    // The status bar's captions while the row's set or read is under way: English source texts that
    // the catalogue translates under kSetCaptionContext and kReadCaptionContext (a set and a read
    // caption may share their English, not their Chinese).
    const char *setCaption;
    const char *readCaption;
    ReplyForm reply;
    std::vector<RemoteKey> remoteKeys; // none: the list never carries the row

    int readCode() const { return setCode + 100; }
};

// The 31 rows, in the order they stand on the pages.
const std::vector<ParameterRow> &ParameterCatalogue();
// The row whose set or read code this is, or nullptr.
const ParameterRow *FindParameterByCode(int code);
// The field of a parameter-list key and how its value fills it, or nullptr.
const RemoteKey *FindRemoteKey(const QByteArray &key);
