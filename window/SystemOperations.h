#pragma once

// The one-shot operations of the second page: each sends "AT+NAME" with no value, some after a
// Yes/No question, and empties the place its answer will be written to first.

#include "protocol/Fields.h"
#include "window/Captions.h"

#include <optional>
#include <vector>

enum class OperationGroup { System, Base };

struct SystemOperation {
    OperationGroup group;
    const char *objectName; // of its button
    ShownText button;
    ShownText question; // empty: no confirmation
    QString atName;
    int code;
    ShownText status;
    std::optional<Field> cleared; // emptied before sending; also where the answer shows
};

// The ten operations, in the order of their buttons.
const std::vector<SystemOperation> &SystemOperations();
