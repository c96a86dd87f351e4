#pragma once

// What the reply rules of the links ask of the bytes gathered so far.

#include <QByteArray>

// A module reply frame begins A8 81 and has no end mark of its own; a lone A8 may be the first byte of
// one whose second byte is still on its way.
inline bool MayBeReplyFrame(const QByteArray &bytes)
{
    return bytes.startsWith("\xA8\x81") || bytes == QByteArrayLiteral("\xA8");
}

// A text answer that has reached its CR LF: something besides line ends came, so a blank line in
// front of an answer does not end it.
inline bool EndsAtLineEnd(const QByteArray &bytes)
{
    if (!bytes.endsWith("\r\n") || MayBeReplyFrame(bytes))
        return false;
    for (const char c : bytes) {
        if (c != '\r' && c != '\n')
            return true;
    }
    return false;
}
