// Where a serial reply ends, on a clock the test drives: pieces closer than the quiet time are one
// reply, the reply comes one millisecond after the quiet time is exceeded (in a parameter run, a text
// answer after the line-end grace past its CR LF), and the timer runs only
// while a reply is being gathered; and what is shown while it comes: every byte once, in order, soon
// after it arrived, whatever the pieces, while the reply handling gets at most its first 64 KiB. No
// event loop runs, so no real time plays a part.

#include "TimedPieces.h"
#include "links/ReplyGatherer.h"

#include <QRandomGenerator>
#include <QTimer>
#include <QtTest>
#include <optional>
#include <utility>

namespace {
struct Shown {
    qint64 atMs;
    QByteArray bytes;
    bool first;
};

// A port that holds what the device sent until it is read, and a gatherer reading it on a fake clock.
struct Rig {
    qint64 now = 0;
    QByteArray port;
    QList<Delivery> deliveries;
    QList<bool> cuts;
    QList<Shown> shown;
    int overflows = 0;
    ReplyGatherer gatherer{[this] { return std::exchange(port, QByteArray()); }, [this] { return now; }};
    std::optional<qint64> dueMs;     // when the quiet timer would fire
    std::optional<qint64> showDueMs; // when the show timer would fire

    Rig()
    {
        QObject::connect(&gatherer, &ReplyGatherer::replyComplete, &gatherer,
                         [this](const QByteArray &reply, bool cut) {
                             deliveries.append({now, reply});
                             cuts.append(cut);
                         });
        QObject::connect(&gatherer, &ReplyGatherer::replyGrew, &gatherer,
                         [this](const QByteArray &bytes, bool first) {
                             shown.append({now, bytes, first});
                         });
        QObject::connect(&gatherer, &ReplyGatherer::replyOverflowed, &gatherer, [this] { ++overflows; });
    }
    const QTimer *timer() const { return gatherer.quietTimer(); }

    // The device sends; the port reports it at once.
    void arrive(const QByteArray &bytes)
    {
        port += bytes;
        const bool wasActive = timer()->isActive();
        const bool showWasActive = gatherer.showTimer()->isActive();
        gatherer.readWaiting();
        // A running timer is restarted only to end a line-ended reply sooner.
        const std::optional<qint64> due = noted(timer());
        if (!wasActive || (due && dueMs && *due < *dueMs))
            dueMs = due;
        noteShowTimer(showWasActive);
    }
    void fire()
    {
        const bool showWasActive = gatherer.showTimer()->isActive();
        gatherer.checkQuiet();
        noteTimer();
        noteShowTimer(showWasActive);
    }
    void fireShow()
    {
        showDueMs.reset();
        gatherer.checkShow();
        noteShowTimer(false);
    }
    // The show timer is started when bytes begin to wait and never restarted while it runs.
    void noteShowTimer(bool wasActive)
    {
        if (!wasActive || !gatherer.showTimer()->isActive())
            showDueMs = noted(gatherer.showTimer());
    }
    std::optional<qint64> noted(const QTimer *t) const
    {
        return t->isActive() ? std::optional<qint64>(now + t->interval()) : std::nullopt;
    }
    void noteTimer() { dueMs = noted(timer()); }

    // Plays the pieces at their times and fires the timer when due, millisecond by millisecond.
    void play(const QList<Piece> &pieces, qint64 untilMs)
    {
        qsizetype next = 0;
        for (now = 0; now <= untilMs; ++now) {
            if (showDueMs && *showDueMs <= now)
                fireShow();
            if (dueMs && *dueMs <= now)
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
    void anyPiecesAreShownOnceInOrderAndSoon_data();
    void anyPiecesAreShownOnceInOrderAndSoon();
    void timerRunsOnlyWhileGathering();
    void handlerFindsTheGathererIdle();
};

void ReplyGathererTest::quietTimeEndsReplies_data()
{
    QTest::addColumn<int>("quietMs");
    QTest::addColumn<int>("graceMs"); // 0: the window's buttons, the line-end rule off
    QTest::addColumn<QList<Piece>>("pieces");
    QTest::addColumn<QList<Delivery>>("replies");
    QTest::newRow("three pieces 50 ms apart")
        << 133 << 0 << QList<Piece>{{0, "+LS"}, {50, "STA"}, {100, "\r\nOK\r\n"}}
        << QList<Delivery>{{234, "+LSSTA\r\nOK\r\n"}};
    QTest::newRow("two pieces 200 ms apart")
        << 133 << 0 << QList<Piece>{{0, "A"}, {200, "B"}} << QList<Delivery>{{134, "A"}, {334, "B"}};
    QTest::newRow("gap of exactly the quiet time")
        << 133 << 0 << QList<Piece>{{0, "A"}, {133, "B"}} << QList<Delivery>{{267, "AB"}};
    QTest::newRow("gap one past the quiet time")
        << 133 << 0 << QList<Piece>{{0, "A"}, {135, "B"}} << QList<Delivery>{{134, "A"}, {269, "B"}};
    QTest::newRow("burst far longer than the quiet time") << 133 << 0 << [] {
        QList<Piece> pieces;
        for (int i = 0; i < 40; ++i)
            pieces.append({i * 120, QByteArray(1, char('a' + i % 26))});
        return pieces;
    }() << QList<Delivery>{{39 * 120 + 134, "abcdefghijklmnopqrstuvwxyzabcdefghijklmn"}};
    QTest::newRow("quiet time below 100 counts as 100")
        << 40 << 0 << QList<Piece>{{0, "A"}, {90, "B"}, {300, "C"}}
        << QList<Delivery>{{191, "AB"}, {401, "C"}};
    QTest::newRow("longer quiet time")
        << 500 << 0 << QList<Piece>{{0, "A"}, {400, "B"}} << QList<Delivery>{{901, "AB"}};
    QTest::newRow("buttons: a line end waits out the quiet time")
        << 133 << 0 << QList<Piece>{{0, "OK\r\n"}} << QList<Delivery>{{134, "OK\r\n"}};
    QTest::newRow("run: answer handed on after the grace past its line end")
        << 133 << 20 << QList<Piece>{{0, "11"}, {50, "5200\r\n"}} << QList<Delivery>{{71, "115200\r\n"}};
    QTest::newRow("run: bytes within the grace join the answer")
        << 133 << 20 << QList<Piece>{{0, "OK\r\n"}, {20, "more"}} << QList<Delivery>{{154, "OK\r\nmore"}};
    QTest::newRow("run: lines of one answer stay whole")
        << 133 << 20 << QList<Piece>{{0, "+LSAPINF:(3,\"HomeNet\")\r\n"}, {16, "+LSAPINF:(0,\"Guest\")\r\n"}}
        << QList<Delivery>{{37, "+LSAPINF:(3,\"HomeNet\")\r\n+LSAPINF:(0,\"Guest\")\r\n"}};
    QTest::newRow("run: a new line past the grace is a new reply")
        << 133 << 20 << QList<Piece>{{0, "OK\r\n"}, {22, "OK\r\n"}}
        << QList<Delivery>{{21, "OK\r\n"}, {43, "OK\r\n"}};
    QTest::newRow("run: a blank line first does not end the answer")
        << 133 << 20 << QList<Piece>{{0, "\r\n"}, {60, "OK\r\n"}} << QList<Delivery>{{81, "\r\nOK\r\n"}};
    QTest::newRow("run: text without a line end waits out the quiet time")
        << 133 << 20 << QList<Piece>{{0, "ERROR"}} << QList<Delivery>{{134, "ERROR"}};
    QTest::newRow("run: a reply frame ending in CR LF waits out the quiet time")
        << 133 << 20 << QList<Piece>{{0, QByteArray("\xA8", 1)}, {5, QByteArray("\x81\x05\x00\r\n", 5)}}
        << QList<Delivery>{{139, QByteArray("\xA8\x81\x05\x00\r\n", 6)}};
}

void ReplyGathererTest::quietTimeEndsReplies()
{
    QFETCH(int, quietMs);
    QFETCH(int, graceMs);
    QFETCH(QList<Piece>, pieces);
    QFETCH(QList<Delivery>, replies);
    Rig rig;
    rig.gatherer.setQuietMs(quietMs);
    rig.gatherer.setLineEndGraceMs(graceMs);
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

void ReplyGathererTest::anyPiecesAreShownOnceInOrderAndSoon_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("maxPiece");
    QTest::addColumn<int>("maxGapMs");
    for (quint32 seed = 1; seed <= 12; ++seed) {
        QTest::addRow("seed %u, small pieces, gaps around the quiet time", seed) << seed << 40 << 300;
        QTest::addRow("seed %u, stream without pause", seed) << seed << 9000 << 30;
    }
}

void ReplyGathererTest::anyPiecesAreShownOnceInOrderAndSoon()
{
    QFETCH(quint32, seed);
    QFETCH(int, maxPiece);
    QFETCH(int, maxGapMs);
    QRandomGenerator random(seed);
    QList<Piece> pieces;
    qint64 at = 0;
    for (int i = 0; i < 400; ++i) {
        at += random.bounded(maxGapMs + 1);
        QByteArray bytes(random.bounded(1, maxPiece + 1), Qt::Uninitialized);
        for (char &c : bytes)
            c = static_cast<char>(random.bounded(256));
        pieces.append({at, bytes});
    }
    Rig rig;
    rig.play(pieces, at + 1000);

    // The replies by the rule alone: a gap longer than the quiet time starts a new one.
    QList<QByteArray> replies;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i == 0 || pieces[i].atMs - pieces[i - 1].atMs > 133)
            replies.append(QByteArray());
        replies.last() += pieces[i].bytes;
    }
    QCOMPARE(rig.deliveries.size(), replies.size());
    QList<QByteArray> shownReplies;
    for (const Shown &piece : rig.shown) {
        if (piece.first)
            shownReplies.append(QByteArray());
        QVERIFY(!shownReplies.isEmpty());
        shownReplies.last() += piece.bytes;
    }
    QCOMPARE(shownReplies, replies);
    int longReplies = 0;
    for (qsizetype i = 0; i < replies.size(); ++i) {
        QCOMPARE(rig.deliveries[i].reply, replies[i].left(64 * 1024));
        QCOMPARE(rig.cuts[i], replies[i].size() > 64 * 1024);
        longReplies += rig.cuts[i] ? 1 : 0;
    }
    QCOMPARE(rig.overflows, longReplies); // once for each reply that was cut
    // Every byte on show within the show interval of its arrival; a reply's first bytes at once.
    qsizetype shownBytes = 0;
    qsizetype showIndex = 0;
    qsizetype shownInPiece = 0;
    for (const Piece &piece : pieces) {
        for (qsizetype left = piece.bytes.size(); left > 0;) {
            const qsizetype take = std::min(left, rig.shown[showIndex].bytes.size() - shownInPiece);
            QVERIFY2(rig.shown[showIndex].atMs - piece.atMs <= ReplyGatherer::kShowIntervalMs,
                     qPrintable(QStringLiteral("byte %1 arrived at %2 ms, shown at %3 ms")
                                    .arg(shownBytes)
                                    .arg(piece.atMs)
                                    .arg(rig.shown[showIndex].atMs)));
            left -= take;
            shownBytes += take;
            shownInPiece += take;
            if (shownInPiece == rig.shown[showIndex].bytes.size()) {
                ++showIndex;
                shownInPiece = 0;
            }
        }
    }
    QVERIFY(!rig.gatherer.isGathering());
    QVERIFY(!rig.timer()->isActive());
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
    QCOMPARE(*rig.showDueMs, qint64(160)); // meanwhile "y" is shown 100 ms after it came
    rig.now = 160;
    rig.fireShow();
    QCOMPARE(rig.shown.last().bytes, QByteArray("y"));
    QVERIFY(!rig.gatherer.showTimer()->isActive());
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
