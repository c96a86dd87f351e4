#pragma once

// Every field of the parameter pages, described once: its caption, whether it is a text field or a
// list, what it shows at start, what may be typed into it and the items of a list.

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

// The catalogue's context of the fields' labels and items.
inline constexpr char kFieldContext[] = "Field";

struct FieldDescription {
    Field field = Field::Count;
    const char *stem =
        nullptr; // objectName without "Edit"/"Box"; the row's buttons are stem + "ReadButton"...
    const char *label = nullptr; // English source text; the catalogue translates it under kFieldContext
    bool list = false;
    // text field
    QString startText;
    TypingRule filter = TypingRule::None;
    int maxLength = 0;
    // list
    QStringList items;
    // Non-empty: the items are these English source texts, which the catalogue translates under
    // kFieldContext with itemDisambiguation (the zone's items share their English with the switches'
    // items, not their Chinese). Empty: the items read the same in every language.
    std::vector<const char *> translatedItems;
    const char *itemDisambiguation = nullptr;
    int startIndex = -1;
};

// The fields in the order they stand on the pages.
const std::vector<FieldDescription> &FieldDescriptions();
const FieldDescription &DescriptionOf(Field field);
