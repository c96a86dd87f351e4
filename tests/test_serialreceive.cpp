// The serial receive path on a pseudo-terminal, through the window: a reply is read when the port
// reports it, shown as one line while it comes and handed to the parser whole once the quiet time has
// passed, and an idle port keeps no timer running;
// and the console that shows it, byte for byte and cheaply when long. Where a reply ends in time is
// tested on a clock of the test's own (tests/core/test_replygatherer.cpp).

#include "links/ReplyGatherer.h"
#include "support/Pty.h"
#include "support/TestSupport.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/SerialPortDialog.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

namespace {
constexpr int kWait = 5000;

QStringList receiveLines(const ConsoleLog *log)
{
    return log->lines().filter(QRegularExpression(QStringLiteral("^COM Receive:")));
}

// A serial window on a fresh pseudo-terminal, its port open on COM1.
struct SerialWindow {
    Pty pty;
    BoxRecorder boxes;
    WorkDir dir;
    std::unique_ptr<MainWindow> form;

    explicit SerialWindow(const QByteArray &extra = QByteArray())
        : dir(WorkDir::testConfig(pty.slavePath(), "[Ver]\r\nCEO=EN\r\n" + extra)), form(makeMainWindow())
    {
    }
    bool ready() const { return pty.isValid() && form->portDialog()->portOpen(1) && boxes.boxes.isEmpty(); }
    bool idle() const
    {
        return !form->serialGatherer()->isGathering() && !form->serialGatherer()->quietTimer()->isActive();
    }
};

// Names of the objects, in the application and its windows, that have a timer registered now.
QStringList objectsWithTimers()
{
    QObjectList objects;
    objects.append(QCoreApplication::instance());
    for (QWidget *window : QApplication::topLevelWidgets())
        objects.append(window);
    QStringList names;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        QObject *object = objects.at(i);
        objects.append(object->children());
        if (!QAbstractEventDispatcher::instance()->registeredTimers(object).isEmpty())
            names.append(QString::fromLatin1(object->metaObject()->className()) + QLatin1Char(' ') +
                         object->objectName());
    }
    return names;
}
} // namespace

class SerialReceiveTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void piecesReadTogetherAreOneReply();
    void idlePortKeepsNoTimerRunning();
    void consoleEmptiedAboveThousandLines_data();
    void consoleEmptiedAboveThousandLines();
    void hexLineFollowsReceiveLine();
    void zeroBytesReachParserWhole();
    void conversionFailureShowsErrorBox_data();
    void conversionFailureShowsErrorBox();
    void gatheredBytesOutliveThePort();
    void bytesDuringAFailedOpenAreRead();

    void consoleShowsBytesFaithfully_data();
    void consoleShowsBytesFaithfully();
    void longLinesStayOneLogicalLine();
    void surrogatePairsAreNotSplit();
    void emptyFirstLineCounts();
    void breaksInTextsCountAsLines();
    void shortLinesShareBlocks();
    void copyGivesLogicalLines();
};

void SerialReceiveTest::piecesReadTogetherAreOneReply()
{
    SerialWindow w;
    QVERIFY(w.ready());
    w.form->session().cmdType = 7; // each parser call appends one paragraph to the list memo
    for (const QByteArray &piece : {QByteArray("+LSSTAINF:"), QByteArray("1,aa"), QByteArray("\r\nOK\r\n")}) {
        QVERIFY(w.pty.write(piece));
        QTest::qWait(50); // pieces 50 ms apart: within the quiet time, so one reply
    }
    QTRY_COMPARE_WITH_TIMEOUT(w.form->statusPanel(2), QStringLiteral("Operate complete!"), kWait);
    QVERIFY(w.idle());
    QCOMPARE(w.form->console()->lines(),
             (QStringList{QStringLiteral("COM Receive:+LSSTAINF:1,aa"), QStringLiteral("OK"), QString()}));
    QCOMPARE(w.form->memo(Field::ListMemo)->toPlainText(), QStringLiteral("+LSSTAINF:1,aa\nOK\n"));
    QCOMPARE(w.form->statusPanel(2), QStringLiteral("Operate complete!"));
}

void SerialReceiveTest::idlePortKeepsNoTimerRunning()
{
    // With the port open and nothing arriving, the tool has nothing to wake up for: once the one-shot
    // timers of start-up have run, none is left. A periodic timer would stay registered.
    SerialWindow w;
    QVERIFY(w.ready());
    QCOMPARE(w.form->serialGatherer()->quietMs(), 133);
    QTRY_COMPARE_WITH_TIMEOUT(objectsWithTimers(), QStringList(), kWait);

    w.form->session().cmdType = 1;
    QVERIFY(w.pty.write("OK\r\n"));
    QTRY_VERIFY_WITH_TIMEOUT(objectsWithTimers().contains(QStringLiteral("QTimer quietTimer")), kWait);
    QTRY_COMPARE_WITH_TIMEOUT(receiveLines(w.form->console()).size(), 1, kWait);
    QTRY_COMPARE_WITH_TIMEOUT(objectsWithTimers(), QStringList(), kWait);
}

void SerialReceiveTest::consoleEmptiedAboveThousandLines_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("longLine"); // index of a line longer than a display row, or -1
    QTest::addColumn<bool>("emptied");
    QTest::newRow("1000 lines") << 1000 << -1 << false;
    QTest::newRow("1001 lines") << 1001 << -1 << true;
    // Display rows of a long line are not lines: 1000 lines stay, although the log holds more rows.
    QTest::newRow("1000 lines, one long") << 1000 << 10 << false;
    QTest::newRow("1001 lines, one long") << 1001 << 10 << true;
}

void SerialReceiveTest::consoleEmptiedAboveThousandLines()
{
    QFETCH(int, lines);
    QFETCH(int, longLine);
    QFETCH(bool, emptied);
    SerialWindow w;
    QVERIFY(w.ready());
    ConsoleLog *log = w.form->console();
    for (int i = 0; i < lines; ++i)
        log->addLine(i == longLine ? QString(ConsoleLog::kRowLength * 3, QLatin1Char('x'))
                                   : QString::number(i));
    QCOMPARE(log->lineCount(), lines);
    w.form->session().cmdType = 1;
    QVERIFY(w.pty.write("OK"));
    QTRY_COMPARE_WITH_TIMEOUT(receiveLines(log).size(), 1, kWait);
    if (emptied) {
        QCOMPARE(log->lines(), QStringList{QStringLiteral("COM Receive:OK")});
    } else {
        QCOMPARE(log->lineCount(), lines + 1);
        QCOMPARE(log->lines().last(), QStringLiteral("COM Receive:OK"));
    }
}

void SerialReceiveTest::hexLineFollowsReceiveLine()
{
    SerialWindow w("[Program]\r\nShowHEX=1\r\n");
    QVERIFY(w.ready());
    QVERIFY(w.form->settings().showHex);
    w.form->session().cmdType = 1;
    QVERIFY(w.pty.write("OK\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(w.form->console()->lineCount(), 3, kWait);
    QCOMPARE(w.form->console()->lines(),
             (QStringList{QStringLiteral("COM Receive:OK"), QString(), QStringLiteral("HEX:4F 4B 0D 0A ")}));
}

void SerialReceiveTest::zeroBytesReachParserWhole()
{
    SerialWindow w;
    QVERIFY(w.ready());
    w.form->session().cmdType = 1;
    w.form->session().lastIoOperation.clear();
    // A module reply frame: its 00 bytes sit in the header, the parameters come after them.
    const QByteArray frame = QByteArray("\xA8\x81"
                                        "12345678901"
                                        "0000\x09",
                                        18) +
                             QByteArray("\0\x5a", 2) + "1=2;24=3;\r\n";
    QVERIFY(w.pty.write(frame));
    QTRY_COMPARE_WITH_TIMEOUT(w.form->statusPanel(2), QStringLiteral("Operate complete!"), kWait);
    QCOMPARE(w.form->comboBox(Field::WorkMode)->currentText(), QStringLiteral("AP"));
    QCOMPARE(w.form->comboBox(Field::Dhcp)->currentText(), QStringLiteral("All Enable"));
    const QStringList lines = w.form->console()->lines();
    QCOMPARE(lines.size(), 3);
    // A8 81 is the GBK character U+2589; 09 and 00 show as control pictures, 5A as "Z".
    QCOMPARE(lines.at(0), QStringLiteral("COM Receive:\u2589123456789010000\u2409\u2400Z1=2;24=3;"));
    QCOMPARE(lines.at(2), QStringLiteral("Remoete Set WIFI module:12345678901 Parameters successfully!"));
}

void SerialReceiveTest::conversionFailureShowsErrorBox_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("text");
    QTest::newRow("work mode EN") << "EN" << 118 << QByteArray("x\r\n") << "'x' is not a valid integer value";
    // The general error box is the platform's: English in both languages.
    QTest::newRow("work mode CN") << "CN" << 118 << QByteArray("+ERROR\r\n")
                                  << "'+ERROR' is not a valid integer value";
    QTest::newRow("IO line") << "EN" << 12 << QByteArray("IO16") << "'' is not a valid integer value";
}

void SerialReceiveTest::conversionFailureShowsErrorBox()
{
    QFETCH(QString, language);
    QFETCH(int, code);
    QFETCH(QByteArray, reply);
    QFETCH(QString, text);
    SerialWindow w;
    QVERIFY(w.ready());
    w.form->settings().language = language;
    w.form->session().cmdType = code;
    w.form->setStatusPanel(2, QStringLiteral("Reading work mode......"));
    QVERIFY(w.pty.write(reply));
    QTRY_COMPARE_WITH_TIMEOUT(w.boxes.boxes.size(), 1, kWait);
    QCOMPARE(w.boxes.boxes.first().kind, BoxKind::Error);
    QCOMPARE(w.boxes.boxes.first().text, text);
    QCOMPARE(w.form->statusPanel(2), QStringLiteral("Reading work mode......"));
    QCOMPARE(receiveLines(w.form->console()).size(), 1);
}

void SerialReceiveTest::gatheredBytesOutliveThePort()
{
    // Bytes gathered before the user closed the port are still delivered once the quiet time ends.
    SerialWindow w;
    QVERIFY(w.ready());
    w.form->session().cmdType = 21;
    QVERIFY(w.pty.write("OK\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(w.form->serialGatherer()->pending(), QByteArray("OK\r\n"), kWait);
    control<QPushButton>(*w.form->portDialog(), "closeButton")->click();
    QVERIFY(!w.form->portDialog()->portOpen(1));
    QTRY_COMPARE_WITH_TIMEOUT(
        w.form->console()->lines(),
        (QStringList{QStringLiteral("COM Receive:OK"), QString(), QStringLiteral("Set successfully!")}),
        kWait);
    QVERIFY(w.idle());
}

void SerialReceiveTest::bytesDuringAFailedOpenAreRead()
{
    // While the box of a failed open is up, the port being tried is not the one in use: bytes reported
    // then by the port in use must still be read once the dialog has put it back.
    SerialWindow w;
    QVERIFY(w.ready());
    w.form->session().cmdType = 1;
    Boxes::setHandler([&w](const BoxRequest &request) {
        w.boxes.boxes.append(request);
        if (w.boxes.boxes.size() == 1 && w.pty.write("OK\r\n")) {
            QElapsedTimer spin;
            spin.start(); // until the port has taken the bytes from the driver and reported them
            while (w.pty.pendingForProgram() > 0 && spin.elapsed() < kWait)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QCoreApplication::processEvents();
        }
        return true;
    });
    SerialPortDialog *dialog = w.form->portDialog();
    control<QComboBox>(*dialog, "portBox")->setCurrentIndex(6); // COM7: no device behind it
    control<QPushButton>(*dialog, "openButton")->click();
    QCOMPARE(w.boxes.texts().value(1), QStringLiteral("Open COM7 Fail！"));
    QCOMPARE(w.form->portDialog()->comPort(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(receiveLines(w.form->console()), QStringList{QStringLiteral("COM Receive:OK")},
                              kWait);
}

void SerialReceiveTest::consoleShowsBytesFaithfully_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("breaks") << QByteArray("a\rb\nc\r\nd") << QStringList{"P:a", "b", "c", "d"};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"P:a", "", "b"};
    QTest::newRow("LF CR") << QByteArray("a\n\rb") << QStringList{"P:a", "", "b"};
    QTest::newRow("trailing break") << QByteArray("OK\r\n") << QStringList{"P:OK", ""};
    QTest::newRow("controls") << QByteArray("\0\x01\t\x1b\x7f", 5)
                              << QStringList{QStringLiteral("P:\u2400\u2401\u2409\u241b\u2421")};
    QTest::newRow("GBK") << QByteArray("\xd6\xd0\xce\xc4 \x80") << QStringList{QStringLiteral("P:中文 €")};
    QTest::newRow("invalid bytes") << QByteArray("a\xff"
                                                 "b\x81\x20"
                                                 "c")
                                   << QStringList{QStringLiteral("P:a\ufffdb\ufffd c")};
    QTest::newRow("lead byte before break")
        << QByteArray("a\xd6\r\nb") << QStringList{QStringLiteral("P:a\ufffd"), "b"};
    QTest::newRow("lead byte at the end") << QByteArray("a\xd6") << QStringList{QStringLiteral("P:a\ufffd")};
    QTest::newRow("empty") << QByteArray() << QStringList{"P:"};
}

void SerialReceiveTest::consoleShowsBytesFaithfully()
{
    QFETCH(QByteArray, data);
    QFETCH(QStringList, lines);
    ConsoleLog log;
    log.addDataLine(QStringLiteral("P:"), data);
    QCOMPARE(log.lines(), lines);
    QCOMPARE(log.lineCount(), lines.size());
    QCOMPARE(log.toPlainText(), lines.join(QLatin1Char('\n')));
    log.addHexLine(data);
    QCOMPARE(log.lines().last(), QLatin1String("HEX:") + QString::fromLatin1(data.toHex(' ').toUpper()) +
                                     (data.isEmpty() ? QString() : QStringLiteral(" ")));
}

void SerialReceiveTest::longLinesStayOneLogicalLine()
{
    ConsoleLog log;
    QByteArray data;
    for (int i = 0; i < 300'000; ++i)
        data += static_cast<char>('a' + i % 26);
    log.addEmptyLine();
    log.addDataLine(QStringLiteral("COM Receive:"), data);
    log.addHexLine(data);
    QCOMPARE(log.lineCount(), 3);
    const QStringList lines = log.lines();
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0), QString());
    QCOMPARE(lines.at(1), QStringLiteral("COM Receive:") + QString::fromLatin1(data));
    QCOMPARE(lines.at(2).size(), 4 + 3 * data.size());
    QVERIFY(lines.at(2).startsWith(QStringLiteral("HEX:61 62 63 ")));
    QCOMPARE(lines.at(2).right(9), QStringLiteral("6A 6B 6C ")); // the last bytes "jkl"
    // Stored as display rows: no text block holds more than a row.
    int longest = 0;
    for (QTextBlock b = log.document()->begin(); b.isValid(); b = b.next())
        longest = std::max(longest, b.length() - 1);
    QVERIFY(log.document()->blockCount() > 3);
    QCOMPARE(longest, ConsoleLog::kRowLength);

    log.clearLog();
    QCOMPARE(log.lineCount(), 0);
    QVERIFY(log.lines().isEmpty());
    log.addLine(QStringLiteral("next"));
    QCOMPARE(log.lines(), QStringList{QStringLiteral("next")});
}

void SerialReceiveTest::surrogatePairsAreNotSplit()
{
    ConsoleLog log;
    const QString face = QStringLiteral("\U0001F600");
    const QString text = QString(ConsoleLog::kRowLength - 1, QLatin1Char('x')) + face + QStringLiteral("y");
    log.addLine(text);
    QCOMPARE(log.lines(), QStringList{text});
    for (QTextBlock b = log.document()->begin(); b.isValid(); b = b.next())
        QVERIFY(b.text().isEmpty() || !b.text().front().isLowSurrogate());
}

void SerialReceiveTest::emptyFirstLineCounts()
{
    ConsoleLog log;
    QCOMPARE(log.lineCount(), 0);
    log.addEmptyLine();
    QCOMPARE(log.lineCount(), 1);
    log.addLine(QStringLiteral("COM Send:AT"));
    QCOMPARE(log.lineCount(), 2);
    QCOMPARE(log.toPlainText(), QStringLiteral("\nCOM Send:AT"));
}

void SerialReceiveTest::breaksInTextsCountAsLines()
{
    // Texts of the program itself go through as given; every break the document makes is a line.
    ConsoleLog log;
    log.addLine(QStringLiteral("a\r\nb\rc\nd") + QChar(QChar::ParagraphSeparator) + QStringLiteral("e") +
                QChar(QChar::LineSeparator) + QStringLiteral("f"));
    QCOMPARE(log.lines(), (QStringList{"a", "b", "c", "d", "e", "f"}));
    QCOMPARE(log.lineCount(), 6);
    QCOMPARE(log.toPlainText(), QStringLiteral("a\nb\nc\nd\ne\nf"));
}

void SerialReceiveTest::shortLinesShareBlocks()
{
    // A burst of short lines, with empty ones and one longer than a row among them.
    QStringList expected{QString()};
    for (int i = 0; i < 3000; ++i)
        expected << (i % 7 == 0 ? QString() : QStringLiteral("%1 the quick brown fox").arg(i));
    expected[1500] = QString(ConsoleLog::kRowLength * 2 + 5, QLatin1Char('L'));
    expected[1501] = QString(ConsoleLog::kRowLength, QLatin1Char('R')); // exactly one row
    ConsoleLog log;
    log.addEmptyLine();
    log.addLine(expected.mid(1).join(QLatin1Char('\n')));
    log.addLine(QStringLiteral("after"));
    expected << QStringLiteral("after");

    QCOMPARE(log.lineCount(), expected.size());
    QCOMPARE(log.lines(), expected);
    // Line separators read as line breaks; the long line's two continuation rows add two more.
    QCOMPARE(log.toPlainText().count(QLatin1Char('\n')), expected.size() - 1 + 2);
    QVERIFY(log.document()->blockCount() < expected.size() / 10);
    for (QTextBlock b = log.document()->begin(); b.isValid(); b = b.next())
        QVERIFY(b.length() - 1 <= ConsoleLog::kRowLength);
}

void SerialReceiveTest::copyGivesLogicalLines()
{
    ConsoleLog log;
    const QString longLine = QString(ConsoleLog::kRowLength * 2 + 10, QLatin1Char('x'));
    log.addEmptyLine();
    log.addLine(QStringLiteral("COM Receive:a\nb"));
    log.addLine(longLine);
    log.addLine(QStringLiteral("HEX:61 0A 62 "));

    log.selectAll();
    log.copy();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("\nCOM Receive:a\nb\n") + longLine + QStringLiteral("\nHEX:61 0A 62 "));

    // A selection from inside the second line to inside the long line's last row.
    QTextCursor cursor(log.document());
    cursor.setPosition(QStringLiteral("\nCOM Receive:a").size() + 1); // just before "b"
    const int longStart = log.document()->findBlockByNumber(2).position();
    const int lastRow = log.document()->findBlockByNumber(4).position();
    QCOMPARE(log.document()->findBlockByNumber(4).text(), QStringLiteral("xxxxxxxxxx"));
    QVERIFY(longStart < lastRow);
    cursor.setPosition(lastRow + 3, QTextCursor::KeepAnchor);
    log.setTextCursor(cursor);
    log.copy();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("b\n") + QString(ConsoleLog::kRowLength * 2 + 3, QLatin1Char('x')));
}

QTEST_MAIN(SerialReceiveTest)
#include "test_serialreceive.moc"
