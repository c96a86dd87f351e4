#pragma once

// Pieces that arrive at given milliseconds and replies handed on at given milliseconds: the data of
// the tests that drive a reply rule on a clock of their own.

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QTest>

struct Piece {
    qint64 atMs;
    QByteArray bytes;
};

struct Delivery {
    qint64 atMs;
    QByteArray reply;
    bool operator==(const Delivery &other) const { return atMs == other.atMs && reply == other.reply; }
};

Q_DECLARE_METATYPE(QList<Piece>)
Q_DECLARE_METATYPE(QList<Delivery>)

namespace QTest {
template <> inline char *toString(const Delivery &delivery)
{
    const QByteArray text = QByteArray::number(delivery.atMs) + "ms, " +
                            QByteArray::number(delivery.reply.size()) +
                            " bytes:" + delivery.reply.left(40).toHex(' ');
    return qstrdup(text.constData());
}
} // namespace QTest
