// Where a TCP reply ends, on a clock the test drives: text at its CR LF, a module reply frame once the
// quiet time has passed after its last byte whatever the segments, data per read event in data mode,
// and nothing past 64 KiB. No event loop runs, so no real time plays a part.

#include "TimedPieces.h"
#include "links/TcpReplyFramer.h"

#include <QTimer>
#include <QtTest>

namespace {

// A parameter reply frame: A8 81 | module ID | zone | 09 | 00 | checksum | payload.
const QByteArray kFrame = QByteArray::fromHex("A881313233343536373839303130303031090000") + "+OK=x,y\r\n";
const QByteArray kBig(40000, 'a');
} // namespace

class TcpReplyFramerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void repliesEnd_data();
    void repliesEnd();
};

void TcpReplyFramerTest::repliesEnd_data()
{
    QTest::addColumn<bool>("dataMode");
    QTest::addColumn<QList<Piece>>("pieces");
    QTest::addColumn<QList<Delivery>>("replies");
    QTest::addColumn<int>("tooLong");

    QTest::newRow("text at its CR LF") << false << QList<Piece>{{0, "OK\r\n"}, {5, "IP=1\r\n"}}
                                       << QList<Delivery>{{0, "OK\r\n"}, {5, "IP=1\r\n"}} << 0;
    QTest::newRow("text in pieces") << false << QList<Piece>{{0, "+IP="}, {40, "1.2\r\n"}}
                                    << QList<Delivery>{{40, "+IP=1.2\r\n"}} << 0;
    QTest::newRow("torn CR LF") << false << QList<Piece>{{0, "OK\r"}, {20, "\n"}}
                                << QList<Delivery>{{20, "OK\r\n"}} << 0;
    QTest::newRow("text without line end")
        << false << QList<Piece>{{0, "OK"}} << QList<Delivery>{{134, "OK"}} << 0;
    QTest::newRow("frame in one piece")
        << false << QList<Piece>{{0, kFrame}} << QList<Delivery>{{134, kFrame}} << 0;
    QTest::newRow("frame in two pieces, gap below quiet time")
        << false << QList<Piece>{{0, kFrame.left(10)}, {133, kFrame.mid(10)}}
        << QList<Delivery>{{267, kFrame}} << 0;
    QTest::newRow("frame torn after A8, data mode")
        << true << QList<Piece>{{0, kFrame.left(1)}, {50, kFrame.mid(1)}} << QList<Delivery>{{184, kFrame}}
        << 0;
    QTest::newRow("frame in five pieces") << false << [] {
        QList<Piece> pieces;
        for (int i = 0; i < 5; ++i)
            pieces.append({i * 100, kFrame.mid(i * 6, i == 4 ? -1 : 6)});
        return pieces;
    }() << QList<Delivery>{{534, kFrame}} << 0;
    // The rest on its own is text with a line end: it goes at once.
    QTest::newRow("gap above quiet time parts a frame")
        << false << QList<Piece>{{0, kFrame.left(20)}, {135, kFrame.mid(20)}}
        << QList<Delivery>{{134, kFrame.left(20)}, {135, kFrame.mid(20)}} << 0;
    QTest::newRow("data per read event") << true << QList<Piece>{{0, "abc"}, {10, QByteArray("d\0e", 3)}}
                                         << QList<Delivery>{{0, "abc"}, {10, QByteArray("d\0e", 3)}} << 0;
    QTest::newRow("frame in data mode") << true << QList<Piece>{{0, kFrame.left(5)}, {60, kFrame.mid(5)}}
                                        << QList<Delivery>{{194, kFrame}} << 0;
    QTest::newRow("64 KiB kept") << false << QList<Piece>{{0, QByteArray(64 * 1024 - 2, 'a') + "\r\n"}}
                                 << QList<Delivery>{{0, QByteArray(64 * 1024 - 2, 'a') + "\r\n"}} << 0;
    QTest::newRow("past 64 KiB dropped until quiet")
        << false << QList<Piece>{{0, kBig}, {10, kBig}, {100, "x\r\n"}, {300, "OK\r\n"}}
        << QList<Delivery>{{300, "OK\r\n"}} << 1;
    QTest::newRow("past 64 KiB in data mode")
        << true << QList<Piece>{{0, kFrame + kBig + kBig}, {200, "z"}} << QList<Delivery>{{200, "z"}} << 1;
}

void TcpReplyFramerTest::repliesEnd()
{
    QFETCH(bool, dataMode);
    QFETCH(QList<Piece>, pieces);
    QFETCH(QList<Delivery>, replies);
    QFETCH(int, tooLong);

    qint64 now = 0;
    TcpReplyFramer framer([&now] { return now; });
    framer.setDataMode(dataMode);
    QList<Delivery> deliveries;
    int overflows = 0;
    connect(&framer, &TcpReplyFramer::replyReceived, this, [&](const QByteArray &reply) {
        deliveries.append({now, reply});
    });
    connect(&framer, &TcpReplyFramer::replyTooLong, this, [&overflows] { ++overflows; });

    // Checks every millisecond, as a timer firing early would: only an exceeded quiet time counts.
    qsizetype next = 0;
    for (now = 0; now <= pieces.last().atMs + 1000; ++now) {
        framer.checkQuiet();
        while (next < pieces.size() && pieces.at(next).atMs == now)
            framer.add(pieces.at(next++).bytes);
    }
    QCOMPARE(deliveries, replies);
    QCOMPARE(overflows, tooLong);
    QVERIFY(!framer.isHolding());
    QVERIFY(!framer.quietTimer()->isActive());
}

QTEST_GUILESS_MAIN(TcpReplyFramerTest)
#include "test_tcpreplyframer.moc"
