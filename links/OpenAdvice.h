#pragma once

// What the user can do about a serial device that would not open, in this platform's terms. The
// settings dialog shows it after its own failure text; the serial layer's messages stay as they are.

#include "links/SerialLink.h"

#include <QString>

// Empty when there is nothing to add: only a device this user may not open has a cure to name.
QString OpenFailureAdvice(SerialLink::Refusal refusal, const QString &device, bool english);
