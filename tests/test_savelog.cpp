// The console log as the user keeps it: "Save log…" in the File menu writes the whole log to the
// file picked in the save dialog, byte for byte; a failed write says why and leaves the log alone;
// a log line never joins text the user typed into the console.

#include "links/ConsoleLog.h"
#include "shell/SharedState.h"
#include "shell/Unit1.h"
#include "support/ImmutableFile.h"
#include "support/Pty.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

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

// The File menu's "Save log…", found the way a user finds it, then chosen.
QAction *saveLogInFileMenu(TForm1 &form)
{
    const auto *file = form.menuBar()->findChild<QMenu *>(QStringLiteral("fileMenu"));
    if (!file)
        return nullptr;
    for (QAction *action : file->actions()) {
        if (action->objectName() == QLatin1String("saveLogAction"))
            return action;
    }
    return nullptr;
}

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
};

void SaveLogTest::savesTheWholeLogByteForByte_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("dialogTitle");
    QTest::newRow("CN") << QByteArray("CN") << "保存日志…"
                        << "保存日志";
    QTest::newRow("EN") << QByteArray("EN") << "Save log…"
                        << "Save log";
}

void SaveLogTest::savesTheWholeLogByteForByte()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, caption);
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
    QCOMPARE(save->text(), caption);
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
    CmdType = -1; // no command asked for this reply: the parser adds nothing to the log
    if (logFirst) {
        QVERIFY(pty.write("OK"));
        QTRY_COMPARE_WITH_TIMEOUT(log->lineCount(), 1, kWait);
    }
    if (clearFirst)
        QTest::mouseClick(form->clearConsoleButton, Qt::LeftButton);

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

QTEST_MAIN(SaveLogTest)
#include "test_savelog.moc"
