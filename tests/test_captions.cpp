// The main window's two faces: the designed Chinese captions, and the English ones it switches to at
// first show whenever the language is not exactly "CN". Every caption of the window is compared with
// the caption table below, the set/read button rule, or else with its designed text, so a caption the
// switch forgets or changes by mistake shows up as well.

#include "support/TestSupport.h"
#include "window/MainWindow.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QtTest>
#include <map>

namespace {
struct Row {
    const char *name; // objectName, or "tab:N" for the page tabs
    const char *cn;
    const char *en;
};

// Chinese as designed -> English. Rows with cn == en stay as designed in both languages.
const Row kCaptions[] = {
    {"enterSettingButton", "进入配置", "Enter to Setting"},
    {"enterDataButton", "进入数传", "Enter to Data"},
    {"portOptionsButton", "串口选项", "COM Port"},
    {"clearConsoleButton", "清除", "Clear"},
    {"exitButton", "退出", "Exit"},
    {"atButton", "AT", "AT"},
    {"linkGroup", "通讯链路", "Link Type"},
    {"serialLinkRadio", "串口", "COM"},
    {"lanLinkRadio", "局域网：", "LAN:"},
    {"wanLinkRadio", "互联网：", "Internet:"},
    {"lanConnectButton", "连接", "Connect"},
    {"wanConnectButton", "连接", "Connect"},
    {"targetIdButton", "目标ID", "ID"},
    {"fileMenu", "文件", "File"},
    {"portSettingAction", "串口设置", "COM setting"},
    {"targetIdAction", "远程目标ID", "Target ID"},
    {"saveLogAction", "保存日志…", "Save log…"},
    {"logToFileAction", "记录日志到文件…", "Log to file…"},
    {"saveProfileAction", "保存配置文件…", "Save profile…"},
    {"applyProfileAction", "应用配置文件…", "Apply profile…"},
    {"compareProfileAction", "与配置文件比较…", "Compare with profile…"},
    {"readAllButton", "读取全部", "Read all"},
    {"readAllCancelButton", "取消", "Cancel"},
    {"exitAction", "退出", "Exit"},
    {"helpMenu", "帮助", "Help"},
    {"aboutAction", "关于", "About"},
    {"helpAction", "帮助", "Help"},
    {"tab:0", "基本参数", "Parameters"},
    {"tab:1", "命令与开关配置", "Excute and Switch"},
    {"tab:2", "IO控制与读取", "IO set and read"},
    {"tab:3", "数据发送与广播搜索", "Data Transmission and Broadcast Search"},
    {"workModeGroup", "工作模式", "Work mode"},
    {"workModeLabel", "工作模式", "Work mode"},
    {"dhcpLabel", "DHCP", "DHCP"},
    {"stationGroup", "Station", "Station"},
    {"staSsidLabel", "WiFi SSID", "WiFi SSID"},
    {"staPasswordLabel", "WiFi密码", "Station Password"},
    {"staIpLabel", "StationIP", "StationIP"},
    {"staMacLabel", "MAC", "MAC"},
    {"apGroup", "AP", "AP"},
    {"apPasswordLabel", "AP密码", "AP Password"},
    {"apGatewayLabel", "APGateWay", "AP Gateway"},
    {"apChannelLabel", "工作信道", "Channel"},
    {"apAuthLabel", "认证", "Authentication"},
    {"urlLabel", "URL", "URL"},
    {"serialGroup", "串口相关参数", "Serial settings"},
    {"baudLabel", "串口波特率", "BaudRate"},
    {"parityLabel", "校验", "Verify"},
    {"dataBitsLabel", "数据位", "Databits"},
    {"stopBitsLabel", "停止位", "Stopbits"},
    {"rxTimeoutLabel", "串口等待延时(ms)", "Data MinInterval(ms)"},
    {"rxMaxLabel", "串口最大包长(Byte)", "Max Package(Bytes)"},
    {"debugOutputLabel", "调试信息输出", "Debug information"},
    {"networkGroup", "网络通讯配置", "Network Communication"},
    {"localPortLabel", "本地服务端口", "Local Port"},
    {"serverIpLabel", "服务器IP", "Server IP"},
    {"serverPortLabel", "服务器端口", "Server Port"},
    {"netProtocolLabel", "网络协议", "Network Protocol"},
    {"clientProtocolLabel", "Client协议", "Client Protocol"},
    {"heartbeatLabel", "心跳周期(S)", "Heartbeat Interval(s)"},
    {"deviceIdLabel", "设备ID", "WiFi ID"},
    {"zoneLabel", "区号", "Zone"},
    {"zoneValidLabel", "区号有效", "Zone Enable"},
    {"saveRebootButton", "保存重启", "Save&&Reboot"},
    {"addQuotesCheck", "参数值加上\"\"", "参数值加上\"\""},
    {"baseOperationGroup", "基本操作", "Base Operation"},
    {"stationListButton", "查询接入设备", "Query Connected Stations"},
    {"apSearchButton", "搜索AP", "Search AP"},
    {"serverStateButton", "服务器连接状态", "Server Connection status"},
    {"wifiStateButton", "WiFi连接状态", "WiFi Connection status"},
    {"stationIpButton", "查询Station IP", "Query Station IP"},
    {"versionButton", "查询软件版本", "Get Version"},
    {"switchGroup", "通讯开关与配置", "Communcation Switch and settings"},
    {"connRemoteLabel", "远程连接开关", "Server Connection"},
    {"pthServerEnLabel", "网络数据开关", "Data transmission"},
    {"cmdServerEnLabel", "网络配置开关", "Network Setting"},
    {"serverTimeLabel", "服务超时时间(S)", "Service timeout"},
    {"cmdMaxConnLabel", "配置连接最大数", "Setting MAX Number"},
    {"pthMaxConnLabel", "数传端口最大数", "Data MAX Number"},
    {"systemOperationGroup", "系统操作", "System Operation"},
    {"restartButton", "系统重启", "Restart"},
    {"restoreButton", "恢复出厂参数", "Restore"},
    {"memoryButton", "查询可用内存", "Check the Memory"},
    {"smartLinkButton", "进入SmartLink", "Enter to SmartLink"},
    {"ioModeHeadLabel", "IO模式", "IO mode"},
    {"ioPullHeadLabel", "是否上拉", "Pull-up"},
    {"ioLevelHeadLabel", "结果", "Power Level"},
    {"ioName1Label", "IO1", "IO1"},
    {"ioName5Label", "IO5(反)", "IO5(O)"},
    {"sendGroup", "发送", "Send"},
    {"typeLabel", "类型：", "Type"},
    {"asciiRadio", "ASCII", "ASCII"},
    {"hexRadio", "HEX", "HEX"},
    {"dataSendButton", "发送", "Send"},
    {"dataClearButton", "清除", "Clear"},
    {"searchButton", "搜索", "Search"},
    {"search2Button", "搜索2", "搜索2"},
    {"searchResultGroup", "搜索结果", "Search Result"},
    {"searchClearButton", "清除", "Clear"},
};

// Names screen readers hear: a button shared by several rows is named by its row as well.
const Row kAccessibleNames[] = {
    {"workModeReadButton", "读取 工作模式", "Read Work mode"},
    {"workModeSetButton", "设置 工作模式", "Set Work mode"},
    {"workModeBox", "工作模式", "Work mode"},
    {"workModeGroup", "工作模式", "Work mode"},
    {"paritySetButton", "设置 校验", "set Verify"},
    {"staNameReadButton", "读取 Name", "读取 Name"},
    {"ioRead5Button", "读取 IO5(反)", "Read IO5(O)"},
    {"clearConsoleButton", "清除 通讯日志", "Clear Console log"},
    {"lanConnectButton", "连接 局域网：", "Connect LAN:"},
    {"lanIpEdit", "IP 局域网：", "IP LAN:"},
    {"wanPortEdit", "Port 互联网：", "Port Internet:"},
    {"saveRebootButton", "保存重启", "Save&Reboot"},
    {"basicPage", "基本参数", "Parameters"},
    // Rows of two groups share the label "MAC": the group's title tells them apart.
    {"apMacEdit", "AP MAC", "AP MAC"},
    {"apMacReadButton", "读取 AP MAC", "Read AP MAC"},
    {"staMacEdit", "Station MAC", "Station MAC"},
    {"staMacSetButton", "设置 Station MAC", "Set Station MAC"},
};

// Rows whose set buttons say "set" in English, and rows whose buttons keep their Chinese captions.
const QStringList kLowerCaseSetRows{QStringLiteral("校验"), QStringLiteral("串口等待延时(ms)"),
                                    QStringLiteral("串口最大包长(Byte)"), QStringLiteral("调试信息输出"),
                                    QStringLiteral("网络协议")};
const QStringList kChineseButtonRows{QStringLiteral("Name"), QStringLiteral("PWD"), QStringLiteral("URL")};

struct ItemRow {
    QString name;
    QStringList cn;
    QStringList en;
};

std::vector<ItemRow> itemTable()
{
    const QStringList switchCn{QStringLiteral("关闭"), QStringLiteral("开启")};
    const QStringList switchEn{QStringLiteral("Disable"), QStringLiteral("Enable")};
    std::vector<ItemRow> rows = {
        {QStringLiteral("zoneValidBox"), {QStringLiteral("无效"), QStringLiteral("有效")}, switchEn},
        {QStringLiteral("connRemoteBox"), switchCn, switchEn},
        {QStringLiteral("pthServerEnBox"), switchCn, switchEn},
        {QStringLiteral("cmdServerEnBox"), switchCn, switchEn},
        {QStringLiteral("clientProtocolBox"),
         {QStringLiteral("透明"), QStringLiteral("Single协议")},
         {QStringLiteral("Transparent"), QStringLiteral("Single protocol")}},
    };
    for (int n = 1; n <= 8; ++n) {
        rows.push_back({QStringLiteral("ioPull%1Box").arg(n),
                        {QStringLiteral("上拉"), QStringLiteral("悬浮")},
                        {QStringLiteral("Pull-up"), QStringLiteral("Suspend")}});
        rows.push_back({QStringLiteral("ioLevel%1Box").arg(n),
                        {QStringLiteral("低电平"), QStringLiteral("高电平")},
                        {QStringLiteral("Low"), QStringLiteral("High")}});
    }
    return rows;
}

// What one window shows: every caption and accessible name, every list's items, by a key that is the
// same in two windows built alike (the objectName, or the class under the nearest named ancestor).
struct Face {
    std::map<QString, QString> text;
    std::map<QString, QString> name;
    std::map<QString, QStringList> items;
    std::map<QString, QObject *> object;
};

QString captionOf(QObject *o)
{
    if (auto *b = qobject_cast<QAbstractButton *>(o))
        return b->text();
    if (auto *l = qobject_cast<QLabel *>(o))
        return l->text();
    if (auto *g = qobject_cast<QGroupBox *>(o))
        return g->title();
    if (auto *m = qobject_cast<QMenu *>(o))
        return m->title();
    if (auto *a = qobject_cast<QAction *>(o))
        return a->text();
    return QString();
}

bool isCaptioned(QObject *o)
{
    return qobject_cast<QAbstractButton *>(o) || qobject_cast<QLabel *>(o) || qobject_cast<QGroupBox *>(o) ||
           qobject_cast<QMenu *>(o) || qobject_cast<QAction *>(o);
}

// Only the main window's own controls: the dialogs it owns have their own rule, and the status
// panels show state, not captions.
bool belongsToWindow(QObject *o, MainWindow *form)
{
    QObject *holder = o;
    if (qobject_cast<QAction *>(o)) {
        holder = o->parent();
        if (auto *menu = qobject_cast<QMenu *>(holder); menu && menu->menuAction() == o)
            return false; // mirrors the menu's title, which is checked on the menu
    }
    auto *widget = qobject_cast<QWidget *>(holder);
    if (!widget)
        return false;
    if (qobject_cast<QMenu *>(widget))
        return widget->parentWidget() && widget->parentWidget()->window() == form;
    if (widget->window() != form)
        return false;
    return !form->statusBar()->isAncestorOf(widget);
}

Face faceOf(MainWindow *form)
{
    Face face;
    std::map<QString, int> seen;
    for (QObject *o : form->findChildren<QObject *>()) {
        const bool captioned = isCaptioned(o);
        auto *box = qobject_cast<QComboBox *>(o);
        if ((!captioned && !box && !o->isWidgetType()) || !belongsToWindow(o, form))
            continue;
        QString key = o->objectName();
        if (key.isEmpty()) {
            QObject *named = o->parent();
            while (named && named->objectName().isEmpty())
                named = named->parent();
            key = QLatin1String(o->metaObject()->className()) + QLatin1Char('@') +
                  (named ? named->objectName() : QString());
        }
        if (const int n = seen[key]++; n > 0)
            key += QLatin1Char('#') + QString::number(n);
        face.object[key] = o;
        if (auto *w = qobject_cast<QWidget *>(o))
            face.name[key] = w->accessibleName();
        if (captioned)
            face.text[key] = captionOf(o);
        if (box) {
            QStringList items;
            for (int i = 0; i < box->count(); ++i)
                items << box->itemText(i);
            face.items[key] = items;
        }
    }
    for (int i = 0; i < control<QTabWidget>(*form, "pages")->count(); ++i)
        face.text[QStringLiteral("tab:%1").arg(i)] = control<QTabWidget>(*form, "pages")->tabText(i);
    return face;
}

QByteArray languageConfig(const QString &language)
{
    return WorkDir::testConfig(QStringLiteral("/nonexistent/tty"),
                               QByteArrayLiteral("[Ver]\r\nCEO=") + language.toUtf8() + "\r\n");
}

// A window as the user gets it: settings read, then shown; the pages not in view are built after
// that, as a first visit or a need of their controls builds them.
std::unique_ptr<MainWindow> shownWindow()
{
    auto form = makeMainWindow();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return nullptr;
    form->buildAllPages();
    return form;
}
} // namespace

class CaptionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyCaptionFollowsTheLanguage_data();
    void everyCaptionFollowsTheLanguage();
    void setAndReadButtons_data();
    void setAndReadButtons();
    void listItems_data();
    void listItems();
    void fontAndSelection_data();
    void fontAndSelection();
    void accessibleNames_data();
    void accessibleNames();
    void listsAreNamedByTheirLabels_data();
    void listsAreNamedByTheirLabels();

private:
    Face designed_; // the Chinese window, as designed
};

void CaptionsTest::initTestCase()
{
    BoxRecorder boxes;
    WorkDir dir(languageConfig(QStringLiteral("CN")));
    auto form = shownWindow();
    QVERIFY(form);
    designed_ = faceOf(form.get());
    QVERIFY(!designed_.text.empty());
}

static void addLanguageRows()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("english");
    QTest::newRow("EN") << "EN" << true;
    QTest::newRow("cn (lower case)") << "cn" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("CN") << "CN" << false;
}

void CaptionsTest::everyCaptionFollowsTheLanguage_data()
{
    addLanguageRows();
}

void CaptionsTest::everyCaptionFollowsTheLanguage()
{
    QFETCH(QString, language);
    QFETCH(bool, english);
    BoxRecorder boxes;
    WorkDir dir(languageConfig(language));
    auto form = shownWindow();
    QVERIFY(form);
    QCOMPARE(form->settings().language, language);
    const Face face = faceOf(form.get());

    std::map<QString, const Row *> table;
    for (const Row &row : kCaptions) {
        const QString name = QLatin1String(row.name);
        table[name] = &row;
        QVERIFY2(face.text.count(name), qPrintable(name + QStringLiteral(" is missing")));
        QVERIFY2(designed_.text.at(name) == QString::fromUtf8(row.cn), qPrintable(name));
        const QString expected = QString::fromUtf8(english ? row.en : row.cn);
        QVERIFY2(face.text.at(name) == expected,
                 qPrintable(name + QStringLiteral(" reads ") + face.text.at(name) + QStringLiteral(", not ") +
                            expected));
    }
    // Everything the table and the set/read rule do not name keeps its designed text.
    for (const auto &[key, text] : face.text) {
        const QString &was = designed_.text.at(key);
        if (table.count(key) || was == QStringLiteral("设置") || was == QStringLiteral("读取"))
            continue;
        QVERIFY2(text == was, qPrintable(key + QStringLiteral(": \"") + text + QStringLiteral("\" was \"") +
                                         was + QLatin1Char('"')));
    }
    // The top panel's clear button, the data page's two and both connect buttons.
    const QStringList names{QStringLiteral("clearConsoleButton"), QStringLiteral("dataClearButton"),
                            QStringLiteral("searchClearButton"), QStringLiteral("lanConnectButton"),
                            QStringLiteral("wanConnectButton")};
    QStringList shown;
    for (const QString &name : names)
        shown << form->findChild<QPushButton *>(name)->text();
    QCOMPARE(shown,
             english ? (QStringList{QStringLiteral("Clear"), QStringLiteral("Clear"), QStringLiteral("Clear"),
                                    QStringLiteral("Connect"), QStringLiteral("Connect")})
                     : (QStringList{QStringLiteral("清除"), QStringLiteral("清除"), QStringLiteral("清除"),
                                    QStringLiteral("连接"), QStringLiteral("连接")}));
}

void CaptionsTest::setAndReadButtons_data()
{
    addLanguageRows();
}

void CaptionsTest::setAndReadButtons()
{
    QFETCH(QString, language);
    QFETCH(bool, english);
    BoxRecorder boxes;
    WorkDir dir(languageConfig(language));
    auto form = shownWindow();
    QVERIFY(form);
    const Face face = faceOf(form.get());

    int lowerCase = 0, keptChinese = 0, ioButtons = 0;
    for (const auto &[key, was] : designed_.text) {
        const bool set = was == QStringLiteral("设置");
        if (!set && was != QStringLiteral("读取"))
            continue;
        // The designed accessible name is the caption, a blank and the row's label.
        const QString designedName = designed_.name.at(key);
        QVERIFY2(designedName.startsWith(was + QLatin1Char(' ')), qPrintable(key));
        const QString rowCaption = designedName.mid(was.size() + 1);
        QString expected = was;
        if (english && !kChineseButtonRows.contains(rowCaption))
            expected =
                set ? (kLowerCaseSetRows.contains(rowCaption) ? QStringLiteral("set") : QStringLiteral("Set"))
                    : QStringLiteral("Read");
        QVERIFY2(face.text.at(key) == expected,
                 qPrintable(key + QStringLiteral(" reads ") + face.text.at(key)));
        QVERIFY2(face.name.at(key).startsWith(expected + QLatin1Char(' ')), qPrintable(face.name.at(key)));
        lowerCase += set && kLowerCaseSetRows.contains(rowCaption);
        keptChinese += kChineseButtonRows.contains(rowCaption);
        ioButtons += key.startsWith(QLatin1String("ioSet")) || key.startsWith(QLatin1String("ioRead"));
    }
    QCOMPARE(lowerCase, 5);
    QCOMPARE(keptChinese, 6); // read and set of three rows
    QCOMPARE(ioButtons, 16);
}

void CaptionsTest::listItems_data()
{
    addLanguageRows();
}

void CaptionsTest::listItems()
{
    QFETCH(QString, language);
    QFETCH(bool, english);
    BoxRecorder boxes;
    WorkDir dir(languageConfig(language));
    auto form = shownWindow();
    QVERIFY(form);
    const Face face = faceOf(form.get());

    std::map<QString, const ItemRow *> table;
    const std::vector<ItemRow> rows = itemTable();
    for (const ItemRow &row : rows) {
        table[row.name] = &row;
        QVERIFY2(face.items.count(row.name), qPrintable(row.name));
        QCOMPARE(designed_.items.at(row.name), row.cn);
        QCOMPARE(face.items.at(row.name), english ? row.en : row.cn);
    }
    for (const auto &[key, items] : face.items) {
        if (!table.count(key))
            QVERIFY2(items == designed_.items.at(key),
                     qPrintable(key + QStringLiteral(" changed its items")));
    }
}

void CaptionsTest::fontAndSelection_data()
{
    addLanguageRows();
}

void CaptionsTest::fontAndSelection()
{
    QFETCH(QString, language);
    QFETCH(bool, english);
    BoxRecorder boxes;
    WorkDir dir(languageConfig(language));
    auto form = shownWindow();
    QVERIFY(form);

    const QString family = english ? QStringLiteral("Arial") : QStringLiteral("宋体");
    QCOMPARE(form->font().family(), family);
    if (!english)
        QCOMPARE(form->font().pixelSize(), 12);
    // Every control follows the window's font.
    for (QWidget *w : form->findChildren<QWidget *>()) {
        if (w->window() == form.get())
            QVERIFY2(w->font().family() == family,
                     qPrintable(w->objectName() + QLatin1Char(' ') + w->font().family()));
    }

    const QComboBox *client = form->comboBox(Field::ClientProtocol);
    QCOMPARE(client->currentIndex(), 1);
    QCOMPARE(client->currentText(),
             english ? QStringLiteral("Single protocol") : QStringLiteral("Single协议"));
    // The designed face is missing on Linux: a substituted CJK face must draw the Chinese captions.
    if (!english) {
        const QStringList cjk = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        if (cjk.isEmpty())
            QSKIP("no Chinese font installed (fonts-wqy-zenhei)");
        const QString face = QFontInfo(form->font()).family();
        QVERIFY2(cjk.contains(face), qPrintable(face + QStringLiteral(" is not a Chinese face")));
    }
}

void CaptionsTest::accessibleNames_data()
{
    addLanguageRows();
}

void CaptionsTest::accessibleNames()
{
    QFETCH(QString, language);
    QFETCH(bool, english);
    BoxRecorder boxes;
    WorkDir dir(languageConfig(language));
    auto form = shownWindow();
    QVERIFY(form);

    for (const Row &row : kAccessibleNames) {
        const auto *w = form->findChild<QWidget *>(QLatin1String(row.name));
        QVERIFY2(w, row.name);
        QCOMPARE(w->accessibleName(), QString::fromUtf8(english ? row.en : row.cn));
    }
    // A field is named by its label, whatever the language.
    for (QLabel *label : form->findChildren<QLabel *>()) {
        if (QWidget *buddy = label->buddy())
            QVERIFY2(buddy->accessibleName().contains(label->text()), qPrintable(buddy->objectName()));
    }
    // No two fields or buttons of the window read the same to a screen reader (which also says what
    // kind of control it is on: the send box and the send button may share "发送").
    std::map<QString, QString> named;
    for (QWidget *w : form->findChildren<QWidget *>()) {
        const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w) ||
                             qobject_cast<QComboBox *>(w) || qobject_cast<QPlainTextEdit *>(w);
        if (!control || !belongsToWindow(w, form.get()) || w->accessibleName().isEmpty())
            continue;
        const auto [twin, isNew] = named.emplace(QLatin1String(w->metaObject()->className()) +
                                                     QLatin1Char(':') + w->accessibleName(),
                                                 w->objectName());
        QVERIFY2(isNew, qPrintable(w->objectName() + QStringLiteral(" and ") + twin->second +
                                   QStringLiteral(" are both \"") + w->accessibleName() + QLatin1Char('"')));
    }
}

void CaptionsTest::listsAreNamedByTheirLabels_data()
{
    addLanguageRows();
}

// On Linux a list is published with its current item as its name; what a screen reader says for the
// list itself comes from the labels the accessibility interface relates to it.
void CaptionsTest::listsAreNamedByTheirLabels()
{
    QFETCH(QString, language);
    BoxRecorder boxes;
    WorkDir dir(languageConfig(language));
    auto form = shownWindow();
    QVERIFY(form);

    std::map<QString, QString> lists; // what a list is called -> the list
    for (QComboBox *box : form->findChildren<QComboBox *>()) {
        if (box->window() != form.get())
            continue;
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(box);
        QVERIFY(list);
        QString called;
        for (const auto &[label, relation] : list->relations(QAccessible::Label)) {
            if (qobject_cast<QLabel *>(label->object()))
                called = label->text(QAccessible::Name);
        }
        QVERIFY2(!called.isEmpty(), qPrintable(box->objectName() + QStringLiteral(" has no label")));
        QVERIFY2(called != box->currentText(),
                 qPrintable(box->objectName() + QStringLiteral(" is called by its item")));
        const auto [twin, isNew] = lists.emplace(called, box->objectName());
        QVERIFY2(isNew, qPrintable(box->objectName() + QStringLiteral(" and ") + twin->second +
                                   QStringLiteral(" are both called \"") + called + QLatin1Char('"')));
    }
    QVERIFY(lists.size() >= 24); // the IO page alone has 24
}

QTEST_MAIN(CaptionsTest)
#include "test_captions.moc"
