#pragma once

// Frame headers written out byte by byte from the codec's layout, for tests that check what went on
// the wire without asking the code under test to build the expectation.

#include <QByteArray>

namespace Frames {

// Relay frame header: A8 83 | local ID 98765432109 | 00 00 00 01 send data | target ID 12345678901 |
// checksum of bytes 0..27.
inline QByteArray relay98765432109To12345678901()
{
    return QByteArray::fromHex("A883"
                               "3938373635343332313039"
                               "00000001"
                               "3132333435363738393031"
                               "B0");
}

// Relay frame header: A8 83 | local ID 10000000001 | 00 00 00 01 | target ID 13800138000 | checksum.
inline QByteArray relay10000000001To13800138000()
{
    return QByteArray::fromHex("A883"
                               "3130303030303030303031"
                               "00000001"
                               "3133383030313338303030"
                               "66");
}

// Relay frame header with the default IDs: A8 83 | local ID 00000000000 | 00 00 00 01 | target ID
// 00000000000 | checksum.
inline QByteArray relayDefaultIds()
{
    return QByteArray::fromHex("A883"
                               "3030303030303030303030"
                               "00000001"
                               "3030303030303030303030"
                               "4C");
}

// Module frame header: A8 81 | target ID 12345678901 | zone 0001 | 08 command | 01 zone valid |
// checksum of bytes 0..18.
inline QByteArray module12345678901Zone0001()
{
    return QByteArray::fromHex("A881"
                               "3132333435363738393031"
                               "30303031"
                               "08"
                               "01"
                               "31");
}

// Module frame header: A8 81 | target ID 13800138000 | zone 0571 | 08 | 01 | checksum.
inline QByteArray module13800138000Zone0571()
{
    return QByteArray::fromHex("A881"
                               "3133383030313338303030"
                               "30353731"
                               "08"
                               "01"
                               "27");
}

} // namespace Frames
