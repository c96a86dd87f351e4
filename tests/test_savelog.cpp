// The console log as the user keeps it: "Save log…" in the File menu writes the whole log to the
// file picked in the save dialog, byte for byte; a failed write says why and leaves the log alone;
// a log line never joins text the user typed into the console. And over a long session: a stream
// that never pauses is on show while it flows, the console keeps a bounded history, and "Log to
// file…" keeps everything, through the console's trimming, or says why it stopped.

#include "links/ReplyGatherer.h"
#include "links/TcpConnection.h"
#include "support/ImmutableFile.h"
#include "support/LoopbackServer.h"
#include "support/Pty.h"
#include "support/TestSupport.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <thread>

namespace {
constexpr int kWait = 5000;

// Answers the save dialog with a fixed path and keeps what the dialog was asked.
class SaveDialogAnswer {
public:
    explicit SaveDialogAnswer(const QString &path)
    {
        Boxes::setSaveFileHandler([this, path](const Boxes::SaveFileRequest &request) {
            requests.append(request);
            return path;
        });
    }
    ~SaveDialogAnswer() { Boxes::clearSaveFileHandler(); }
    SaveDialogAnswer(const SaveDialogAnswer &) = delete;
    SaveDialogAnswer &operator=(const SaveDialogAnswer &) = delete;
    QList<Boxes::SaveFileRequest> requests;
};

// An item of the File menu, found the way a user finds it.
QAction *fileMenuItem(MainWindow &form, const char *name)
{
    const auto *file = form.menuBar()->findChild<QMenu *>(QStringLiteral("fileMenu"));
    if (!file)
        return nullptr;
    for (QAction *action : file->actions()) {
        if (action->objectName() == QLatin1String(name))
            return action;
    }
    return nullptr;
}

QAction *saveLogInFileMenu(MainWindow &form)
{
    return fileMenuItem(form, "saveLogAction");
}

// Plays a device that streams without pause from a thread of its own, so that the window's event
// loop cannot pace it: 450 bytes every 10 ms, letters and digits, until stopped.
class DeviceStream {
public:
    explicit DeviceStream(Pty &pty)
        : thread_([this, &pty] {
              for (int piece = 0; !stop_; ++piece) {
                  QByteArray bytes(450, Qt::Uninitialized);
                  for (qsizetype i = 0; i < bytes.size(); ++i)
                      bytes[i] = "0123456789abcdefghijklmnopqrstuvwxyz"[(piece * 7 + i) % 36];
                  if (!pty.write(bytes))
                      break;
                  written_ += bytes.size();
                  std::this_thread::sleep_for(std::chrono::milliseconds(2));
              }
          })
    {
    }
    ~DeviceStream() { stop(); }
    DeviceStream(const DeviceStream &) = delete;
    DeviceStream &operator=(const DeviceStream &) = delete;
    void stop()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    qint64 written() const { return written_; }
    static QByteArray expected(qint64 count)
    {
        QByteArray all;
        for (int piece = 0; all.size() < count; ++piece)
            for (int i = 0; i < 450; ++i)
                all += "0123456789abcdefghijklmnopqrstuvwxyz"[(piece * 7 + i) % 36];
        return all.left(count);
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<qint64> written_{0};
    std::thread thread_;
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// A log with every kind of line: 00 bytes and GBK Chinese in data, its HEX line, a line of 3000
// characters that the console shows as three rows, a result line in Chinese, an empty line and data
// with a line break inside.
void fillLog(ConsoleLog *log)
{
    log->addDataLine(QStringLiteral("COM Receive:"), QByteArray("OK\0\xd6\xd0\xce\xc4\0end", 11));
    log->addHexLine(QByteArray("OK\0\xd6\xd0\xce\xc4\0end", 11));
    QByteArray longData;
    for (int i = 0; i < 3000; ++i)
        longData += char('a' + i % 26);
    log->addEmptyLine();
    log->addDataLine(QStringLiteral("TCP Receive:"), longData);
    log->addLine(QStringLiteral("模块已重启"));
    log->addDataLine(QStringLiteral("UDP Send:"), QByteArray("one\r\ntwo"));
}

// The same log as the file must hold it, written out by hand: UTF-8, one LF after every line.
QByteArray expectedFile()
{
    QByteArray longText;
    for (int i = 0; i < 3000; ++i)
        longText += char('a' + i % 26);
    return QByteArray("COM Receive:OK\xe2\x90\x80\xe4\xb8\xad\xe6\x96\x87\xe2\x90\x80"
                      "end\n"
                      "HEX:4F 4B 00 D6 D0 CE C4 00 65 6E 64 \n"
                      "\n"
                      "TCP Receive:") +
           longText +
           QByteArray("\n"
                      "\xe6\xa8\xa1\xe5\x9d\x97\xe5\xb7\xb2\xe9\x87\x8d\xe5\x90\xaf\n"
                      "UDP Send:one\n"
                      "two\n");
}
} // namespace

class SaveLogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void savesTheWholeLogByteForByte_data();
    void savesTheWholeLogByteForByte();
    void failedWriteSaysWhyAndKeepsTheLog_data();
    void failedWriteSaysWhyAndKeepsTheLog();
    void cancelledDialogWritesNothing();
    void logLineAfterTypedTextStartsItsOwnLine_data();
    void logLineAfterTypedTextStartsItsOwnLine();
    void streamIsShownWhileItFlowsAndLoggedWhole();
    void failedLogWriteTurnsLoggingOff_data();
    void failedLogWriteTurnsLoggingOff();
    void lanFloodStaysWithinTheConsoleBound();
};

void SaveLogTest::savesTheWholeLogByteForByte_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("dialogTitle");
    QTest::newRow("CN") << QByteArray("CN") << "保存日志";
    QTest::newRow("EN") << QByteArray("EN") << "Save log";
}

void SaveLogTest::savesTheWholeLogByteForByte()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, dialogTitle);
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty"), "[Ver]\r\nCEO=" + language + "\r\n"));
    auto form = makeMainWindow();
    boxes.clear(); // the start-up's own boxes (no serial device here) are not this test's
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    fillLog(form->console());
    QVERIFY(form->console()->document()->blockCount() >= 3); // the long line really is cut into rows
    const QStringList before = form->console()->lines();

    const QString target = dir.path() + QStringLiteral("/日志 saved.txt");
    SaveDialogAnswer dialog(target);
    QAction *save = saveLogInFileMenu(*form);
    QVERIFY(save);
    save->trigger();

    QCOMPARE(dialog.requests.size(), 1);
    QCOMPARE(dialog.requests[0].title, dialogTitle);
    const QString proposed = QFileInfo(dialog.requests[0].proposedPath).fileName();
    QVERIFY2(
        QRegularExpression(QStringLiteral("^qxsetup-log-\\d{8}-\\d{6}\\.txt$")).match(proposed).hasMatch(),
        qPrintable(proposed));
    QVERIFY(dialog.requests[0].filter.contains(QLatin1String("*.txt")));
    QCOMPARE(readFile(target), expectedFile());
    QVERIFY(boxes.boxes.isEmpty());
    QCOMPARE(form->console()->lines(), before);
}

void SaveLogTest::failedWriteSaysWhyAndKeepsTheLog_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<bool>("readOnlyFolder"); // otherwise the full device /dev/full
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");
    QTest::newRow("disk full EN") << QByteArray("EN") << false << "Could not save the log to /dev/full: "
                                  << "No space left on device";
    QTest::newRow("disk full CN") << QByteArray("CN") << false << "无法保存日志到 /dev/full："
                                  << "No space left on device";
    QTest::newRow("read-only folder EN") << QByteArray("EN") << true << "Could not save the log to "
                                         << "Operation not permitted";
    QTest::newRow("read-only folder CN") << QByteArray("CN") << true << "无法保存日志到 "
                                         << "Operation not permitted";
}

void SaveLogTest::failedWriteSaysWhyAndKeepsTheLog()
{
    QFETCH(QByteArray, language);
    QFETCH(bool, readOnlyFolder);
    QFETCH(QString, text);
    QFETCH(QString, reason);
    if (!readOnlyFolder && !QFileInfo(QStringLiteral("/dev/full")).isWritable())
        QSKIP("/dev/full is not available here");
    QTemporaryDir folder;
    ImmutableFile lock(folder.path());
    if (readOnlyFolder && !lock.isSet())
        QSKIP(qPrintable(ImmutableFile::unavailableReason()));
    const QString target =
        readOnlyFolder ? folder.filePath(QStringLiteral("log.txt")) : QStringLiteral("/dev/full");

    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty"), "[Ver]\r\nCEO=" + language + "\r\n"));
    auto form = makeMainWindow();
    boxes.clear(); // the start-up's own boxes (no serial device here) are not this test's
    fillLog(form->console());
    const QString shown = form->console()->toPlainText();
    SaveDialogAnswer dialog(target);
    saveLogInFileMenu(*form)->trigger();

    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].kind, BoxKind::Error);
    QVERIFY2(boxes.boxes[0].text.startsWith(text), qPrintable(boxes.boxes[0].text));
    QVERIFY2(boxes.boxes[0].text.contains(target), qPrintable(boxes.boxes[0].text));
    QVERIFY2(boxes.boxes[0].text.endsWith(reason), qPrintable(boxes.boxes[0].text));
    QCOMPARE(form->console()->toPlainText(), shown);
    QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("log.txt"))));
}

void SaveLogTest::cancelledDialogWritesNothing()
{
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty")));
    auto form = makeMainWindow();
    boxes.clear(); // the start-up's own boxes (no serial device here) are not this test's
    fillLog(form->console());
    SaveDialogAnswer dialog{QString()};
    saveLogInFileMenu(*form)->trigger();
    QCOMPARE(dialog.requests.size(), 1);
    QVERIFY(boxes.boxes.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Config.ini")});
}

void SaveLogTest::logLineAfterTypedTextStartsItsOwnLine_data()
{
    QTest::addColumn<bool>("logFirst");     // a reply is logged before the user types
    QTest::addColumn<bool>("clearFirst");   // then "清除" empties the console
    QTest::addColumn<bool>("newLineFirst"); // the user presses Return before typing
    QTest::addColumn<QString>("shown");
    QTest::newRow("typed into the empty console") << false << false << false << "note\nCOM Receive:OK";
    QTest::newRow("typed after clearing") << true << true << false << "note\nCOM Receive:OK";
    QTest::newRow("typed on a line of its own after the log")
        << true << false << true << "COM Receive:OK\nnote\nCOM Receive:OK";
    QTest::newRow("typed onto the last log line")
        << true << false << false << "COM Receive:OKnote\nCOM Receive:OK";
}

void SaveLogTest::logLineAfterTypedTextStartsItsOwnLine()
{
    QFETCH(bool, logFirst);
    QFETCH(bool, clearFirst);
    QFETCH(bool, newLineFirst);
    QFETCH(QString, shown);
    Pty pty;
    QVERIFY(pty.isValid());
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(pty.slavePath(), "[Ver]\r\nCEO=EN\r\n"));
    auto form = makeMainWindow();
    boxes.clear(); // the start-up's own boxes (no serial device here) are not this test's
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    ConsoleLog *log = form->console();
    form->session().cmdType = -1; // no command asked for this reply: the parser adds nothing to the log
    if (logFirst) {
        QVERIFY(pty.write("OK"));
        QTRY_VERIFY_WITH_TIMEOUT(log->lineCount() == 1 && !form->serialGatherer()->isGathering(), kWait);
    }
    if (clearFirst)
        QTest::mouseClick(control<QPushButton>(*form, "clearConsoleButton"), Qt::LeftButton);

    log->setFocus();
    QTest::keyClick(log, Qt::Key_End, Qt::ControlModifier);
    if (newLineFirst)
        QTest::keyClick(log, Qt::Key_Return);
    QTest::keyClicks(log, QStringLiteral("note"));
    // What the user typed is part of the log the menu saves, even when nothing was logged yet.
    const QString typedOnly = dir.path() + QStringLiteral("/typed-only.txt");
    {
        SaveDialogAnswer dialog(typedOnly);
        saveLogInFileMenu(*form)->trigger();
    }
    QCOMPARE(readFile(typedOnly), (log->toPlainText() + QLatin1Char('\n')).toUtf8());

    QVERIFY(pty.write("OK"));
    QTRY_VERIFY_WITH_TIMEOUT(
        log->toPlainText().count(QLatin1String("COM Receive:")) == (clearFirst || !logFirst ? 1 : 2), kWait);
    QCOMPARE(log->toPlainText(), shown);

    const QString target = dir.path() + QStringLiteral("/typed.txt");
    SaveDialogAnswer dialog(target);
    saveLogInFileMenu(*form)->trigger();
    QCOMPARE(readFile(target), (shown + QLatin1Char('\n')).toUtf8());
    QVERIFY(boxes.boxes.isEmpty());
}

void SaveLogTest::streamIsShownWhileItFlowsAndLoggedWhole()
{
    Pty pty;
    QVERIFY(pty.isValid());
    BoxRecorder boxes;
    WorkDir dir(
        WorkDir::testConfig(pty.slavePath(), "[Ver]\r\nCEO=EN\r\n[Program]\r\nConsoleLimitKB=256\r\n"));
    auto form = makeMainWindow();
    QVERIFY(boxes.boxes.isEmpty());
    // A quiet time far longer than any stall of a loaded machine: the stream is one reply however the
    // threads are scheduled, and only the showing can bring it on screen before it ends.
    form->serialGatherer()->setQuietMs(1000);
    int replies = 0;
    connect(form->serialGatherer(), &ReplyGatherer::replyComplete, this, [&replies] { ++replies; });
    ConsoleLog *log = form->console();
    form->session().cmdType = -1;

    const QString path = dir.path() + QStringLiteral("/stream log.txt");
    {
        SaveDialogAnswer dialog(path);
        fileMenuItem(*form, "logToFileAction")->trigger();
    }
    QVERIFY(fileMenuItem(*form, "logToFileAction")->isChecked());
    const QByteArray prefix = "COM Receive:";
    const auto logged = [&] { return readFile(path); };

    // Enough to trim the console more than twice, in small pieces with short gaps, as a module streams.
    constexpr qint64 kStreamBytes = 640 * 1024;
    DeviceStream stream(pty);
    int checks = 0;
    while (stream.written() < kStreamBytes) {
        // What the device has sent by now is in the file and on screen before the reply ends.
        const qint64 sent = stream.written();
        QTRY_VERIFY_WITH_TIMEOUT(logged().size() >= prefix.size() + sent, kWait);
        QCOMPARE(replies, 0);
        const QByteArray file = logged();
        QVERIFY(file.startsWith(prefix));
        QCOMPARE(file.mid(prefix.size()), DeviceStream::expected(file.size() - prefix.size()));
        QCOMPARE(log->lines().last().right(2000), QString::fromLatin1(file.right(2000)));
        QVERIFY(form->serialGatherer()->pending().size() <= 64 * 1024);
        QVERIFY(log->document()->characterCount() <= 256 * 1024);
        ++checks;
    }
    stream.stop();
    QVERIFY(checks > 3);
    QTRY_COMPARE_WITH_TIMEOUT(replies, 1, kWait);

    // Every byte in the file, in order, as one line; the console kept only its recent part and says so.
    QCOMPARE(logged(), prefix + DeviceStream::expected(stream.written()) + '\n');
    QVERIFY(stream.written() > 2 * 256 * 1024); // the console was trimmed more than once
    QVERIFY(log->document()->characterCount() <= 256 * 1024);
    QCOMPARE(log->lines().first(),
             QStringLiteral("[Older lines were removed: the console keeps the last 256 KB. "
                            "File > Log to file… keeps everything.]"));
    QVERIFY(QString::fromLatin1(DeviceStream::expected(stream.written())).endsWith(log->lines().at(1)));
    QVERIFY(boxes.boxes.isEmpty());

    fileMenuItem(*form, "logToFileAction")->trigger(); // off: the file is closed and stays as it was
    QVERIFY(!fileMenuItem(*form, "logToFileAction")->isChecked());
    log->addLine(QStringLiteral("after"));
    QCOMPARE(logged(), prefix + DeviceStream::expected(stream.written()) + '\n');
}

void SaveLogTest::failedLogWriteTurnsLoggingOff_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<bool>("removeFile"); // otherwise the full device /dev/full
    QTest::addColumn<QString>("text");
    QTest::newRow("disk full EN") << QByteArray("EN") << false
                                  << "Logging to %1 stopped: No space left on device";
    QTest::newRow("file removed CN") << QByteArray("CN") << true
                                     << "记录日志到 %1 已停止：文件已被删除或替换";
}

void SaveLogTest::failedLogWriteTurnsLoggingOff()
{
    QFETCH(QByteArray, language);
    QFETCH(bool, removeFile);
    QFETCH(QString, text);
    if (!removeFile && !QFileInfo(QStringLiteral("/dev/full")).isWritable())
        QSKIP("/dev/full is not available here");
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty"), "[Ver]\r\nCEO=" + language + "\r\n"));
    auto form = makeMainWindow();
    boxes.clear(); // the start-up's own boxes (no serial device here) are not this test's
    const QString path = removeFile ? dir.path() + QStringLiteral("/log.txt") : QStringLiteral("/dev/full");
    QAction *logToFile = fileMenuItem(*form, "logToFileAction");
    {
        SaveDialogAnswer dialog(path);
        logToFile->trigger();
    }
    QVERIFY(logToFile->isChecked());
    fillLog(form->console());
    if (removeFile)
        QVERIFY(QFile::remove(path));
    const QString shown = form->console()->toPlainText();

    QTRY_COMPARE_WITH_TIMEOUT(boxes.boxes.size(), 1, kWait);
    QCOMPARE(boxes.boxes[0].kind, BoxKind::Error);
    QCOMPARE(boxes.boxes[0].text, text.arg(path));
    QVERIFY(!logToFile->isChecked());
    QCOMPARE(form->console()->toPlainText(), shown);
    form->console()->addLine(QStringLiteral("after")); // logging is off: no second box
    QVERIFY(!QFileInfo::exists(dir.path() + QStringLiteral("/log.txt")));
    QCOMPARE(boxes.boxes.size(), 1);
}

void SaveLogTest::lanFloodStaysWithinTheConsoleBound()
{
    // A LAN peer that sends without pause and without line ends: the console and the connection hold
    // no more than their bounds, however much has come.
    LoopbackServer peer;
    QVERIFY(peer.isListening());
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty"),
                                    "[Ver]\r\nCEO=EN\r\n[Program]\r\nConsoleLimitKB=256\r\n[Network]\r\n"
                                    "COMType=1\r\nTCPPort=" +
                                        QByteArray::number(peer.port()) + "\r\n"));
    auto form = makeMainWindow();
    QTRY_VERIFY_WITH_TIMEOUT(peer.peer() != nullptr, kWait);
    form->session().cmdType = -1;
    const QByteArray chunk(64 * 1024, 'f');
    qint64 sent = 0;
    int notices = 0;
    connect(form->console(), &ConsoleLog::linesAdded, this, [&](const QString &text) {
        if (!text.startsWith(QLatin1String("TCP Receive:")))
            return;
        QVERIFY(text.size() <= 12 + 64 * 1024);
        QVERIFY(form->tcpConnection()
                    ->findChild<QAbstractSocket *>(QStringLiteral("tcpSocket"))
                    ->bytesAvailable() <= 64 * 1024);
        QVERIFY(form->console()->document()->characterCount() <= 256 * 1024);
        notices = form->console()->lines().first().startsWith(QLatin1String("[Older lines")) ? 1 : 0;
    });
    while (sent < 16 * 1024 * 1024) {
        peer.peer()->write(chunk);
        sent += chunk.size();
        QTRY_VERIFY_WITH_TIMEOUT(peer.peer()->bytesToWrite() < 1024 * 1024, kWait);
    }
    QTRY_COMPARE_WITH_TIMEOUT(peer.peer()->bytesToWrite(), qint64(0), kWait);
    QCOMPARE(notices, 1);
    QVERIFY(form->console()->document()->characterCount() <= 256 * 1024);
}

QTEST_MAIN(SaveLogTest)
#include "test_savelog.moc"
