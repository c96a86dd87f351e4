// The ten one-shot operations of the second page: the confirmation questions (No sends nothing),
// what each empties first, the exact command on the wire, its type code and status texts in both
// languages, where the buttons and their result fields stand, and Qt's own buttons of the question box.

#include "protocol/Fields.h"
#include "support/PageRig.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"

#include <QApplication>
#include <QGroupBox>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QtTest>

namespace {
const QByteArray kLanguages[] = {"EN", "CN"};
constexpr int kUntouched = 777; // a CmdType no command uses

const QStringList kResultTargets{"listMemo", "serverStateEdit", "wifiStateEdit", "stationIpEdit",
                                 "versionEdit"};

QString contentOf(QWidget *widget)
{
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    return qobject_cast<QPlainTextEdit *>(widget)->toPlainText();
}
} // namespace

class OperationsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void operations_data();
    void yesSendsAfterClearing();
    void yesSendsAfterClearing_data() { operations_data(); }
    void noSendsNothing_data();
    void noSendsNothing();
    void questionButtonsFollowTheMessagesLanguage_data();
    void questionButtonsFollowTheMessagesLanguage();
    void secondListPressEmptiesTheMemoAgain();
    void layout();
};

void OperationsTest::operations_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("questionEn"); // empty: no question
    QTest::addColumn<QString>("questionCn");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("en");
    QTest::addColumn<QString>("cn");
    QTest::addColumn<QString>("cleared"); // objectName, or empty
    auto op = [](const char *button, const char *qEn, const char *qCn, const char *name, int code,
                 const char *en, const char *cn, const char *cleared) {
        QTest::newRow(name) << QString::fromLatin1(button) << QString::fromUtf8(qEn) << QString::fromUtf8(qCn)
                            << QByteArray("AT+") + name + "\r\n"
                            << code << QString::fromUtf8(en) << QString::fromUtf8(cn)
                            << QString::fromLatin1(cleared);
    };
    op("restartButton", "Do you confirm to restar?", "你确定要重启吗？", "RST", 3, "Restar", "系统重启", "");
    op("restoreButton", "Do you confirm to restore to factory parameters?", "你确定要恢复出厂参数吗？",
       "RESTORE", 4, "Restore", "恢复出厂参数", "");
    op("memoryButton", "", "", "MEMINF", 5, "check memory", "查询实时内存信息", "");
    op("smartLinkButton", "Do you confirm to Enter SmartLink mode?", "你确定要进入SmartLink模式吗？",
       "SMARTC", 6, "Enter SmartLink", "进入SmartLink模式", "");
    op("stationListButton", "", "", "LSSTAINF", 7, "Query connected Stations", "查询接入设备信息",
       "listMemo");
    op("apSearchButton", "", "", "LSAPINF", 8, "Search AP", "搜索附近AP", "listMemo");
    op("serverStateButton", "", "", "CLIENTLINK", 9, "check connection with server", "查询服务器连接状态",
       "serverStateEdit");
    op("wifiStateButton", "", "", "WIFISTATE", 10, "check connection with WiFi AP", "查询WiFi连接状态",
       "wifiStateEdit");
    op("stationIpButton", "", "", "CURRENTSTAIP", 11, "check Station IP", "查询当前station的IP",
       "stationIpEdit");
    op("versionButton", "", "", "QXVERSION", 98, "Get Version", "查询软件版本", "versionEdit");
}

void OperationsTest::yesSendsAfterClearing()
{
    QFETCH(QString, button);
    QFETCH(QString, questionEn);
    QFETCH(QString, questionCn);
    QFETCH(QByteArray, wire);
    QFETCH(int, code);
    QFETCH(QString, en);
    QFETCH(QString, cn);
    QFETCH(QString, cleared);
    for (const QByteArray &language : kLanguages) {
        const bool english = language == "EN";
        PageRig rig(language);
        rig.fillEveryField();
        QTest::mouseClick(rig.button(button), Qt::LeftButton);
        if (questionEn.isEmpty()) {
            QVERIFY(rig.boxes.boxes.isEmpty());
        } else {
            QCOMPARE(rig.boxes.texts(), QStringList{english ? questionEn : questionCn});
            QCOMPARE(rig.boxes.boxes.front().kind, BoxKind::Question);
        }
        QCOMPARE(rig.sent(wire.size()), wire);
        QCOMPARE(rig.form().session().cmdType, code);
        // Queries too show the "setting" text.
        QCOMPARE(rig.form().statusPanel(2), english ? QStringLiteral("Setting ") + en + "......"
                                                    : QStringLiteral("正在设置") + cn + "......");
        // The command's CR LF shows as one line break.
        QCOMPARE(rig.form().console()->toPlainText(),
                 QStringLiteral("\nCOM Send:") + QString::fromLatin1(wire.chopped(2)) + QLatin1Char('\n'));
        for (const QString &target : kResultTargets)
            QCOMPARE(contentOf(rig.widget(target)), target == cleared ? QString() : QStringLiteral("x"));
        // Clearing an operation's target is all it does to the pages.
        QCOMPARE(rig.emptyFields(), cleared.isEmpty() ? QStringList() : QStringList{cleared});
    }
}

void OperationsTest::noSendsNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("questionEn");
    QTest::addColumn<QString>("questionCn");
    QTest::newRow("restart") << "restartButton"
                             << "Do you confirm to restar?"
                             << "你确定要重启吗？";
    QTest::newRow("restore") << "restoreButton"
                             << "Do you confirm to restore to factory parameters?"
                             << "你确定要恢复出厂参数吗？";
    QTest::newRow("SmartLink") << "smartLinkButton"
                               << "Do you confirm to Enter SmartLink mode?"
                               << "你确定要进入SmartLink模式吗？";
}

void OperationsTest::noSendsNothing()
{
    QFETCH(QString, button);
    QFETCH(QString, questionEn);
    QFETCH(QString, questionCn);
    for (const QByteArray &language : kLanguages) {
        PageRig rig(language);
        rig.boxes.setAnswer(false);
        rig.form().session().cmdType = kUntouched;
        QTest::mouseClick(rig.button(button), Qt::LeftButton);
        QCOMPARE(rig.boxes.texts(), QStringList{language == "EN" ? questionEn : questionCn});
        QVERIFY(rig.sentNothing());
        QCOMPARE(rig.form().session().cmdType, kUntouched);
        QCOMPARE(rig.form().statusPanel(2), QString());
        QCOMPARE(rig.form().console()->lineCount(), 0);
    }
}

void OperationsTest::questionButtonsFollowTheMessagesLanguage_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("no");
    QTest::newRow("CN") << QByteArray("CN") << "是(&Y)"
                        << "否(&N)";
    QTest::newRow("EN") << QByteArray("EN") << "&Yes"
                        << "&No";
    QTest::newRow("FR") << QByteArray("FR") << "&Yes"
                        << "&No";
}

// The real box, as a person sees it: Qt's own Yes and No speak the messages' language.
void OperationsTest::questionButtonsFollowTheMessagesLanguage()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, yes);
    QFETCH(QString, no);
    const QString qtCatalogue = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_zh_CN.qm";
    if (!QFileInfo::exists(qtCatalogue))
        QSKIP(qPrintable(qtCatalogue + " is missing (Debian package qt6-translations-l10n)"));
    PageRig rig(language);
    Boxes::clearHandler();
    QStringList shown;
    QTimer::singleShot(0, &rig.form(), [&shown] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        shown = QStringList{box->button(QMessageBox::Yes)->text(), box->button(QMessageBox::No)->text()};
        box->button(QMessageBox::No)->click();
    });
    QTest::mouseClick(rig.button(QStringLiteral("restartButton")), Qt::LeftButton);
    QCOMPARE(shown, (QStringList{yes, no}));
    QVERIFY(rig.sentNothing());
}

void OperationsTest::secondListPressEmptiesTheMemoAgain()
{
    // Both list buttons share the one memo; each press starts it afresh.
    PageRig rig("EN");
    QPlainTextEdit *memo = rig.form().memo(Field::ListMemo);
    QVERIFY(memo);
    memo->appendPlainText(QStringLiteral("+LSSTAINF:1,\"aa:bb\""));
    QTest::mouseClick(rig.button(QStringLiteral("stationListButton")), Qt::LeftButton);
    QVERIFY(memo->toPlainText().isEmpty());
    memo->appendPlainText(QStringLiteral("+LSSTAINF:2,\"cc:dd\""));
    QTest::mouseClick(rig.button(QStringLiteral("apSearchButton")), Qt::LeftButton);
    QVERIFY(memo->toPlainText().isEmpty());
    QCOMPARE(rig.sent(24), QByteArray("AT+LSSTAINF\r\nAT+LSAPINF\r\n"));
}

void OperationsTest::layout()
{
    PageRig rig("CN");
    MainWindow &form = rig.form();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    control<QTabWidget>(form, "pages")->setCurrentIndex(1);
    QCoreApplication::processEvents();
    QWidget *page = control<QTabWidget>(form, "pages")->widget(1);
    auto box = [&](const char *name) {
        QWidget *w = page->findChild<QWidget *>(QLatin1String(name));
        return w ? QRect(w->mapTo(page, QPoint(0, 0)), w->size()) : QRect();
    };
    // System operations: restart and restore, then memory and SmartLink.
    QCOMPARE(box("restartButton").top(), box("restoreButton").top());
    QVERIFY(box("restartButton").right() < box("restoreButton").left());
    QCOMPARE(box("memoryButton").top(), box("smartLinkButton").top());
    QVERIFY(box("restartButton").bottom() < box("memoryButton").top());
    // Base operations: list buttons side by side above the memo, then one query per row with its field.
    QCOMPARE(box("stationListButton").top(), box("apSearchButton").top());
    QVERIFY(box("stationListButton").bottom() < box("listMemo").top());
    const char *rows[][2] = {{"serverStateButton", "serverStateEdit"},
                             {"wifiStateButton", "wifiStateEdit"},
                             {"stationIpButton", "stationIpEdit"},
                             {"versionButton", "versionEdit"}};
    int above = box("listMemo").bottom();
    for (const auto &row : rows) {
        const QRect button = box(row[0]), field = box(row[1]);
        QVERIFY2(button.top() > above, row[0]);
        QVERIFY2(button.right() < field.left(), row[0]);
        QVERIFY2(field.center().y() >= button.top() && field.center().y() <= button.bottom(), row[0]);
        QVERIFY2(qobject_cast<QLineEdit *>(rig.widget(QLatin1String(row[1])))->isReadOnly(), row[1]);
        above = button.bottom();
    }
    QCOMPARE(form.memo(Field::ListMemo)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

QTEST_MAIN(OperationsTest)
#include "test_operations.moc"
