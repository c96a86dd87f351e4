// Profiles in the window: "Save profile…" writes what the fields hold; "Apply profile…" shows the
// profile beside the module, writes nothing before "Write", then only what differs (or all) and reads
// each written row back; "Compare with profile…" shows the same table and writes nothing; a profile
// with problems gets one box listing them and sends nothing. Against the module simulator, loopback
// addresses only; the table is read the way a screen reader reads it.

#include "protocol/ParameterCatalogue.h"
#include "protocol/Profile.h"
#include "support/FileBytes.h"
#include "support/SimWindow.h"
#include "window/ApplyProfileDialog.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/ProfileActions.h"
#include "window/ReadAllControl.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <algorithm>

namespace {
constexpr int kRunWait = 20000;

QAccessibleTableInterface *tableOf(ApplyProfileDialog &dialog)
{
    return QAccessible::queryAccessibleInterface(control(dialog, "profileTable"))->tableInterface();
}

QString cellText(ApplyProfileDialog &dialog, int row, int column)
{
    return tableOf(dialog)->cellAt(row, column)->text(QAccessible::Name);
}

// The column's head as a reader announces it with a cell.
QString headerText(ApplyProfileDialog &dialog, int column)
{
    QString text;
    for (QAccessibleInterface *head :
         tableOf(dialog)->cellAt(0, column)->tableCellInterface()->columnHeaderCells()) {
        if (text.isEmpty())
            text = head->text(QAccessible::Name);
        // Qt makes these cells for the caller and keeps no hold of them: hand them to its cache to end.
        QAccessible::deleteAccessibleInterface(QAccessible::registerAccessibleInterface(head));
    }
    return text;
}

// The table row of a parameter, found by the AT name its first cell shows.
int rowOf(ApplyProfileDialog &dialog, const QString &atName)
{
    for (int row = 0; row < tableOf(dialog)->rowCount(); ++row) {
        const QString name = cellText(dialog, row, ApplyProfileDialog::ParameterColumn);
        if (name == atName || name.endsWith(QLatin1Char('(') + atName + QLatin1Char(')')))
            return row;
    }
    return -1;
}

QStringList column(ApplyProfileDialog &dialog, int column)
{
    QStringList texts;
    for (int row = 0; row < tableOf(dialog)->rowCount(); ++row)
        texts << cellText(dialog, row, column);
    return texts;
}

QPushButton *rowButton(MainWindow &form, Field firstField, const char *which)
{
    QString stem = form.field(firstField)->objectName();
    stem.chop(stem.endsWith(QLatin1String("Edit")) ? 4 : 3);
    return control<QPushButton>(form, stem + QLatin1String(which));
}

QStringList consoleLinesStarting(MainWindow &form, const QString &start)
{
    return form.console()->lines().filter(
        QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(start)));
}

// Answers the file dialogs of one test with the given paths.
class FileAnswers {
public:
    explicit FileAnswers(const QString &path)
    {
        Boxes::setSaveFileHandler([path](const Boxes::SaveFileRequest &) { return path; });
        Boxes::setOpenFileHandler([path](const Boxes::OpenFileRequest &) { return path; });
    }
    ~FileAnswers()
    {
        Boxes::clearSaveFileHandler();
        Boxes::clearOpenFileHandler();
    }
    FileAnswers(const FileAnswers &) = delete;
    FileAnswers &operator=(const FileAnswers &) = delete;
};
} // namespace

class ProfilesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void saveWritesWhatTheFieldsHold_data();
    void saveWritesWhatTheFieldsHold();
    void applyWritesWhatDiffersAndVerifies_data();
    void applyWritesWhatDiffersAndVerifies();
    void compareWritesNothing_data();
    void compareWritesNothing();
    void refusedWritesAreReported_data();
    void refusedWritesAreReported();
    void cancelAndCloseStopSending();
    void problemsAreListedAndNothingIsSent_data();
    void problemsAreListedAndNothingIsSent();
};

void ProfilesTest::saveWritesWhatTheFieldsHold_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("line");
    QTest::newRow("English") << QByteArray("EN")
                             << QStringLiteral("Profile saved to %1: 21 parameters, 10 left out.");
    QTest::newRow("Chinese") << QByteArray("CN")
                             << QStringLiteral("配置文件已保存到 %1：21个参数，10个未保存。");
}

void ProfilesTest::saveWritesWhatTheFieldsHold()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, line);
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/qxtest-profiles"),
                                    "[Ver]\r\nCEO=" + language + "\r\n"));
    const std::unique_ptr<MainWindow> form = makeMainWindow();
    boxes.clear();
    form->lineEdit(Field::Heartbeat)->setText(QStringLiteral("60"));
    form->lineEdit(Field::StaSsid)->setText(QStringLiteral("家里"));
    form->lineEdit(Field::ApSsid)->clear(); // the AP row cannot be sent without its SSID
    const QString path = dir.path() + QStringLiteral("/saved.txt");
    FileAnswers answers(path);

    control<QAction>(*form, "saveProfileAction")->trigger();
    QVERIFY(boxes.boxes.isEmpty());
    const QByteArray bytes = readFile(path);
    const QList<QByteArray> lines = bytes.split('\n');
    QVERIFY(lines.contains("HEARTBEATT=60"));
    QVERIFY(bytes.contains(QStringLiteral("STACONFIG=\"家里\",").toUtf8()));
    const bool english = language == "EN";
    QVERIFY(lines.contains("# APINF: " + (english ? QByteArray("Value Can not be blank!")
                                                  : QStringLiteral("不能设置为空值！").toUtf8())));
    QVERIFY(!bytes.contains("\nAPINF="));
    // What was saved can be applied as it stands.
    const Profile saved = ParseProfile(bytes);
    QVERIFY(saved.isValid());
    // At start-up ten rows have a blank field or list: they are left out as comments.
    QCOMPARE(saved.lines.size(), 21);
    QCOMPARE(
        std::count_if(lines.begin(), lines.end(), [](const QByteArray &l) { return l.startsWith("# "); }),
        10);
    QCOMPARE(consoleLinesStarting(*form, line.left(4)),
             QStringList{line.arg(QDir::toNativeSeparators(path))});
}

void ProfilesTest::applyWritesWhatDiffersAndVerifies_data()
{
    QTest::addColumn<int>("link");
    QTest::addColumn<bool>("writeAll");
    QTest::newRow("LAN, what differs") << 1 << false;
    QTest::newRow("LAN, write all") << 1 << true;
    QTest::newRow("relay, what differs") << 2 << false;
}

void ProfilesTest::applyWritesWhatDiffersAndVerifies()
{
    QFETCH(int, link);
    QFETCH(bool, writeAll);
    SimWindow sim;
    QString why;
    QVERIFY2(sim.start(link, {}, "EN", &why), qPrintable(why));
    MainWindow &form = sim.form();
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("module.txt"));
    FileAnswers answers(path);

    // The module as it is now, read and saved.
    QTest::mouseClick(control<QPushButton>(form, "readAllButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(control<QPushButton>(form, "readAllButton")->isEnabled(), kRunWait);
    control<QAction>(form, "saveProfileAction")->trigger();
    const Profile saved = ParseProfile(readFile(path));
    QCOMPARE(saved.lines.size(), 31);

    // Two parameters changed by their set buttons.
    form.console()->clearLog();
    form.lineEdit(Field::Heartbeat)->setText(QStringLiteral("60"));
    QTest::mouseClick(rowButton(form, Field::Heartbeat, "SetButton"), Qt::LeftButton);
    QTRY_COMPARE(form.console()->lines().count(QStringLiteral("Set successfully!")), 1);
    form.lineEdit(Field::RxMax)->setText(QStringLiteral("1024"));
    QTest::mouseClick(rowButton(form, Field::RxMax, "SetButton"), Qt::LeftButton);
    QTRY_COMPARE(form.console()->lines().count(QStringLiteral("Set successfully!")), 2);
    const qsizetype before = sim.commandsReceived().size();

    // The dialog reads what the buttons may have changed, and writes nothing yet.
    control<QAction>(form, "applyProfileAction")->trigger();
    auto *dialog = form.findChild<ApplyProfileDialog *>();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Apply profile - module.txt"));
    QTRY_VERIFY_WITH_TIMEOUT(control<QPushButton>(*dialog, "writeButton")->isEnabled(), kRunWait);
    QCOMPARE(sim.commandsReceived().mid(before),
             (QStringList{QStringLiteral("AT+HEARTBEATT=?"), QStringLiteral("AT+RCVMAX=?")}));
    QCOMPARE(control<QLabel>(*dialog, "profileStatusLabel")->text(),
             QStringLiteral("2 of 31 parameters differ from the module."));
    QCOMPARE(tableOf(*dialog)->rowCount(), 31);
    QCOMPARE(QAccessible::queryAccessibleInterface(control(*dialog, "profileTable"))->text(QAccessible::Name),
             QStringLiteral("Profile parameters"));
    QCOMPARE(headerText(*dialog, ApplyProfileDialog::DiffersColumn), QStringLiteral("Differs"));
    const int heartbeat = rowOf(*dialog, QStringLiteral("HEARTBEATT"));
    const int rxMax = rowOf(*dialog, QStringLiteral("RCVMAX"));
    QVERIFY(heartbeat >= 0 && rxMax >= 0);
    QCOMPARE(cellText(*dialog, heartbeat, ApplyProfileDialog::ModuleColumn), QStringLiteral("60"));
    QCOMPARE(cellText(*dialog, heartbeat, ApplyProfileDialog::ProfileColumn), QStringLiteral("120"));
    QStringList differs(31, QStringLiteral("no"));
    differs[heartbeat] = differs[rxMax] = QStringLiteral("yes");
    QCOMPARE(column(*dialog, ApplyProfileDialog::DiffersColumn), differs);
    QCOMPARE(column(*dialog, ApplyProfileDialog::OutcomeColumn), QStringList(31, QString()));

    if (writeAll)
        QTest::mouseClick(control<QCheckBox>(*dialog, "writeAllCheck"), Qt::LeftButton);
    const qsizetype confirmed = sim.commandsReceived().size();
    QTest::mouseClick(control<QPushButton>(*dialog, "writeButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!consoleLinesStarting(form, QStringLiteral("Profile module.txt")).isEmpty(),
                             kRunWait);

    QStringList expected;
    QStringList outcomes(31, QStringLiteral("same, not written"));
    for (const ProfileLine &line : saved.lines) {
        if (!writeAll && line.row->atName != QLatin1String("HEARTBEATT") &&
            line.row->atName != QLatin1String("RCVMAX"))
            continue;
        expected << QStringLiteral("AT+%1=%2").arg(line.row->atName, line.value)
                 << QStringLiteral("AT+%1=?").arg(line.row->atName);
        outcomes[rowOf(*dialog, line.row->atName)] = QStringLiteral("written and verified");
    }
    QCOMPARE(sim.commandsReceived().mid(confirmed), expected);
    QCOMPARE(column(*dialog, ApplyProfileDialog::OutcomeColumn), outcomes);
    QCOMPARE(consoleLinesStarting(form, QStringLiteral("Profile module.txt")),
             QStringList{
                 writeAll ? QStringLiteral("Profile module.txt applied: 31 written and verified, 0 written, "
                                           "0 failed, 0 unchanged.")
                          : QStringLiteral("Profile module.txt applied: 2 written and verified, 0 written, "
                                           "0 failed, 29 unchanged.")});
    // The read-back went through the window's parser too.
    QCOMPARE(form.lineEdit(Field::Heartbeat)->text(), QStringLiteral("120"));
    QCOMPARE(form.lineEdit(Field::RxMax)->text(), QStringLiteral("2048"));
    QVERIFY(!control<QPushButton>(*dialog, "writeButton")->isEnabled());
    QVERIFY2(sim.boxes().boxes.isEmpty(), qPrintable(sim.boxes().texts().join(QLatin1Char('|'))));

    // Applied once more, the session knows the module holds the profile: nothing to read or write.
    QTest::mouseClick(control<QPushButton>(*dialog, "closeButton"), Qt::LeftButton);
    QTRY_VERIFY(form.findChild<ApplyProfileDialog *>() == nullptr);
    const qsizetype done = sim.commandsReceived().size();
    control<QAction>(form, "applyProfileAction")->trigger();
    dialog = form.findChild<ApplyProfileDialog *>();
    QVERIFY(dialog);
    QCOMPARE(control<QLabel>(*dialog, "profileStatusLabel")->text(),
             QStringLiteral("0 of 31 parameters differ from the module."));
    QCOMPARE(sim.commandsReceived().size(), done);
    dialog->close();
}

void ProfilesTest::compareWritesNothing_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QStringList>("differs");
    QTest::addColumn<QString>("status");
    QTest::newRow("English") << QByteArray("EN") << QStringLiteral("Compare with profile - hand.txt")
                             << QStringLiteral("Differs")
                             << QStringList{QStringLiteral("yes"), QStringLiteral("no"), QStringLiteral("no")}
                             << QStringLiteral("1 of 3 parameters differ from the module.");
    QTest::newRow("Chinese") << QByteArray("CN") << QStringLiteral("与配置文件比较 - hand.txt")
                             << QStringLiteral("不同")
                             << QStringList{QStringLiteral("是"), QStringLiteral("否"), QStringLiteral("否")}
                             << QStringLiteral("3个参数中有1个与模块不同。");
}

void ProfilesTest::compareWritesNothing()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, title);
    QFETCH(QString, header);
    QFETCH(QStringList, differs);
    QFETCH(QString, status);
    SimWindow sim;
    QString why;
    QVERIFY2(sim.start(1, {}, language, &why), qPrintable(why));
    MainWindow &form = sim.form();
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("hand.txt"));
    writeFile(path, "# written by hand\nRCVMAX=2048\nHEARTBEATT=60\n\nPTHPORT=8899\n");
    FileAnswers answers(path);

    // No read-all in this session: the dialog reads the profile's three parameters, in the
    // order of the pages, and nothing else.
    control<QAction>(form, "compareProfileAction")->trigger();
    auto *dialog = form.findChild<ApplyProfileDialog *>();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), title);
    QVERIFY(!control<QPushButton>(*dialog, "writeButton")->isVisible());
    QVERIFY(!control<QCheckBox>(*dialog, "writeAllCheck")->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(control<QLabel>(*dialog, "profileStatusLabel")->text(), status, kRunWait);
    QCOMPARE(sim.commandsReceived(),
             (QStringList{QStringLiteral("AT+PTHPORT=?"), QStringLiteral("AT+HEARTBEATT=?"),
                          QStringLiteral("AT+RCVMAX=?")}));
    QCOMPARE(tableOf(*dialog)->rowCount(), 3);
    QCOMPARE(headerText(*dialog, ApplyProfileDialog::DiffersColumn), header);
    QCOMPARE(column(*dialog, ApplyProfileDialog::ModuleColumn),
             (QStringList{QStringLiteral("8899"), QStringLiteral("120"), QStringLiteral("2048")}));
    QCOMPARE(column(*dialog, ApplyProfileDialog::ProfileColumn),
             (QStringList{QStringLiteral("8899"), QStringLiteral("60"), QStringLiteral("2048")}));
    const int heartbeat = rowOf(*dialog, QStringLiteral("HEARTBEATT"));
    QCOMPARE(heartbeat, 1);
    QStringList shown = column(*dialog, ApplyProfileDialog::DiffersColumn);
    shown.move(heartbeat, 0);
    QCOMPARE(shown, differs);

    QTest::mouseClick(control<QPushButton>(*dialog, "closeButton"), Qt::LeftButton);
    QTRY_VERIFY(form.findChild<ApplyProfileDialog *>() == nullptr);
    QCOMPARE(sim.commandsBeforeTestCommand().size(), 3);
    QVERIFY(sim.boxes().boxes.isEmpty());
}

void ProfilesTest::refusedWritesAreReported_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("English") << QByteArray("EN") << QStringLiteral("failed: refused: ERROR");
    QTest::newRow("Chinese") << QByteArray("CN") << QStringLiteral("失败：被拒绝：ERROR");
}

void ProfilesTest::refusedWritesAreReported()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, outcome);
    const bool english = language == "EN";
    SimWindow sim;
    QString why;
    QVERIFY2(sim.start(1, {QStringLiteral("--error")}, language, &why), qPrintable(why));
    MainWindow &form = sim.form();
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("two.txt"));
    writeFile(path, "HEARTBEATT=60\nRCVMAX=1024\n");
    FileAnswers answers(path);

    control<QAction>(form, "applyProfileAction")->trigger();
    auto *dialog = form.findChild<ApplyProfileDialog *>();
    QVERIFY(dialog);
    QTRY_VERIFY_WITH_TIMEOUT(control<QPushButton>(*dialog, "writeButton")->isEnabled(), kRunWait);
    QTest::mouseClick(control<QPushButton>(*dialog, "writeButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(column(*dialog, ApplyProfileDialog::OutcomeColumn).last().startsWith(outcome),
                             kRunWait);
    for (const QString &text : column(*dialog, ApplyProfileDialog::OutcomeColumn))
        QVERIFY2(text.startsWith(outcome), qPrintable(text));
    if (!english)
        return;
    QCOMPARE(column(*dialog, ApplyProfileDialog::DiffersColumn),
             (QStringList{QStringLiteral("unknown"), QStringLiteral("unknown")}));
    for (const QString &text : column(*dialog, ApplyProfileDialog::ModuleColumn))
        QVERIFY2(text.startsWith(QStringLiteral("(not read: refused")), qPrintable(text));
    QTRY_VERIFY_WITH_TIMEOUT(!consoleLinesStarting(form, QStringLiteral("Profile two.txt")).isEmpty(),
                             kRunWait);
    QCOMPARE(consoleLinesStarting(form, QStringLiteral("Profile two.txt")),
             QStringList{QStringLiteral(
                 "Profile two.txt applied: 0 written and verified, 0 written, 2 failed, "
                 "0 unchanged; failed: Heartbeat interval (HEARTBEATT), Serial Data Max Length (RCVMAX).")});
}

void ProfilesTest::cancelAndCloseStopSending()
{
    SimWindow sim;
    QString why;
    QVERIFY2(sim.start(1, {QStringLiteral("--delay"), QStringLiteral("150")}, "EN", &why), qPrintable(why));
    MainWindow &form = sim.form();
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("four.txt"));
    writeFile(path, "PTHPORT=8123\nREMOTEPORT=9600\nHEARTBEATT=60\nRCVMAX=1024\n");
    FileAnswers answers(path);

    // Closed while it reads: nothing more goes out.
    control<QAction>(form, "applyProfileAction")->trigger();
    auto *dialog = form.findChild<ApplyProfileDialog *>();
    QVERIFY(dialog);
    QTRY_VERIFY_WITH_TIMEOUT(sim.commandsReceived().size() >= 1, kRunWait);
    QTest::mouseClick(control<QPushButton>(*dialog, "closeButton"), Qt::LeftButton);
    QTRY_VERIFY(form.findChild<ApplyProfileDialog *>() == nullptr);
    const int sentAtClose = sim.commandsSent();
    QCOMPARE(sim.commandsBeforeTestCommand().size(), sentAtClose);

    // Cancelled while it writes: the rows not reached say so, and nothing more goes out.
    control<QAction>(form, "applyProfileAction")->trigger();
    dialog = form.findChild<ApplyProfileDialog *>();
    QVERIFY(dialog);
    QTRY_VERIFY_WITH_TIMEOUT(control<QPushButton>(*dialog, "writeButton")->isEnabled(), kRunWait);
    const qsizetype confirmed = sim.commandsReceived().size();
    QTest::mouseClick(control<QPushButton>(*dialog, "writeButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(sim.commandsReceived().size() >= confirmed + 2, kRunWait);
    QTest::mouseClick(control<QPushButton>(*dialog, "cancelButton"), Qt::LeftButton);
    const int sentAtCancel = sim.commandsSent();
    QCOMPARE(column(*dialog, ApplyProfileDialog::OutcomeColumn).last(), QStringLiteral("not reached"));
    const QStringList summary = consoleLinesStarting(form, QStringLiteral("Profile four.txt"));
    QCOMPARE(summary.size(), 1);
    QVERIFY2(summary.front().startsWith(QStringLiteral("Profile four.txt cancelled: ")),
             qPrintable(summary.front()));
    QVERIFY(!control<QPushButton>(*dialog, "cancelButton")->isEnabled());
    QCOMPARE(sim.commandsBeforeTestCommand().size(), sentAtCancel);
}

void ProfilesTest::problemsAreListedAndNothingIsSent_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<bool>("applying");
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<QStringList>("box");
    QTest::newRow("unknown name") << QByteArray("EN") << true << QByteArray("HEARTBEATT=60\nFOO=1\n")
                                  << QStringList{
                                         QStringLiteral("The profile %1 cannot be used; nothing was sent:"),
                                         QStringLiteral("line 2: FOO: unknown parameter")};
    QTest::newRow("two problems, compare")
        << QByteArray("EN") << false << QByteArray("HEARTBEATT=60\nHEARTBEATT=61\njunk\n")
        << QStringList{QStringLiteral("The profile %1 cannot be used; nothing was sent:"),
                       QStringLiteral("line 2: given twice, first on line 1"),
                       QStringLiteral("line 3: not NAME=value")};
    QTest::newRow("Chinese") << QByteArray("CN") << true << QByteArray("RCVMAX=1\nFOO=1\n")
                             << QStringList{QStringLiteral("配置文件 %1 无法使用，未发送任何命令："),
                                            QStringLiteral("第2行：FOO: 未知参数")};
    QTest::newRow("not GBK, Chinese")
        << QByteArray("CN") << false << QByteArray("STACONFIG=\"Café 网络\",\"pässwörd\"\n")
        << QStringList{QStringLiteral("配置文件 %1 无法使用，未发送任何命令："),
                       QStringLiteral("第1行第23列：\"ä\"（U+00E4）无法发送：模块只接受GBK文本")};
    QTest::newRow("no parameters") << QByteArray("EN") << true << QByteArray("# nothing\n")
                                   << QStringList{QStringLiteral("The profile %1 holds no parameters.")};
}

void ProfilesTest::problemsAreListedAndNothingIsSent()
{
    QFETCH(QByteArray, language);
    QFETCH(bool, applying);
    QFETCH(QByteArray, profile);
    QFETCH(QStringList, box);
    // The serial port is missing: anything sent would show the serial layer's box as well.
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/qxtest-profiles"),
                                    "[Ver]\r\nCEO=" + language + "\r\n"));
    const std::unique_ptr<MainWindow> form = makeMainWindow();
    const QString path = dir.path() + QStringLiteral("/bad.txt");
    writeFile(path, profile);
    FileAnswers answers(path);
    boxes.clear();
    form->console()->clearLog();

    (applying ? control<QAction>(*form, "applyProfileAction")
              : control<QAction>(*form, "compareProfileAction"))
        ->trigger();
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes.front().kind, BoxKind::Warning);
    box[0] = box[0].arg(QDir::toNativeSeparators(path));
    QCOMPARE(boxes.boxes.front().text, box.join(QLatin1Char('\n')));
    QVERIFY(form->findChild<ApplyProfileDialog *>() == nullptr);
    QCOMPARE(form->console()->toPlainText(), QString());
}

QTEST_MAIN(ProfilesTest)
#include "test_windowprofiles.moc"
