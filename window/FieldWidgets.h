#pragma once

// What a page field shows, read and emptied the same way by every handler.

#include "protocol/ValueRules.h"

#include <QString>

class QWidget;

// The text a field shows: a text field's text, a list's selected item ("" without selection).
QString fieldText(const QWidget *field);
// The text and, for a list, the selected position: what the value rules and checks see.
FieldValue fieldValue(const QWidget *field);
// Empties a field the way a read does: text to "", a list to no selection, a memo to no lines.
void clearField(QWidget *field);
