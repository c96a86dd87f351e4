#pragma once

// Every field of the parameter pages, described once: its caption, whether it is a text field or a
// list, what it shows at start, what may be typed into it and the items of a list.

#include "protocol/Caption.h"
#include "protocol/Fields.h"

#include <QStringList>
#include <vector>

// What a text field lets the user type; text that arrives by paste or from a reply is not filtered.
enum class TypingRule {
    None,
    Digits,   // 0-9
    Address,  // 0-9 and "."
    HexColon, // 0-9, ":", A-F, a-f
};

struct FieldDescription {
    Field field = Field::Count;
    const char *stem =
        nullptr; // objectName without "Edit"/"Box"; the row's buttons are stem + "ReadButton"...
    Caption label;
    bool list = false;
    // text field
    QString startText;
    TypingRule filter = TypingRule::None;
    int maxLength = 0;
    // list
    QStringList items;
    QStringList englishItems; // empty: the items stay as they are in English
    int startIndex = -1;
};

// The fields in the order they stand on the pages.
const std::vector<FieldDescription> &FieldDescriptions();
const FieldDescription &DescriptionOf(Field field);
