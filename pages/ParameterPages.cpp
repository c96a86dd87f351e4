// The two pages of module parameters and operations: "基本参数" and "命令与开关配置". Every field is
// described once in the field table below; the rows, their buttons and their handlers come from
// the parameter catalogue and the operation table.

#include "pages/KeyFilter.h"
#include "pages/ParameterCatalogue.h"
#include "pages/SystemOperations.h"
#include "shell/SharedState.h"
#include "shell/Unit1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <map>

namespace {
// {Chinese, English}
Caption cap(const char *cn, const char *en)
{
    return {QString::fromUtf8(cn), QString::fromUtf8(en)};
}
Caption same(const char *text)
{
    return cap(text, text);
}

struct FieldSpec {
    Field field = Field::Count;
    const char *stem =
        nullptr; // objectName without "Edit"/"Box"; the row's buttons are stem + "ReadButton"...
    Caption label;
    bool list = false;
    // text field
    QString startText;
    KeyFilterKind filter = KeyFilterKind::None;
    int maxLength = 0;
    // list
    QStringList items;
    QStringList englishItems; // empty: the items stay as they are in English
    int startIndex = -1;
};

FieldSpec edit(Field field, const char *stem, const Caption &label, const QString &start,
               KeyFilterKind filter = KeyFilterKind::None, int maxLength = 0)
{
    FieldSpec fieldSpec;
    fieldSpec.field = field;
    fieldSpec.stem = stem;
    fieldSpec.label = label;
    fieldSpec.startText = start;
    fieldSpec.filter = filter;
    fieldSpec.maxLength = maxLength;
    return fieldSpec;
}

FieldSpec list(Field field, const char *stem, const Caption &label, const QStringList &items, int start,
               const QStringList &englishItems = {})
{
    FieldSpec fieldSpec;
    fieldSpec.field = field;
    fieldSpec.stem = stem;
    fieldSpec.label = label;
    fieldSpec.list = true;
    fieldSpec.items = items;
    fieldSpec.startIndex = start;
    fieldSpec.englishItems = englishItems;
    return fieldSpec;
}

QStringList numbers(int from, int to)
{
    QStringList items;
    for (int n = from; n <= to; ++n)
        items << QString::number(n);
    return items;
}

const std::vector<FieldSpec> &fieldSpecs()
{
    using F = Field;
    using K = KeyFilterKind;
    const QStringList switchItems{QStringLiteral("关闭"), QStringLiteral("开启")};
    const QStringList switchItemsEn{QStringLiteral("Disable"), QStringLiteral("Enable")};
    const QString address = QStringLiteral("192.168.4.1");
    const QString mask = QStringLiteral("255.255.255.0");
    const QString ssid = QStringLiteral("Lumora");
    const QString password = QStringLiteral("58302917");
    static const std::vector<FieldSpec> specs = {
        list(F::WorkMode, "workMode", cap("工作模式", "Work mode"),
             {QStringLiteral("Station"), QStringLiteral("AP"), QStringLiteral("AP+Station")}, -1),
        list(F::Dhcp, "dhcp", same("DHCP"),
             {QStringLiteral("All Disable"), QStringLiteral("STA Enalbe"), QStringLiteral("AP Enable"),
              QStringLiteral("All Enable")},
             0),
        edit(F::ApSsid, "apSsid", same("AP SSID"), ssid),
        edit(F::ApPassword, "apPassword", cap("AP密码", "AP Password"), password),
        list(F::ApChannel, "apChannel", cap("工作信道", "Channel"), numbers(1, 16), 5),
        list(F::ApAuth, "apAuth", cap("认证", "Authentication"),
             {QStringLiteral("OPEN"), QStringLiteral("WPA_PSK"), QStringLiteral("WPA2_PSK"),
              QStringLiteral("WPA_WPA2_PSK")},
             1),
        edit(F::ApIp, "apIp", same("AP IP"), address, K::Address),
        edit(F::ApMask, "apMask", same("APMASK"), mask, K::Address),
        edit(F::ApGateway, "apGateway", cap("APGateWay", "AP Gateway"), address, K::Address),
        edit(F::ApMac, "apMac", same("MAC"), QString(), K::HexColon),
        edit(F::StaSsid, "staSsid", same("WiFi SSID"), ssid),
        edit(F::StaPassword, "staPassword", cap("WiFi密码", "Station Password"), password),
        edit(F::StaIp, "staIp", same("StationIP"), address),
        edit(F::StaMask, "staMask", same("StationMASK"), mask),
        edit(F::StaGateway, "staGateway", same("StationGateWay"), address),
        edit(F::StaMac, "staMac", same("MAC"), QString(), K::HexColon),
        edit(F::StaName, "staName", same("Name"), QString(), K::HexColon),
        edit(F::StaPwd, "staPwd", same("PWD"), QString(), K::HexColon),
        edit(F::Url, "url", same("URL"), QString()),
        edit(F::LocalPort, "localPort", cap("本地服务端口", "Local Port"), QStringLiteral("5000"), K::Digits),
        edit(F::ServerIp, "serverIp", cap("服务器IP", "Server IP"), kDefaultRelayAddress, K::Address),
        edit(F::ServerPort, "serverPort", cap("服务器端口", "Server Port"), QStringLiteral("9500"),
             K::Digits),
        list(F::NetProtocol, "netProtocol", cap("网络协议", "Network Protocol"),
             {QStringLiteral("TCP"), QStringLiteral("UDP")}, 0),
        list(F::ClientProtocol, "clientProtocol", cap("Client协议", "Client Protocol"),
             {QStringLiteral("透明"), QStringLiteral("Single协议")}, 1,
             {QStringLiteral("Transparent"), QStringLiteral("Single protocol")}),
        edit(F::Heartbeat, "heartbeat", cap("心跳周期(S)", "Heartbeat Interval(s)"), QStringLiteral("120"),
             K::Digits),
        edit(F::DeviceId, "deviceId", cap("设备ID", "WiFi ID"), QStringLiteral("00000000000"), K::Digits, 11),
        edit(F::Zone, "zone", cap("区号", "Zone"), QStringLiteral("0000"), K::None, 4),
        list(F::ZoneValid, "zoneValid", cap("区号有效", "Zone Enable"),
             {QStringLiteral("无效"), QStringLiteral("有效")}, 0, switchItemsEn),
        list(F::Baud, "baud", cap("串口波特率", "BaudRate"),
             {QStringLiteral("300"), QStringLiteral("600"), QStringLiteral("1200"), QStringLiteral("2400"),
              QStringLiteral("4800"), QStringLiteral("9600"), QStringLiteral("19200"),
              QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("74880"),
              QStringLiteral("115200"), QStringLiteral("230400"), QStringLiteral("460800"),
              QStringLiteral("921600"), QStringLiteral("1843200"), QStringLiteral("2686400")},
             5),
        list(F::Parity, "parity", cap("校验", "Verify"),
             {QStringLiteral("EVEN"), QStringLiteral("ODD"), QStringLiteral("NONE")}, 2),
        list(F::DataBits, "dataBits", cap("数据位", "Databits"), {QStringLiteral("8"), QStringLiteral("7")},
             0),
        list(F::StopBits, "stopBits", cap("停止位", "Stopbits"),
             {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")}, 0),
        edit(F::RxTimeout, "rxTimeout", cap("串口等待延时(ms)", "Data MinInterval(ms)"), QStringLiteral("20"),
             K::Digits),
        edit(F::RxMax, "rxMax", cap("串口最大包长(Byte)", "Max Package(Bytes)"), QStringLiteral("2048"),
             K::Digits),
        list(F::DebugOutput, "debugOutput", cap("调试信息输出", "Debug information"),
             {QStringLiteral("Disable"), QStringLiteral("Enable")}, 0),
        list(F::ConnRemote, "connRemote", cap("远程连接开关", "Server Connection"), switchItems, -1,
             switchItemsEn),
        list(F::PthServerEn, "pthServerEn", cap("网络数据开关", "Data transmission"), switchItems, -1,
             switchItemsEn),
        list(F::CmdServerEn, "cmdServerEn", cap("网络配置开关", "Network Setting"), switchItems, -1,
             switchItemsEn),
        edit(F::ServerTime, "serverTime", cap("服务超时时间(S)", "Service timeout"), QStringLiteral("600"),
             K::Digits),
        edit(F::CmdMaxConn, "cmdMaxConn", cap("配置连接最大数", "Setting MAX Number"), QStringLiteral("1"),
             K::Digits),
        edit(F::PthMaxConn, "pthMaxConn", cap("数传端口最大数", "Data MAX Number"), QStringLiteral("8"),
             K::Digits),
    };
    return specs;
}

const FieldSpec &specOf(Field field)
{
    for (const FieldSpec &fieldSpec : fieldSpecs()) {
        if (fieldSpec.field == field)
            return fieldSpec;
    }
    Q_UNREACHABLE();
}

struct GroupSpec {
    ParameterGroup group;
    const char *objectName;
    Caption title;
};

const GroupSpec kGroups[] = {
    {ParameterGroup::WorkMode, "workModeGroup", cap("工作模式", "Work mode")},
    {ParameterGroup::Ap, "apGroup", same("AP")},
    {ParameterGroup::Station, "stationGroup", same("Station")},
    {ParameterGroup::HttpUrl, "urlGroup", same("Http Server URL")},
    {ParameterGroup::Network, "networkGroup", cap("网络通讯配置", "Network Communication")},
    {ParameterGroup::Serial, "serialGroup", cap("串口相关参数", "Serial settings")},
    {ParameterGroup::Switches, "switchGroup", cap("通讯开关与配置", "Communcation Switch and settings")},
};

// The captions of a row's read and set buttons. Most say "读取"/"Read" and "设置"/"Set"; five set
// buttons say "set" in English, and three rows keep their Chinese captions in English too.
std::pair<Caption, Caption> rowButtonCaptions(const QString &atName)
{
    static const QStringList lowerSet{QStringLiteral("UART"), QStringLiteral("RCVTIMEOUT"),
                                      QStringLiteral("RCVMAX"), QStringLiteral("MSGEN"),
                                      QStringLiteral("TRANTYPE")};
    static const QStringList chineseOnly{QStringLiteral("NAME"), QStringLiteral("PWD"),
                                         QStringLiteral("httpserver")};
    if (chineseOnly.contains(atName))
        return {same("读取"), same("设置")};
    return {cap("读取", "Read"), cap("设置", lowerSet.contains(atName) ? "set" : "Set")};
}
} // namespace

void TForm1::buildParameterPages(QWidget *basicPage, QWidget *commandPage)
{
    auto makeGroup = [this](QWidget *page, const char *objectName, const Caption &title) {
        auto *group = new QGroupBox(page);
        group->setObjectName(QLatin1String(objectName));
        captions_.addGroup(group, title);
        return group;
    };

    // One field with its label on the given grid row.
    auto makeField = [this](QGroupBox *group, QGridLayout *grid, int gridRow, const FieldSpec &fieldSpec) {
        auto *label = new QLabel(group);
        label->setObjectName(QLatin1String(fieldSpec.stem) + QLatin1String("Label"));
        QWidget *widget = nullptr;
        if (fieldSpec.list) {
            auto *box = new QComboBox(group);
            box->setObjectName(QLatin1String(fieldSpec.stem) + QLatin1String("Box"));
            box->addItems(fieldSpec.items);
            box->setCurrentIndex(fieldSpec.startIndex);
            if (!fieldSpec.englishItems.isEmpty()) {
                captions_.addItems(box, fieldSpec.items, fieldSpec.englishItems);
                // The English items replace the Chinese ones after the box was first shown.
                box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            }
            widget = box;
        } else {
            auto *edit = new QLineEdit(fieldSpec.startText, group);
            edit->setObjectName(QLatin1String(fieldSpec.stem) + QLatin1String("Edit"));
            if (fieldSpec.maxLength > 0)
                edit->setMaxLength(fieldSpec.maxLength);
            KeyFilter::install(edit, fieldSpec.filter);
            widget = edit;
        }
        captions_.addField(label, widget, fieldSpec.label);
        registerField(fieldSpec.field, widget);
        grid->addWidget(label, gridRow, 0);
        grid->addWidget(widget, gridRow, 1);
    };

    // A group's rows from the catalogue: the fields one under another, the read and set buttons on
    // the row of each parameter's first field, right of the fields.
    auto fillGroup = [&](QGroupBox *group, ParameterGroup which) {
        auto *grid = new QGridLayout(group);
        grid->setColumnStretch(1, 1);
        int gridRow = 0;
        for (const ParameterRow &row : ParameterCatalogue()) {
            if (row.group != which)
                continue;
            const FieldSpec &first = specOf(row.fields.front());
            const auto [readCaption, setCaption] = rowButtonCaptions(row.atName);
            auto *readButton = new QPushButton(group);
            readButton->setObjectName(QLatin1String(first.stem) + QLatin1String("ReadButton"));
            auto *setButton = new QPushButton(group);
            setButton->setObjectName(QLatin1String(first.stem) + QLatin1String("SetButton"));
            captions_.addRowButton(readButton, readCaption, first.label);
            captions_.addRowButton(setButton, setCaption, first.label);
            grid->addWidget(readButton, gridRow, 2);
            grid->addWidget(setButton, gridRow, 3);
            connect(readButton, &QPushButton::clicked, this, [this, &row] { readParameter(row); });
            connect(setButton, &QPushButton::clicked, this, [this, &row] { setParameter(row); });
            for (const Field id : row.fields)
                makeField(group, grid, gridRow++, specOf(id));
        }
        grid->setRowStretch(gridRow, 1);
    };

    std::map<ParameterGroup, QGroupBox *> groups;
    for (const GroupSpec &fieldSpec : kGroups) {
        QWidget *page = fieldSpec.group == ParameterGroup::Switches ? commandPage : basicPage;
        groups[fieldSpec.group] = makeGroup(page, fieldSpec.objectName, fieldSpec.title);
        fillGroup(groups[fieldSpec.group], fieldSpec.group);
    }

    // First page: work mode, AP and Station on the left, network above serial on the right, the URL
    // across the bottom.
    auto *basic = new QGridLayout(basicPage);
    auto *left = new QVBoxLayout;
    left->addWidget(groups[ParameterGroup::WorkMode]);
    left->addWidget(groups[ParameterGroup::Ap]);
    left->addWidget(groups[ParameterGroup::Station]);
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(groups[ParameterGroup::Network]);
    right->addWidget(groups[ParameterGroup::Serial]);
    right->addStretch(1);
    basic->addLayout(left, 0, 0);
    basic->addLayout(right, 0, 1);
    basic->addWidget(groups[ParameterGroup::HttpUrl], 1, 0, 1, 2);

    // Hidden controls of the first page: the save button has no action; the check box only mirrors
    // AddQuotes, which no command reads.
    auto *saveButton = new QPushButton(basicPage);
    saveButton->setObjectName(QStringLiteral("saveRebootButton"));
    captions_.addControl(saveButton, cap("保存重启", "Save&&Reboot"));
    saveButton->hide();
    addQuotesCheck = new QCheckBox(basicPage);
    addQuotesCheck->setObjectName(QStringLiteral("addQuotesCheck"));
    captions_.addControl(addQuotesCheck, same("参数值加上\"\""));
    addQuotesCheck->hide();
    connect(addQuotesCheck, &QCheckBox::clicked, this, [](bool checked) { AddQuotes = checked; });

    // Second page: "基本操作" on the left; the switch group above "系统操作" on the right.
    QGroupBox *baseGroup = makeGroup(commandPage, "baseOperationGroup", cap("基本操作", "Base Operation"));
    QGroupBox *systemGroup =
        makeGroup(commandPage, "systemOperationGroup", cap("系统操作", "System Operation"));
    auto *baseLayout = new QGridLayout(baseGroup);
    auto *listButtons = new QHBoxLayout;
    baseLayout->addLayout(listButtons, 0, 0, 1, 2);
    auto *listMemo = new QPlainTextEdit(baseGroup);
    listMemo->setObjectName(QStringLiteral("listMemo"));
    listMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    captions_.addNamed(listMemo, cap("查询结果", "Query result"));
    registerField(Field::ListMemo, listMemo);
    baseLayout->addWidget(listMemo, 1, 0, 1, 2);
    baseLayout->setRowStretch(1, 1);
    auto *systemLayout = new QGridLayout(systemGroup);
    int baseRow = 2;
    int systemIndex = 0;
    for (const SystemOperation &operation : SystemOperations()) {
        const bool base = operation.group == OperationGroup::Base;
        auto *button = new QPushButton(base ? baseGroup : systemGroup);
        button->setObjectName(QLatin1String(operation.objectName));
        captions_.addControl(button, operation.button);
        connect(button, &QPushButton::clicked, this, [this, &operation] { runSystemOperation(operation); });
        if (!base) {
            systemLayout->addWidget(button, systemIndex / 2, systemIndex % 2);
            ++systemIndex;
        } else if (operation.cleared == Field::ListMemo) {
            listButtons->addWidget(button);
        } else {
            // A query with its own result field, named by its button.
            auto *result = new QLineEdit(baseGroup);
            QString name = QLatin1String(operation.objectName);
            name.replace(QLatin1String("Button"), QLatin1String("Edit"));
            result->setObjectName(name);
            result->setReadOnly(true);
            captions_.addNamed(result, operation.button);
            registerField(*operation.cleared, result);
            baseLayout->addWidget(button, baseRow, 0);
            baseLayout->addWidget(result, baseRow, 1);
            ++baseRow;
        }
    }

    auto *command = new QGridLayout(commandPage);
    command->addWidget(baseGroup, 0, 0, 3, 1);
    command->addWidget(groups[ParameterGroup::Switches], 0, 1);
    command->addWidget(systemGroup, 1, 1);
    command->setRowStretch(2, 1);
    command->setColumnStretch(0, 1);
    command->setColumnStretch(1, 1);
}
