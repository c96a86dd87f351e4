// Where a serial reply ends, on a clock the test drives: pieces closer than the quiet time are one
// reply, the reply comes one millisecond after the quiet time is exceeded, and the timer runs only
// while a reply is being gathered. No event loop runs, so no real time plays a part.

#include "links/ReplyGatherer.h"

#include <QTimer>
#include <QtTest>
#include <optional>
#include <utility>

namespace {
struct Piece {
    qint64 atMs;
    QByteArray bytes;
};
struct Delivery {
    qint64 atMs;
    QByteArray reply;
    bool operator==(const Delivery &other) const { return atMs == other.atMs && reply == other.reply; }
};
} // namespace

Q_DECLARE_METATYPE(QList<Piece>)
Q_DECLARE_METATYPE(QList<Delivery>)

namespace QTest {
template <> char *toString(const Delivery &delivery)
{
    const QByteArray text = QByteArray::number(delivery.atMs) + "ms:" + delivery.reply.toHex(' ');
    return qstrdup(text.constData());
}
} // namespace QTest

namespace {
// A port that holds what the device sent until it is read, and a gatherer reading it on a fake clock.
struct Rig {
    qint64 now = 0;
    QByteArray port;
    QList<Delivery> deliveries;
    ReplyGatherer gatherer{[this] { return std::exchange(port, QByteArray()); }, [this] { return now; }};
    std::optional<qint64> dueMs; // when the quiet timer would fire

    Rig()
    {
        QObject::connect(&gatherer, &ReplyGatherer::replyComplete, &gatherer,
                         [this](const QByteArray &reply) {
                             deliveries.append({now, reply});
                         });
    }
    const QTimer *timer() const { return gatherer.quietTimer(); }

    // The device sends; the port reports it at once.
    void arrive(const QByteArray &bytes)
    {
        port += bytes;
        const bool wasActive = timer()->isActive();
        gatherer.readWaiting();
        if (!wasActive)
            noteTimer();
    }
    void fire()
    {
        gatherer.checkQuiet();
        noteTimer();
    }
    void noteTimer()
    {
        dueMs = timer()->isActive() ? std::optional<qint64>(now + timer()->interval()) : std::nullopt;
    }

    // Plays the pieces at their times and fires the timer when due, millisecond by millisecond.
    void play(const QList<Piece> &pieces, qint64 untilMs)
    {
        qsizetype next = 0;
        for (now = 0; now <= untilMs; ++now) {
            if (dueMs && *dueMs == now)
                fire();
            while (next < pieces.size() && pieces.at(next).atMs == now)
                arrive(pieces.at(next++).bytes);
        }
    }
};
} // namespace

class ReplyGathererTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void quietTimeEndsReplies_data();
    void quietTimeEndsReplies();
    void pieceWaitingAtTheDeadlineExtendsTheReply();
    void checkAtExactlyTheQuietTimeWaits();
    void bytesKeptWhole_data();
    void bytesKeptWhole();
    void timerRunsOnlyWhileGathering();
    void handlerFindsTheGathererIdle();
};

void ReplyGathererTest::quietTimeEndsReplies_data()
{
    QTest::addColumn<int>("quietMs");
    QTest::addColumn<QList<Piece>>("pieces");
    QTest::addColumn<QList<Delivery>>("replies");
    QTest::newRow("three pieces 50 ms apart")
        << 133 << QList<Piece>{{0, "+LS"}, {50, "STA"}, {100, "\r\nOK\r\n"}}
        << QList<Delivery>{{234, "+LSSTA\r\nOK\r\n"}};
    QTest::newRow("two pieces 200 ms apart")
        << 133 << QList<Piece>{{0, "A"}, {200, "B"}} << QList<Delivery>{{134, "A"}, {334, "B"}};
    QTest::newRow("gap of exactly the quiet time")
        << 133 << QList<Piece>{{0, "A"}, {133, "B"}} << QList<Delivery>{{267, "AB"}};
    QTest::newRow("gap one past the quiet time")
        << 133 << QList<Piece>{{0, "A"}, {135, "B"}} << QList<Delivery>{{134, "A"}, {269, "B"}};
    QTest::newRow("burst far longer than the quiet time") << 133 << [] {
        QList<Piece> pieces;
        for (int i = 0; i < 40; ++i)
            pieces.append({i * 120, QByteArray(1, char('a' + i % 26))});
        return pieces;
    }() << QList<Delivery>{{39 * 120 + 134, "abcdefghijklmnopqrstuvwxyzabcdefghijklmn"}};
    QTest::newRow("quiet time below 100 counts as 100")
        << 40 << QList<Piece>{{0, "A"}, {90, "B"}, {300, "C"}} << QList<Delivery>{{191, "AB"}, {401, "C"}};
    QTest::newRow("longer quiet time")
        << 500 << QList<Piece>{{0, "A"}, {400, "B"}} << QList<Delivery>{{901, "AB"}};
}

void ReplyGathererTest::quietTimeEndsReplies()
{
    QFETCH(int, quietMs);
    QFETCH(QList<Piece>, pieces);
    QFETCH(QList<Delivery>, replies);
    Rig rig;
    rig.gatherer.setQuietMs(quietMs);
    rig.play(pieces, pieces.last().atMs + 1000);
    QCOMPARE(rig.deliveries, replies);
    QVERIFY(!rig.gatherer.isGathering());
    QVERIFY(!rig.timer()->isActive());
}

void ReplyGathererTest::pieceWaitingAtTheDeadlineExtendsTheReply()
{
    // The port has bytes it has not announced yet when the quiet time runs out: they belong to the reply.
    Rig rig;
    rig.arrive("first");
    rig.now = 134;
    rig.port = "second";
    rig.fire();
    QVERIFY(rig.deliveries.isEmpty());
    QCOMPARE(rig.gatherer.pending(), QByteArray("firstsecond"));
    QCOMPARE(rig.timer()->interval(), 134);
    rig.now = 268;
    rig.fire();
    QCOMPARE(rig.deliveries, (QList<Delivery>{{268, "firstsecond"}}));
}

void ReplyGathererTest::checkAtExactlyTheQuietTimeWaits()
{
    // A timer may fire early; the quiet time must be exceeded, not merely reached.
    Rig rig;
    rig.arrive("A");
    rig.now = 133;
    rig.fire();
    QVERIFY(rig.deliveries.isEmpty());
    QCOMPARE(*rig.dueMs, qint64(134));
    rig.now = 134;
    rig.fire();
    QCOMPARE(rig.deliveries, (QList<Delivery>{{134, "A"}}));
}

void ReplyGathererTest::bytesKeptWhole_data()
{
    QTest::addColumn<QList<QByteArray>>("reads");
    QByteArray frame("\xA8\x81"
                     "12345678901"
                     "0000\x09\0\x5a"
                     "1=2;\r\n",
                     26);
    QTest::newRow("00 bytes, split inside the header") << QList<QByteArray>{frame.left(7), frame.mid(7)};
    QTest::newRow("00 byte alone") << QList<QByteArray>{"a", QByteArray(1, '\0'), "b"};
    QTest::newRow("CR LF split") << QList<QByteArray>{"OK\r", "\n"};
    QList<QByteArray> large;
    for (int i = 0; i < 300; ++i)
        large.append(QByteArray(4096, char(i)));
    QTest::newRow("1.2 MiB in 4 KiB reads") << large;
    QTest::newRow("1.5 MiB in one read") << QList<QByteArray>{QByteArray(1536 * 1024, '\x55')};
}

void ReplyGathererTest::bytesKeptWhole()
{
    QFETCH(QList<QByteArray>, reads);
    Rig rig;
    QByteArray sent;
    for (const QByteArray &read : reads) {
        ++rig.now;
        rig.arrive(read);
        sent += read;
    }
    rig.now += 134;
    rig.fire();
    QCOMPARE(rig.deliveries.size(), 1);
    QCOMPARE(rig.deliveries.first().reply.size(), sent.size());
    QCOMPARE(rig.deliveries.first().reply, sent);
}

void ReplyGathererTest::timerRunsOnlyWhileGathering()
{
    Rig rig;
    QVERIFY(!rig.timer()->isActive());
    rig.gatherer.readWaiting(); // a report with nothing to read
    QVERIFY(!rig.timer()->isActive());
    rig.fire();
    QVERIFY(!rig.timer()->isActive());
    QVERIFY(rig.timer()->isSingleShot());

    rig.arrive("x");
    QVERIFY(rig.timer()->isActive());
    QCOMPARE(rig.timer()->interval(), 134);
    rig.now = 60;
    rig.arrive("y"); // the running timer is left as it is ...
    QCOMPARE(*rig.dueMs, qint64(134));
    rig.now = 134;
    rig.fire(); // ... and, too early for the last piece, waits for the rest of its quiet time
    QVERIFY(rig.deliveries.isEmpty());
    QCOMPARE(*rig.dueMs, qint64(194));
    rig.now = 194;
    rig.fire();
    QCOMPARE(rig.deliveries, (QList<Delivery>{{194, "xy"}}));
    QVERIFY(!rig.timer()->isActive());
}

void ReplyGathererTest::handlerFindsTheGathererIdle()
{
    // The window may show a modal box for a reply: bytes that come meanwhile start the next reply.
    Rig rig;
    bool idleInHandler = false;
    QObject::connect(&rig.gatherer, &ReplyGatherer::replyComplete, &rig.gatherer, [&](const QByteArray &) {
        idleInHandler = !rig.gatherer.isGathering() && !rig.timer()->isActive();
        if (rig.deliveries.size() == 1)
            rig.arrive("next");
    });
    rig.arrive("one");
    rig.now = 134;
    rig.fire();
    QVERIFY(idleInHandler);
    QCOMPARE(rig.gatherer.pending(), QByteArray("next"));
    QVERIFY(rig.timer()->isActive());
    rig.now = 268;
    rig.fire();
    QCOMPARE(rig.deliveries, (QList<Delivery>{{134, "one"}, {268, "next"}}));
}

QTEST_GUILESS_MAIN(ReplyGathererTest)
#include "test_replygatherer.moc"
