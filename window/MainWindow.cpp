#include "window/MainWindow.h"

#include "links/ComPorts.h"
#include "links/TcpConnection.h"
#include "window/ConsoleFileLog.h"
#include "window/ConsoleLog.h"
#include "window/LogToFileAction.h"
#include "window/MessageBoxes.h"
#include "window/OptionsDialog.h"
#include "window/ProfileActions.h"
#include "window/ReadAllControl.h"
#include "window/SerialPortDialog.h"
#include "window/Settings.h"
#include "window/WindowChannel.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {
QPushButton *makeButton(QWidget *parent, const char *objectName)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(objectName));
    return button;
}

// A page taller than the window scrolls instead of stretching the window past its designed height.
// QScrollArea asks for at most 36 lines of width, which would let the console take half the window
// and cut every page off at the right; ask for the page's own width instead.
class PageScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override
    {
        QSize hint = QScrollArea::sizeHint();
        if (widget() != nullptr)
            hint.setWidth(widget()->sizeHint().width() + verticalScrollBar()->sizeHint().width() +
                          2 * frameWidth());
        return hint;
    }
};

QFont designedFont()
{
    // The forms are designed in SimSun 12 px. Where SimSun is missing (Linux) fontconfig would hand
    // "宋体" a Latin face and the captions would depend on per-glyph fallback; name the CJK faces we
    // know so Qt picks one that is installed (scripts/deps.sh installs WenQuanYi Zen Hei).
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("宋体"),
                                   {QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                                    QStringLiteral("WenQuanYi Zen Hei"),
                                    QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                                    QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                                    QStringLiteral("Droid Sans Fallback")});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    return font;
}
} // namespace

MainWindow::MainWindow(QWidget *parent, const WindowStart &start)
    : QMainWindow(parent), udpLocalPort_(start.udpLocalPort)
{
    setObjectName(QStringLiteral("MainWindow"));
    setFont(designedFont());
    resize(1062, 740);

    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    auto *toolPanel = new QWidget(central);
    toolPanel->setObjectName(QStringLiteral("toolPanel"));
    buildToolPanel(toolPanel);
    outer->addWidget(toolPanel);

    auto *split = new QSplitter(Qt::Horizontal, central);
    pageSplit_ = split;
    pages = new QTabWidget(split);
    pages->setObjectName(QStringLiteral("pages"));
    const Caption tabCaptions[] = {
        {QStringLiteral("基本参数"), QStringLiteral("Parameters")},
        {QStringLiteral("命令与开关配置"), QStringLiteral("Excute and Switch")},
        {QStringLiteral("IO控制与读取"), QStringLiteral("IO set and read")},
        {QStringLiteral("数据发送与广播搜索"), QStringLiteral("Data Transmission and Broadcast Search")}};
    const char *pageNames[] = {"basicPage", "commandPage", "ioPage", "dataPage"};
    QWidget *pageWidgets[4] = {};
    for (int i = 0; i < 4; ++i) {
        auto *page = new QWidget(pages);
        page->setObjectName(QLatin1String(pageNames[i]));
        auto *scroll = new PageScrollArea(pages);
        scroll->setObjectName(QLatin1String(pageNames[i]) + QLatin1String("Scroll"));
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(page);
        pageWidgets[i] = page;
        pages->addTab(scroll, QString());
        captions_.addTab(pages, i, tabCaptions[i]);
    }
    console_ = new ConsoleLog(split);
    console_->setObjectName(QStringLiteral("console"));
    captions_.addNamed(console_, {QStringLiteral("通讯日志"), QStringLiteral("Console log")});
    split->addWidget(pages);
    split->addWidget(console_);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    outer->addWidget(split, 1);
    setCentralWidget(central);

    buildMenu();
    buildStatusBar();
    buildParameterPages(pageWidgets[0], pageWidgets[1]);
    buildIoPage(pageWidgets[2]);
    buildDataPage(pageWidgets[3]);
    setUpTcpLink();
    setUpLinkGroup();

    // Start-up order: settings (a saved network link starts connecting here), brand and title, the
    // serial helper, status panel 0, UDP endpoint, first page, serial dialog (it opens the saved port
    // on the serial link), options dialog. Config.ini is in the working directory, not the
    // executable's folder, unless the start names another.
    programDir_ = start.programDir.isEmpty() ? QDir::currentPath() : start.programDir;
    PortMap ports;
    ports.setDefaultPattern(start.comDevicePattern);
    settings_ = LoadSettings(programDir_, ports);
    session_.route = {settings_.linkType, settings_.targetId, settings_.targetZone, settings_.targetZoneValid,
                      settings_.localId};
    makerText_ = settings_.makerText;
    discoveryTarget.host = settings_.discoveryAddress;
    const int consoleLimitKB = std::clamp(settings_.consoleLimitKB, kMinConsoleLimitKB, kMaxConsoleLimitKB);
    console_->setLimitChars(qsizetype{consoleLimitKB} * 1024);
    console_->setTrimNotice(
        inLanguage(
            QStringLiteral("[Older lines were removed: the console keeps the last %1 KB. "
                           "File > Log to file… keeps everything.]"),
            QStringLiteral(
                "[较早的行已删除：通讯日志只保留最近的%1 KB。“文件”>“记录日志到文件…”可保留全部内容。]"))
            .arg(consoleLimitKB));
    applyLoadedSettings();
    applyBrandAndTitle();
    serialPorts_ = new ComPorts(this);
    setStatusPanel(0, makerText_);
    bindUdpEndpoint();
    pages->setCurrentIndex(0);
    portDialog_ = new SerialPortDialog(serialPorts_, &settings_.ports, settings_.comPort, settings_.baudIndex,
                                       EnglishTitles(settings_.language), this);
    connect(portDialog_, &SerialPortDialog::portStatusChanged, this,
            [this](const QString &text) { setStatusPanel(1, text); });
    if (session_.route.linkType == 0)
        portDialog_->openPort(); // start-up opens the saved port when the serial link is the chosen one
    optionsDialog_ = new OptionsDialog(session_.route, settings_, chinese(), this);

    setUpLinkSender();
    setUpSerialReceive();

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow()
{
    // A connection still open would report its end to widgets that are already gone.
    if (tcpConnection_)
        tcpConnection_->disconnect(this);
}

AppSettings MainWindow::currentSettings() const
{
    AppSettings saved = settings_;
    saved.linkType = session_.route.linkType;
    saved.targetId = session_.route.targetId;
    saved.targetZone = session_.route.targetZone;
    saved.targetZoneValid = session_.route.targetZoneValid;
    saved.localId = session_.route.localId;
    if (portDialog_ != nullptr) {
        saved.comPort = portDialog_->comPort();
        saved.baudIndex = portDialog_->baudIndex();
    }
    return saved;
}

void MainWindow::buildToolPanel(QWidget *panel)
{
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    exitButton = makeButton(panel, "exitButton");
    portOptionsButton = makeButton(panel, "portOptionsButton");
    clearConsoleButton = makeButton(panel, "clearConsoleButton");
    enterSettingButton = makeButton(panel, "enterSettingButton");
    atButton = makeButton(panel, "atButton");
    enterDataButton = makeButton(panel, "enterDataButton");
    captions_.addControl(exitButton, {QStringLiteral("退出"), QStringLiteral("Exit")});
    captions_.addControl(portOptionsButton, {QStringLiteral("串口选项"), QStringLiteral("COM Port")});
    captions_.addRowButton(clearConsoleButton, {QStringLiteral("清除"), QStringLiteral("Clear")},
                           {QStringLiteral("通讯日志"), QStringLiteral("Console log")});
    captions_.addControl(enterSettingButton,
                         {QStringLiteral("进入配置"), QStringLiteral("Enter to Setting")});
    captions_.addControl(atButton, {QStringLiteral("AT"), QStringLiteral("AT")});
    captions_.addControl(enterDataButton, {QStringLiteral("进入数传"), QStringLiteral("Enter to Data")});
    auto *buttonColumn = new QVBoxLayout;
    auto *buttonRow = new QHBoxLayout;
    for (QPushButton *b :
         {exitButton, portOptionsButton, clearConsoleButton, enterSettingButton, atButton, enterDataButton})
        buttonRow->addWidget(b);
    buttonColumn->addLayout(buttonRow);
    // Under the mode buttons, in view whichever page is shown: it reads the rows of both pages.
    commandChannel_ = new WindowChannel(this);
    readAllControl = new ReadAllControl(this, commandChannel_, panel);
    buttonColumn->addWidget(readAllControl);
    row->addLayout(buttonColumn);

    connect(exitButton, &QPushButton::clicked, this, &QWidget::close);
    connect(portOptionsButton, &QPushButton::clicked, this, [this] { portDialog_->exec(); });
    connect(clearConsoleButton, &QPushButton::clicked, this, [this] { console_->clearLog(); });
    connect(enterSettingButton, &QPushButton::clicked, this, [this] { sendModeCommand(0); });
    connect(atButton, &QPushButton::clicked, this, [this] { sendModeCommand(1); });
    connect(enterDataButton, &QPushButton::clicked, this, [this] { sendModeCommand(2); });

    linkGroup = new QGroupBox(panel);
    linkGroup->setObjectName(QStringLiteral("linkGroup"));
    captions_.addGroup(linkGroup, {QStringLiteral("通讯链路"), QStringLiteral("Link Type")});
    auto *grid = new QGridLayout(linkGroup);
    serialLinkRadio = new QRadioButton(linkGroup);
    serialLinkRadio->setObjectName(QStringLiteral("serialLinkRadio"));
    lanLinkRadio = new QRadioButton(linkGroup);
    lanLinkRadio->setObjectName(QStringLiteral("lanLinkRadio"));
    wanLinkRadio = new QRadioButton(linkGroup);
    wanLinkRadio->setObjectName(QStringLiteral("wanLinkRadio"));
    serialLinkRadio->setChecked(true);
    captions_.addControl(serialLinkRadio, {QStringLiteral("串口"), QStringLiteral("COM")});
    captions_.addControl(lanLinkRadio, {QStringLiteral("局域网："), QStringLiteral("LAN:")});
    captions_.addControl(wanLinkRadio, {QStringLiteral("互联网："), QStringLiteral("Internet:")});

    auto makeRow = [&](int gridRow, QRadioButton *radio, QLineEdit *&ip, QLineEdit *&port,
                       QPushButton *&connectButton, const char *prefix, const Caption &rowName) {
        ip = new QLineEdit(linkGroup);
        ip->setObjectName(QLatin1String(prefix) + QLatin1String("IpEdit"));
        port = new QLineEdit(linkGroup);
        port->setObjectName(QLatin1String(prefix) + QLatin1String("PortEdit"));
        port->setMaximumWidth(60);
        connectButton = makeButton(linkGroup, "");
        connectButton->setObjectName(QLatin1String(prefix) + QLatin1String("ConnectButton"));
        auto *ipLabel = new QLabel(linkGroup);
        auto *portLabel = new QLabel(linkGroup);
        captions_.addField(ipLabel, ip, {QStringLiteral("IP"), QStringLiteral("IP")});
        captions_.addField(portLabel, port, {QStringLiteral("Port"), QStringLiteral("Port")});
        // Two rows share "IP" and "Port": name the fields by their row for screen readers, in
        // both languages (registered after the labels, so the row name wins).
        captions_.addNamed(ip, {QStringLiteral("IP ") + rowName.cn, QStringLiteral("IP ") + rowName.en});
        captions_.addNamed(port,
                           {QStringLiteral("Port ") + rowName.cn, QStringLiteral("Port ") + rowName.en});
        captions_.addRowButton(connectButton, {QStringLiteral("连接"), QStringLiteral("Connect")}, rowName);
        grid->addWidget(radio, gridRow, 0);
        grid->addWidget(ipLabel, gridRow, 1);
        grid->addWidget(ip, gridRow, 2);
        grid->addWidget(portLabel, gridRow, 3);
        grid->addWidget(port, gridRow, 4);
        grid->addWidget(connectButton, gridRow, 5);
    };
    grid->addWidget(serialLinkRadio, 0, 0);
    makeRow(1, lanLinkRadio, lanIpEdit, lanPortEdit, lanConnectButton, "lan",
            {QStringLiteral("局域网："), QStringLiteral("LAN:")});
    makeRow(2, wanLinkRadio, wanIpEdit, wanPortEdit, wanConnectButton, "wan",
            {QStringLiteral("互联网："), QStringLiteral("Internet:")});
    targetIdButton = makeButton(linkGroup, "targetIdButton");
    captions_.addControl(targetIdButton, {QStringLiteral("目标ID"), QStringLiteral("ID")});
    grid->addWidget(targetIdButton, 2, 6);
    for (QWidget *w : std::initializer_list<QWidget *>{lanIpEdit, lanPortEdit, lanConnectButton, wanIpEdit,
                                                       wanPortEdit, wanConnectButton, targetIdButton})
        w->setEnabled(false);
    row->addWidget(linkGroup, 1);
}

void MainWindow::buildMenu()
{
    QMenu *file = menuBar()->addMenu(QString());
    file->setObjectName(QStringLiteral("fileMenu"));
    captions_.addMenu(file, {QStringLiteral("文件"), QStringLiteral("File")});
    portSettingAction = file->addAction(QString());
    portSettingAction->setObjectName(QStringLiteral("portSettingAction"));
    captions_.addAction(portSettingAction, {QStringLiteral("串口设置"), QStringLiteral("COM setting")});
    targetIdAction = file->addAction(QString());
    targetIdAction->setObjectName(QStringLiteral("targetIdAction"));
    captions_.addAction(targetIdAction, {QStringLiteral("远程目标ID"), QStringLiteral("Target ID")});
    saveLogAction = file->addAction(QString());
    saveLogAction->setObjectName(QStringLiteral("saveLogAction"));
    saveLogAction->setShortcut(QKeySequence::Save);
    captions_.addAction(saveLogAction, {QStringLiteral("保存日志…"), QStringLiteral("Save log…")});
    QAction *profilesStart = file->addSeparator();
    logToFile = new LogToFileAction(this, console_, file, profilesStart);
    exitAction = file->addAction(QString());
    profileActions = new ProfileActions(this, commandChannel_, readAllControl, file, exitAction);
    exitAction->setObjectName(QStringLiteral("exitAction"));
    captions_.addAction(exitAction, {QStringLiteral("退出"), QStringLiteral("Exit")});

    QMenu *help = menuBar()->addMenu(QString());
    help->setObjectName(QStringLiteral("helpMenu"));
    captions_.addMenu(help, {QStringLiteral("帮助"), QStringLiteral("Help")});
    aboutAction = help->addAction(QString());
    aboutAction->setObjectName(QStringLiteral("aboutAction"));
    captions_.addAction(aboutAction, {QStringLiteral("关于"), QStringLiteral("About")});
    helpAction = help->addAction(QString());
    helpAction->setObjectName(QStringLiteral("helpAction"));
    captions_.addAction(helpAction, {QStringLiteral("帮助"), QStringLiteral("Help")});

    connect(portSettingAction, &QAction::triggered, this, [this] { portDialog_->exec(); });
    connect(saveLogAction, &QAction::triggered, this, &MainWindow::saveConsoleLog);
    connect(exitAction, &QAction::triggered, this, &QWidget::close);
    connect(aboutAction, &QAction::triggered, this,
            [this] { Boxes::information(this, windowTitle() + QLatin1Char('\n') + makerText_); });
}

void MainWindow::saveConsoleLog()
{
    const QString path =
        Boxes::askSaveFileName(this, inLanguage(QStringLiteral("Save log"), QStringLiteral("保存日志")),
                               NewLogFilePath(lastLogFolder_),
                               inLanguage(QStringLiteral("Text files (*.txt);;All files (*)"),
                                          QStringLiteral("文本文件 (*.txt);;所有文件 (*)")));
    if (path.isEmpty())
        return;
    QString reason;
    if (!console_->saveTo(path, &reason)) {
        Boxes::error(this, inLanguage(QStringLiteral("Could not save the log to %1: %2"),
                                      QStringLiteral("无法保存日志到 %1：%2"))
                               .arg(QDir::toNativeSeparators(path), reason));
        return;
    }
    lastLogFolder_ = QFileInfo(path).absolutePath();
}

void MainWindow::buildStatusBar()
{
    const int widths[] = {240, 280, 200};
    const char *names[] = {"makerPanel", "linkStatePanel", "operationPanel"};
    const Caption roles[] = {{QStringLiteral("制造商"), QStringLiteral("Maker")},
                             {QStringLiteral("连接状态"), QStringLiteral("Link state")},
                             {QStringLiteral("操作状态"), QStringLiteral("Operation state")}};
    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(statusBar());
        label->setObjectName(QLatin1String(names[i]));
        label->setMinimumWidth(widths[i]);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        // No accessible name of its own: a label then publishes the text it shows as its name and
        // announces every new text, so a screen reader hears "操作完成！" or the port's state.
        captions_.addDescription(label, roles[i]);
        statusBar()->addWidget(label, i == 2 ? 1 : 0);
        statusPanels_[static_cast<size_t>(i)] = label;
    }
}

void MainWindow::applyBrandAndTitle()
{
    const bool english = EnglishTitles(settings_.language);
    if (settings_.brandCode == 9999) {
        makerText_ = english ? kMakerNameEnglish : kMakerNameChinese;
        titleText_ = english ? QStringLiteral("QX5120 WiFi Module Setting Software")
                             : QStringLiteral("QX5120 WiFi模块配置软件");
    } else {
        aboutAction->setVisible(false);
        titleText_ =
            english ? QStringLiteral("WiFi Module Setting Software") : QStringLiteral("WiFi模块配置软件");
    }
    versionText_ = QStringLiteral("V2.14");
    setWindowTitle(titleText_ + QLatin1Char(' ') + versionText_);
    // Boxes are titled with the product's title. It is not made the application's display name: on
    // X11 Qt appends " — " and that name to every window title that does not end with it.
    Boxes::setWindowTitleOfBoxes(this, titleText_);
}

void MainWindow::setStatusPanel(int panel, const QString &text)
{
    statusPanels_[static_cast<size_t>(panel)]->setText(text);
}

QString MainWindow::statusPanel(int panel) const
{
    return statusPanels_[static_cast<size_t>(panel)]->text();
}

QLineEdit *MainWindow::lineEdit(Field id) const
{
    return qobject_cast<QLineEdit *>(field(id));
}
QComboBox *MainWindow::comboBox(Field id) const
{
    return qobject_cast<QComboBox *>(field(id));
}
QPlainTextEdit *MainWindow::memo(Field id) const
{
    return qobject_cast<QPlainTextEdit *>(field(id));
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        applyStartLanguage();
        // After the layouts have taken in the captions and fonts of the language just applied.
        QMetaObject::invokeMethod(this, &MainWindow::fitPagesBesideConsole, Qt::QueuedConnection);
    }
}

// The page area gets the width its widest page asks for in the current language; the console fills
// the rest. Without this the splitter would share the width by the captions it saw first.
void MainWindow::fitPagesBesideConsole()
{
    const int total = pageSplit_->width() - pageSplit_->handleWidth();
    const int pageWidth =
        std::max(0, std::min(pages->sizeHint().width(), total - console_->minimumSizeHint().width()));
    pageSplit_->setSizes({pageWidth, total - pageWidth});
}

void MainWindow::applyStartLanguage()
{
    if (chinese())
        return;
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    setFont(font);
    captions_.apply(true);
    if (QComboBox *client = comboBox(Field::ClientProtocol))
        client->setCurrentIndex(1); // "Single protocol"
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    QString error;
    if (!SaveSettings(programDir_, currentSettings(), &error))
        Boxes::error(this, error);
    event->accept();
}
