#pragma once

// The state one link to one module carries between a command and its reply: which link is active,
// how the module is addressed, and what the last command asked for, so that its reply is read by it.

#include "links/LinkSender.h"

#include <QString>

struct LinkSession {
    LinkRoute route;         // route.linkType is the active link; an unknown type sends nothing
    int cmdType = 0;         // the type code of the last command: its reply is read by it
    QString lastIoOperation; // "W" or "R" of the last IO command
};
