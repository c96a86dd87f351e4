// Every caption of the window and its two dialogs, in each language: the text shown, the name a
// screen reader hears, the label the accessibility interface relates to a field, the items of a list
// and the face. One table holds the Chinese and English texts; the language decides which one each
// row expects: the window title and the serial dialog are English only for "EN", every other text
// Chinese only for "CN". A last row per language fails for a captioned control the table misses.

#include "support/TestSupport.h"
#include "window/MainWindow.h"
#include "window/OptionsDialog.h"
#include "window/SerialPortDialog.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>
#include <set>

namespace {
enum Aspect { Text, Name, Label, Items, Font, Listed };
const char *const kAspectNames[] = {"text", "name", "label", "items", "font", "listed"};

const QString kPortDialog = QStringLiteral("SerialPortDialog");
const QString kOptionsDialog = QStringLiteral("OptionsDialog");

// One expectation: where ("" the main window, else a dialog), the control, what of it, both texts.
struct Check {
    QString where;
    QString object;
    Aspect aspect;
    QString cn;
    QString en;
    bool titleRule; // English only for "EN"
};

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

class Table {
public:
    std::vector<Check> checks;
    QString where;
    bool titleRule = false;

    void add(const QString &object, Aspect aspect, const QString &cn, const QString &en)
    {
        checks.push_back({where, object, aspect, cn, en, titleRule});
    }
    // A control that shows a caption; its name is the caption unless it is given.
    void control(const char *object, const char *cn, const char *en = nullptr, const char *cnName = nullptr,
                 const char *enName = nullptr)
    {
        const QString name = QLatin1String(object);
        add(name, Text, utf8(cn), utf8(en ? en : cn));
        add(name, Name, utf8(cnName ? cnName : cn), utf8(enName ? enName : (cnName ? cnName : en ? en : cn)));
    }
    void named(const char *object, const char *cn, const char *en = nullptr)
    {
        add(QLatin1String(object), Name, utf8(cn), utf8(en ? en : cn));
    }
    void field(const QString &object, const QString &cn, const QString &en, const QString &cnName,
               const QString &enName)
    {
        add(object, Label, cn, en);
        add(object, Name, cnName, enName);
    }
    void items(const QString &object, const QString &cn, const QString &en) { add(object, Items, cn, en); }
};

enum class Buttons { None, Set, LowerSet, Chinese };

// A parameter field: its label (and the name of its row, where two groups share a label), its read
// and set buttons, its list items.
struct FieldRow {
    const char *field;
    const char *cn;
    const char *en = nullptr;
    Buttons buttons = Buttons::None;
    const char *items = nullptr;
    const char *itemsEn = nullptr;
    const char *spoken = nullptr;
};

const FieldRow kFields[] = {
    {"workModeBox", "工作模式", "Work mode", Buttons::Set, "Station|AP|AP+Station"},
    {"dhcpBox", "DHCP", nullptr, Buttons::Set, "All Disable|STA Enalbe|AP Enable|All Enable"},
    {"apSsidEdit", "AP SSID", nullptr, Buttons::Set},
    {"apPasswordEdit", "AP密码", "AP Password"},
    {"apChannelBox", "工作信道", "Channel", Buttons::None, "1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16"},
    {"apAuthBox", "认证", "Authentication", Buttons::None, "OPEN|WPA_PSK|WPA2_PSK|WPA_WPA2_PSK"},
    {"apIpEdit", "AP IP", nullptr, Buttons::Set},
    {"apMaskEdit", "APMASK"},
    {"apGatewayEdit", "APGateWay", "AP Gateway"},
    {"apMacEdit", "MAC", nullptr, Buttons::Set, nullptr, nullptr, "AP MAC"},
    {"staSsidEdit", "WiFi SSID", nullptr, Buttons::Set},
    {"staPasswordEdit", "WiFi密码", "Station Password"},
    {"staIpEdit", "StationIP", nullptr, Buttons::Set},
    {"staMaskEdit", "StationMASK"},
    {"staGatewayEdit", "StationGateWay"},
    {"staMacEdit", "MAC", nullptr, Buttons::Set, nullptr, nullptr, "Station MAC"},
    {"staNameEdit", "Name", nullptr, Buttons::Chinese},
    {"staPwdEdit", "PWD", nullptr, Buttons::Chinese},
    {"urlEdit", "URL", nullptr, Buttons::Chinese},
    {"localPortEdit", "本地服务端口", "Local Port", Buttons::Set},
    {"serverIpEdit", "服务器IP", "Server IP", Buttons::Set},
    {"serverPortEdit", "服务器端口", "Server Port", Buttons::Set},
    {"netProtocolBox", "网络协议", "Network Protocol", Buttons::LowerSet, "TCP|UDP"},
    {"clientProtocolBox", "Client协议", "Client Protocol", Buttons::Set, "透明|Single协议",
     "Transparent|Single protocol"},
    {"heartbeatEdit", "心跳周期(S)", "Heartbeat Interval(s)", Buttons::Set},
    {"deviceIdEdit", "设备ID", "WiFi ID", Buttons::Set},
    {"zoneEdit", "区号", "Zone", Buttons::Set},
    {"zoneValidBox", "区号有效", "Zone Enable", Buttons::Set, "无效|有效", "Disable|Enable"},
    {"baudBox", "串口波特率", "BaudRate", Buttons::Set,
     "300|600|1200|2400|4800|9600|19200|38400|57600|74880|115200|230400|460800|921600|1843200|2686400"},
    {"parityBox", "校验", "Verify", Buttons::LowerSet, "EVEN|ODD|NONE"},
    {"dataBitsBox", "数据位", "Databits", Buttons::None, "8|7"},
    {"stopBitsBox", "停止位", "Stopbits", Buttons::None, "1|1.5|2"},
    {"rxTimeoutEdit", "串口等待延时(ms)", "Data MinInterval(ms)", Buttons::LowerSet},
    {"rxMaxEdit", "串口最大包长(Byte)", "Max Package(Bytes)", Buttons::LowerSet},
    {"debugOutputBox", "调试信息输出", "Debug information", Buttons::LowerSet, "Disable|Enable"},
    {"connRemoteBox", "远程连接开关", "Server Connection", Buttons::Set, "关闭|开启", "Disable|Enable"},
    {"pthServerEnBox", "网络数据开关", "Data transmission", Buttons::Set, "关闭|开启", "Disable|Enable"},
    {"cmdServerEnBox", "网络配置开关", "Network Setting", Buttons::Set, "关闭|开启", "Disable|Enable"},
    {"serverTimeEdit", "服务超时时间(S)", "Service timeout", Buttons::Set},
    {"cmdMaxConnEdit", "配置连接最大数", "Setting MAX Number", Buttons::Set},
    {"pthMaxConnEdit", "数传端口最大数", "Data MAX Number", Buttons::Set},
};

void addParameterFields(Table &t)
{
    for (const FieldRow &row : kFields) {
        const QString field = QLatin1String(row.field);
        const QString cn = utf8(row.cn), en = utf8(row.en ? row.en : row.cn);
        const QString cnName = row.spoken ? utf8(row.spoken) : cn,
                      enName = row.spoken ? utf8(row.spoken) : en;
        t.field(field, cn, en, cnName, enName);
        if (row.items)
            t.items(field, utf8(row.items), utf8(row.itemsEn ? row.itemsEn : row.items));
        if (row.buttons == Buttons::None)
            continue;
        const QString stem = field.chopped(field.endsWith(QLatin1String("Box")) ? 3 : 4);
        const bool chinese = row.buttons == Buttons::Chinese;
        const QString read = chinese ? QStringLiteral("读取") : QStringLiteral("Read");
        const QString set = chinese                            ? QStringLiteral("设置")
                            : row.buttons == Buttons::LowerSet ? QStringLiteral("set")
                                                               : QStringLiteral("Set");
        t.add(stem + QLatin1String("ReadButton"), Text, QStringLiteral("读取"), read);
        t.add(stem + QLatin1String("ReadButton"), Name, QStringLiteral("读取 ") + cnName,
              read + QLatin1Char(' ') + enName);
        t.add(stem + QLatin1String("SetButton"), Text, QStringLiteral("设置"), set);
        t.add(stem + QLatin1String("SetButton"), Name, QStringLiteral("设置 ") + cnName,
              set + QLatin1Char(' ') + enName);
    }
}

void addIoRows(Table &t)
{
    const char *const pins[] = {"(GPIO16)", "(GPIO14)", "(GPIO12)", "(GPIO13)",
                                "(GPIO15)", "(GPIO2)",  "(GPIO0)",  "(GPIO4)"};
    for (int n = 1; n <= 8; ++n) {
        const QString row = QString::number(n);
        const QString cn = n == 5 ? QStringLiteral("IO5(反)") : QStringLiteral("IO") + row;
        const QString en = n == 5 ? QStringLiteral("IO5(O)") : cn;
        t.add(QStringLiteral("ioName%1Label").arg(n), Text, cn, en);
        t.add(QStringLiteral("ioPin%1Label").arg(n), Text, QLatin1String(pins[n - 1]),
              QLatin1String(pins[n - 1]));
        // The lists of a row are named by their column and their row.
        const QString lists[][5] = {
            {QStringLiteral("ioMode"), QStringLiteral("IO模式"), QStringLiteral("IO mode"),
             QStringLiteral("Input|Output|None"), QStringLiteral("Input|Output|None")},
            {QStringLiteral("ioPull"), QStringLiteral("是否上拉"), QStringLiteral("Pull-up"),
             QStringLiteral("上拉|悬浮"), QStringLiteral("Pull-up|Suspend")},
            {QStringLiteral("ioLevel"), QStringLiteral("结果"), QStringLiteral("Power Level"),
             QStringLiteral("低电平|高电平"), QStringLiteral("Low|High")},
        };
        for (const auto &list : lists) {
            const QString box = list[0] + row + QLatin1String("Box");
            const QString cnName = list[1] + QLatin1Char(' ') + cn, enName = list[2] + QLatin1Char(' ') + en;
            t.field(box, cnName, enName, cnName, enName);
            t.items(box, list[3], list[4]);
        }
        t.add(QStringLiteral("ioSet%1Button").arg(n), Text, QStringLiteral("设置"), QStringLiteral("Set"));
        t.add(QStringLiteral("ioSet%1Button").arg(n), Name, QStringLiteral("设置 ") + cn,
              QStringLiteral("Set ") + en);
        t.add(QStringLiteral("ioRead%1Button").arg(n), Text, QStringLiteral("读取"), QStringLiteral("Read"));
        t.add(QStringLiteral("ioRead%1Button").arg(n), Name, QStringLiteral("读取 ") + cn,
              QStringLiteral("Read ") + en);
    }
}

std::vector<Check> captionTable()
{
    Table t;
    t.titleRule = true;
    t.add(QStringLiteral("MainWindow"), Text, utf8("WiFi模块配置软件 V2.14"),
          QStringLiteral("WiFi Module Setting Software V2.14"));
    t.titleRule = false;
    t.add(QStringLiteral("MainWindow"), Font, utf8("宋体"), QStringLiteral("Arial"));

    // Tool panel and link group.
    t.control("exitButton", "退出", "Exit");
    t.control("portOptionsButton", "串口选项", "COM Port");
    t.control("clearConsoleButton", "清除", "Clear", "清除 通讯日志", "Clear Console log");
    t.control("enterSettingButton", "进入配置", "Enter to Setting");
    t.control("atButton", "AT");
    t.control("enterDataButton", "进入数传", "Enter to Data");
    t.control("readAllButton", "读取全部", "Read all");
    t.control("readAllCancelButton", "取消", "Cancel", "取消 读取全部", "Cancel Read all");
    t.named("readAllProgress", "读取全部进度", "Read all progress");
    t.named("console", "通讯日志", "Console log");
    t.control("linkGroup", "通讯链路", "Link Type");
    t.control("serialLinkRadio", "串口", "COM");
    t.control("lanLinkRadio", "局域网：", "LAN:");
    t.control("wanLinkRadio", "互联网：", "Internet:");
    t.field(QStringLiteral("lanIpEdit"), QStringLiteral("IP"), QStringLiteral("IP"), utf8("IP 局域网："),
            QStringLiteral("IP LAN:"));
    t.field(QStringLiteral("lanPortEdit"), QStringLiteral("Port"), QStringLiteral("Port"),
            utf8("Port 局域网："), QStringLiteral("Port LAN:"));
    t.control("lanConnectButton", "连接", "Connect", "连接 局域网：", "Connect LAN:");
    t.field(QStringLiteral("wanIpEdit"), QStringLiteral("IP"), QStringLiteral("IP"), utf8("IP 互联网："),
            QStringLiteral("IP Internet:"));
    t.field(QStringLiteral("wanPortEdit"), QStringLiteral("Port"), QStringLiteral("Port"),
            utf8("Port 互联网："), QStringLiteral("Port Internet:"));
    t.control("wanConnectButton", "连接", "Connect", "连接 互联网：", "Connect Internet:");
    t.control("targetIdButton", "目标ID", "ID");

    // Menus: an action has no name of its own, it reads its text.
    t.control("fileMenu", "文件", "File");
    t.control("helpMenu", "帮助", "Help");
    const char *const actions[][3] = {
        {"portSettingAction", "串口设置", "COM setting"},
        {"targetIdAction", "远程目标ID", "Target ID"},
        {"saveLogAction", "保存日志…", "Save log…"},
        {"logToFileAction", "记录日志到文件…", "Log to file…"},
        {"saveProfileAction", "保存配置文件…", "Save profile…"},
        {"applyProfileAction", "应用配置文件…", "Apply profile…"},
        {"compareProfileAction", "与配置文件比较…", "Compare with profile…"},
        {"exitAction", "退出", "Exit"},
        {"aboutAction", "关于", "About"},
        {"helpAction", "帮助", "Help"},
    };
    for (const auto &action : actions)
        t.add(QLatin1String(action[0]), Text, utf8(action[1]), utf8(action[2]));

    // The pages: a page reads its tab's caption.
    t.control("basicPage", "基本参数", "Parameters");
    t.control("commandPage", "命令与开关配置", "Excute and Switch");
    t.control("ioPage", "IO控制与读取", "IO set and read");
    t.control("dataPage", "数据发送与广播搜索", "Data Transmission and Broadcast Search");

    t.control("workModeGroup", "工作模式", "Work mode");
    t.control("apGroup", "AP");
    t.control("stationGroup", "Station");
    t.control("urlGroup", "Http Server URL");
    t.control("networkGroup", "网络通讯配置", "Network Communication");
    t.control("serialGroup", "串口相关参数", "Serial settings");
    t.control("switchGroup", "通讯开关与配置", "Communcation Switch and settings");
    addParameterFields(t);
    t.control("saveRebootButton", "保存重启", "Save&&Reboot", "保存重启", "Save&Reboot");
    t.control("addQuotesCheck", "参数值加上\"\"");

    // One-shot operations; a result field is named by the button that fills it.
    t.control("baseOperationGroup", "基本操作", "Base Operation");
    t.control("stationListButton", "查询接入设备", "Query Connected Stations");
    t.control("apSearchButton", "搜索AP", "Search AP");
    t.named("listMemo", "查询结果", "Query result");
    const char *const queries[][4] = {
        {"serverStateButton", "serverStateEdit", "服务器连接状态", "Server Connection status"},
        {"wifiStateButton", "wifiStateEdit", "WiFi连接状态", "WiFi Connection status"},
        {"stationIpButton", "stationIpEdit", "查询Station IP", "Query Station IP"},
        {"versionButton", "versionEdit", "查询软件版本", "Get Version"},
    };
    for (const auto &query : queries) {
        t.control(query[0], query[2], query[3]);
        t.named(query[1], query[2], query[3]);
    }
    t.control("systemOperationGroup", "系统操作", "System Operation");
    t.control("restartButton", "系统重启", "Restart");
    t.control("restoreButton", "恢复出厂参数", "Restore");
    t.control("memoryButton", "查询可用内存", "Check the Memory");
    t.control("smartLinkButton", "进入SmartLink", "Enter to SmartLink");

    t.control("ioModeHeadLabel", "IO模式", "IO mode");
    t.control("ioPullHeadLabel", "是否上拉", "Pull-up");
    t.control("ioLevelHeadLabel", "结果", "Power Level");
    addIoRows(t);

    t.control("sendGroup", "发送", "Send");
    t.control("typeLabel", "类型：", "Type");
    t.control("asciiRadio", "ASCII");
    t.control("hexRadio", "HEX");
    t.named("dataEdit", "发送", "Send");
    t.control("dataSendButton", "发送", "Send");
    t.control("dataClearButton", "清除", "Clear", "清除 发送", "Clear Send");
    t.control("searchButton", "搜索", "Search");
    t.control("search2Button", "搜索2");
    t.control("searchResultGroup", "搜索结果", "Search Result");
    t.named("searchResultEdit", "搜索结果", "Search Result");
    t.control("searchClearButton", "清除", "Clear", "清除 搜索结果", "Clear Search Result");

    t.where = kPortDialog;
    t.titleRule = true;
    t.add(kPortDialog, Text, utf8("串口设置"), QStringLiteral("COM port setting"));
    t.add(kPortDialog, Font, utf8("宋体"), QStringLiteral("Arial"));
    QStringList ports;
    for (int n = 1; n <= 36; ++n)
        ports << QStringLiteral("COM%1").arg(n);
    const QString portItems = ports.join(QLatin1Char('|'));
    const char *const portRows[][4] = {
        {"portBox", "串口", "COM", nullptr},
        {"deviceBox", "设备", "Device", nullptr},
        {"baudBox", "波特率", "Baud rate", "300|600|1200|2400|4800|9600|19200|38400|57600|115200"},
        {"parityBox", "校验", "Verify", "NONE|ODD|EVEN|Mark|Space"},
        {"dataBitsBox", "数据位", "Data bits", "5|6|7|8|9"},
        {"startBitsBox", "起始位", "Begin bits", "1|2"},
        {"stopBitsBox", "停止位", "Stop bits", "1|1.5|2"},
    };
    for (const auto &row : portRows) {
        t.field(QLatin1String(row[0]), utf8(row[1]), utf8(row[2]), utf8(row[1]), utf8(row[2]));
        if (row[3])
            t.items(QLatin1String(row[0]), utf8(row[3]), utf8(row[3]));
    }
    t.items(QStringLiteral("portBox"), portItems, portItems);
    t.control("openButton", "打开", "Open");
    t.control("closeButton", "关闭", "Close");
    t.control("exitButton", "取消", "Exit");

    t.where = kOptionsDialog;
    t.titleRule = false;
    t.add(kOptionsDialog, Text, utf8("选项"), QStringLiteral("Options"));
    t.add(kOptionsDialog, Font, utf8("宋体"), QStringLiteral("Arial"));
    t.control("targetGroup", "目标WiFi模块", "Target GPRS");
    t.field(QStringLiteral("targetIdEdit"), QStringLiteral("ID"), QStringLiteral("ID"), QStringLiteral("ID"),
            QStringLiteral("ID"));
    t.field(QStringLiteral("targetZoneEdit"), utf8("区号"), QStringLiteral("Zone"), utf8("区号"),
            QStringLiteral("Zone"));
    t.control("zoneValidCheck", "区号有效", "Zone Enabed");
    t.control("localGroup", "本地ID", "Local ID");
    t.field(QStringLiteral("localIdEdit"), utf8("本地ID"), QStringLiteral("Local ID"), utf8("本地ID"),
            QStringLiteral("Local ID"));
    t.field(QStringLiteral("localZoneEdit"), utf8("本地区号"), QStringLiteral("Local Zone"), utf8("本地区号"),
            QStringLiteral("Local Zone"));
    t.control("showHexCheck", "收发数据显示HEX", "Commands show HEX");
    t.control("okButton", "确定", "OK");
    t.control("cancelButton", "取消", "Cancel");

    for (const QString &where : {QString(), kPortDialog, kOptionsDialog}) {
        t.where = where;
        t.add(where.isEmpty() ? QStringLiteral("MainWindow") : where, Listed, QString(), QString());
    }
    return std::move(t.checks);
}

QDialog *enclosingDialog(QObject *o)
{
    for (; o; o = o->parent()) {
        if (auto *dialog = qobject_cast<QDialog *>(o))
            return dialog;
    }
    return nullptr;
}

// The window of one language as the user meets it: shown, every page built, both dialogs open.
struct ShownWindow {
    explicit ShownWindow(const QString &language)
        : dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty"),
                                  "[Ver]\r\nCEO=" + language.toUtf8() + "\r\n"))
    {
        form = makeMainWindow();
        form->show();
        exposed = QTest::qWaitForWindowExposed(form.get());
        // A first visit builds a page; the last visit returns to the first page.
        auto *pages = form->findChild<QTabWidget *>(QStringLiteral("pages"));
        for (int i = pages->count() - 1; i >= 0; --i)
            pages->setCurrentIndex(i);
        for (QDialog *dialog :
             {static_cast<QDialog *>(form->portDialog()), static_cast<QDialog *>(form->optionsDialog())}) {
            dialog->show();
            exposed = exposed && QTest::qWaitForWindowExposed(dialog);
        }
    }

    QWidget *root(const QString &where) const
    {
        if (where.isEmpty())
            return form.get();
        if (where == kOptionsDialog)
            return form->optionsDialog(); // made when first asked for
        return form->findChild<QDialog *>(where);
    }

    QObject *find(const QString &where, const QString &object) const
    {
        QWidget *in = root(where);
        if (in->objectName() == object)
            return in;
        for (QObject *o : in->findChildren<QObject *>(object)) {
            if (enclosingDialog(o) == qobject_cast<QDialog *>(in))
                return o;
        }
        return nullptr;
    }

    BoxRecorder boxes;
    WorkDir dir;
    std::unique_ptr<MainWindow> form;
    bool exposed = false;
};

QString tabCaption(QWidget *page)
{
    for (QWidget *w = page; w; w = w->parentWidget()) {
        if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                if (tabs->widget(i)->isAncestorOf(page))
                    return tabs->tabText(i);
            }
        }
    }
    return QStringLiteral("<not on a tab>");
}

QString textOf(QObject *o)
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
    auto *w = qobject_cast<QWidget *>(o);
    return w->isWindow() ? w->windowTitle() : tabCaption(w);
}

// What a screen reader says for a field: the labels the accessibility interface relates to it.
QString labelOf(QObject *o)
{
    QStringList names;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(o);
    for (const auto &[label, relation] : iface->relations(QAccessible::Label)) {
        if (qobject_cast<QLabel *>(label->object()))
            names << label->text(QAccessible::Name);
    }
    return names.join(QLatin1Char(' '));
}

QString itemsOf(QObject *o)
{
    const auto *box = qobject_cast<QComboBox *>(o);
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items.join(QLatin1Char('|'));
}

// The window's face, or the first control of the window drawn in another one.
QString fontOf(QObject *o)
{
    auto *window = qobject_cast<QWidget *>(o);
    const QString family = window->font().family();
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() == window && w->font().family() != family)
            return family + QStringLiteral(", but ") + w->objectName() + QStringLiteral(" in ") +
                   w->font().family();
    }
    return family;
}

bool needsCaption(QObject *o)
{
    return qobject_cast<QAbstractButton *>(o) || qobject_cast<QGroupBox *>(o) || qobject_cast<QMenu *>(o) ||
           qobject_cast<QAction *>(o) || qobject_cast<QComboBox *>(o) || qobject_cast<QLineEdit *>(o) ||
           qobject_cast<QPlainTextEdit *>(o);
}

// Captioned controls of the window (or dialog) the table does not list. A label counts as listed
// when the field it names is; the status panels show state, not captions.
QString unlisted(const ShownWindow &shown, const QString &where, const std::set<QString> &listed,
                 const std::set<QString> &labelled)
{
    QWidget *root = shown.root(where);
    QStringList missing;
    for (QObject *o : root->findChildren<QObject *>()) {
        const QString name = o->objectName();
        auto *widget = qobject_cast<QWidget *>(o);
        if (enclosingDialog(o) != qobject_cast<QDialog *>(root) || name.startsWith(QLatin1String("qt_")) ||
            (widget && (shown.form->statusBar()->isAncestorOf(widget) ||
                        qobject_cast<QTabBar *>(widget->parentWidget()))))
            continue;
        if (auto *label = qobject_cast<QLabel *>(o)) {
            const bool named = label->buddy() ? labelled.count(label->buddy()->objectName()) > 0
                                              : label->text().isEmpty() || listed.count(name) > 0;
            if (!named)
                missing << (name.isEmpty() ? label->text() : name);
        } else if (!name.isEmpty() && needsCaption(o) && !listed.count(name)) {
            missing << name;
        }
    }
    return missing.join(QLatin1Char(' '));
}
} // namespace

class CaptionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void chinese_data() { addRows(QStringLiteral("CN")); }
    void chinese() { check(QStringLiteral("CN")); }
    void english_data() { addRows(QStringLiteral("EN")); }
    void english() { check(QStringLiteral("EN")); }
    // Neither "CN" nor "EN": a Chinese title and serial dialog, everything else English.
    void otherLanguage_data() { addRows(QStringLiteral("cn")); }
    void otherLanguage() { check(QStringLiteral("cn")); }
    void cleanupTestCase() { shown_.reset(); }

private:
    void addRows(const QString &language);
    void check(const QString &language);
    QString shownAs(const QString &where, const QString &object, Aspect aspect);

    std::unique_ptr<ShownWindow> shown_;
    QString shownLanguage_;
    std::vector<Check> table_ = captionTable();
};

void CaptionsTest::addRows(const QString &language)
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("object");
    QTest::addColumn<int>("aspect");
    QTest::addColumn<QString>("expected");
    for (const Check &c : table_) {
        const bool english = c.titleRule ? language == QLatin1String("EN") : language != QLatin1String("CN");
        QTest::addRow("%s%s%s %s", qPrintable(c.where), c.where.isEmpty() ? "" : "/", qPrintable(c.object),
                      kAspectNames[c.aspect])
            << c.where << c.object << int(c.aspect) << (english ? c.en : c.cn);
    }
}

void CaptionsTest::check(const QString &language)
{
    QFETCH(QString, where);
    QFETCH(QString, object);
    QFETCH(int, aspect);
    QFETCH(QString, expected);
    if (!shown_ || shownLanguage_ != language) {
        shown_.reset();
        shown_ = std::make_unique<ShownWindow>(language);
        shownLanguage_ = language;
    }
    QVERIFY(shown_->exposed);
    QCOMPARE(shownAs(where, object, Aspect(aspect)), expected);
    if (aspect == Font && expected == QStringLiteral("宋体")) {
        // The designed face is missing on Linux: a substituted CJK face must draw the Chinese captions.
        const QStringList cjk = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        if (cjk.isEmpty())
            QSKIP("no Chinese font installed (fonts-wqy-zenhei)");
        const QString face = QFontInfo(shown_->root(where)->font()).family();
        QVERIFY2(cjk.contains(face), qPrintable(face + QStringLiteral(" is not a Chinese face")));
    }
}

QString CaptionsTest::shownAs(const QString &where, const QString &object, Aspect aspect)
{
    if (aspect == Listed) {
        std::set<QString> listed, labelled;
        for (const Check &c : table_) {
            if (c.where == where)
                (c.aspect == Label ? labelled : listed).insert(c.object);
        }
        listed.insert(labelled.begin(), labelled.end());
        return unlisted(*shown_, where, listed, labelled);
    }
    QObject *o = shown_->find(where, object);
    if (!o)
        return QStringLiteral("<no such control>");
    switch (aspect) {
    case Text:
        return textOf(o);
    case Name:
        return qobject_cast<QWidget *>(o)->accessibleName();
    case Label:
        return labelOf(o);
    case Items:
        return itemsOf(o);
    case Font:
        return fontOf(o);
    case Listed:
        break;
    }
    return QString();
}

QTEST_MAIN(CaptionsTest)
#include "test_captions.moc"
