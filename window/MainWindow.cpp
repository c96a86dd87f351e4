#include "window/MainWindow.h"

#include "links/ComPorts.h"
#include "links/TcpConnection.h"
#include "protocol/ReplyInterpreter.h"
#include "translations/Translations.h"
#include "window/CommandDispatch.h"
#include "window/CommandsPage.h"
#include "window/ConsoleFileLog.h"
#include "window/ConsoleLog.h"
#include "window/DataPage.h"
#include "window/DiscoverySearch.h"
#include "window/IoPage.h"
#include "window/LinkGroup.h"
#include "window/LogToFileAction.h"
#include "window/MessageBoxes.h"
#include "window/OptionsDialog.h"
#include "window/PageTabs.h"
#include "window/ParameterActions.h"
#include "window/ParametersPage.h"
#include "window/ProfileActions.h"
#include "window/ReplyApplier.h"
#include "window/SerialPortDialog.h"
#include "window/SerialReceive.h"
#include "window/Settings.h"
#include "window/TcpLink.h"
#include "window/ToolPanel.h"
#include "window/WindowChannel.h"
#include "window/WindowFont.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

namespace {
enum Page { ParametersTab, CommandsTab, IoTab, DataTab };

// Exceptions must not cross the event loop; a reply that does not convert just ends its handling.
template <typename F> void guarded(F &&handle)
{
    try {
        handle();
    } catch (const std::exception &) {
    } catch (...) {
    }
}
} // namespace

MainWindow::MainWindow(QWidget *parent, const WindowStart &start) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainWindow"));
    resize(1062, 740);

    // Config.ini first: the language picks the font and the captions every control is made with. It is
    // in the working directory, not the executable's folder, unless the start names another.
    programDir_ = start.programDir.isEmpty() ? QDir::currentPath() : start.programDir;
    PortMap ports;
    ports.setDefaultPattern(start.comDevicePattern);
    settings_ = LoadSettings(programDir_, ports);
    // Messages' rule for the installed catalogues (Qt's own texts too); the title's rule apart.
    Translations::use(chinese() ? Translations::chinese() : QString());
    Translations::useForTitles(EnglishTitles(settings_.language) ? QString() : Translations::chinese());
    session_.route = {settings_.linkType, settings_.targetId, settings_.targetZone, settings_.targetZoneValid,
                      settings_.localId};
    makerText_ = settings_.makerText;
    setFont(windowFont(chinese()));

    serialPorts_ = new ComPorts(this);
    tcpLink_ = new TcpLink(this);
    discovery_ = new DiscoverySearch(this, start.udpLocalPort);
    discovery_->setTarget({settings_.discoveryAddress, discovery_->target().port});
    replies_ = new ReplyApplier(this);
    parameterActions_ = new ParameterActions(this);
    connect(replies_, &ReplyApplier::replyArrived, this, &MainWindow::replyArrived);
    connect(tcpLink_, &TcpLink::replyReceived, this,
            [this](const QByteArray &reply) { guarded([&] { parseReply(reply, ReplyRoad::Tcp); }); });

    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    auto *split = new QSplitter(Qt::Horizontal, central);
    pageSplit_ = split;
    console_ = new ConsoleLog(split);
    console_->setObjectName(QStringLiteral("console"));
    captions_.addNamed(console_, captionText("MainWindow", "Console log"));
    const int consoleLimitKB = std::clamp(settings_.consoleLimitKB, kMinConsoleLimitKB, kMaxConsoleLimitKB);
    console_->setLimitChars(qsizetype{consoleLimitKB} * 1024);
    console_->setTrimNotice(tr("[Older lines were removed: the console keeps the last %1 KB. "
                               "File > Log to file… keeps everything.]")
                                .arg(consoleLimitKB));
    buildPages(split);
    split->addWidget(pages_);
    split->addWidget(console_);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    outer->addWidget(split, 1);
    setCentralWidget(central);

    // The serial dialog opens the saved port when the serial link is the chosen one.
    portDialog_ = new SerialPortDialog(serialPorts_, &settings_.ports, settings_.comPort, settings_.baudIndex,
                                       EnglishTitles(settings_.language), this);
    connect(portDialog_, &SerialPortDialog::portStatusChanged, this,
            [this](const QString &text) { setStatusPanel(1, text); });
    dispatch_ = new CommandDispatch(this, serialPorts_, portDialog_, tcpLink_);
    connect(dispatch_, &CommandDispatch::commandSent, this, &MainWindow::commandSent);
    serialReceive_ = new SerialReceive(this, serialPorts_, portDialog_);
    connect(serialReceive_, &SerialReceive::replyReceived, this,
            [this](const QByteArray &reply) { parseReply(reply, ReplyRoad::Serial); });

    commandChannel_ = new WindowChannel(this);
    toolPanel_ = new ToolPanel(this, captions_, commandChannel_, central);
    outer->insertWidget(0, toolPanel_);
    buildMenu();
    buildStatusBar();
    applyBrandAndTitle();
    setStatusPanel(0, makerText_);
    toolPanel_->linkGroup()->applyLoadedSettings(); // a saved network link starts connecting here
    // The saved serial port opens from the event loop, once the window is up: Qt writes the port's
    // lock file with fdatasync, which can take longer than the rest of the start-up together.
    if (session_.route.linkType == 0)
        QMetaObject::invokeMethod(portDialog_, &SerialPortDialog::openPort, Qt::QueuedConnection);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow()
{
    // A connection still open would report its end to widgets that are already gone.
    tcpLink_->connection()->disconnect(tcpLink_);
}

void MainWindow::buildPages(QSplitter *split)
{
    pages_ = new PageTabs(split);
    pages_->setObjectName(QStringLiteral("pages"));
    const struct {
        const char *name;
        ShownText caption;
        PageTabs::Builder build;
    } pages[] = {
        {"basicPage", captionText("MainWindow", "Parameters"),
         [this](QWidget *parent) { return new ParametersPage(this, parent); }},
        {"commandPage", captionText("MainWindow", "Excute and Switch"),
         [this](QWidget *parent) { return new CommandsPage(this, parent); }},
        {"ioPage", captionText("MainWindow", "IO set and read"),
         [this](QWidget *parent) { return new IoPage(this, parent); }},
        {"dataPage", captionText("MainWindow", "Data Transmission and Broadcast Search"),
         [this](QWidget *parent) { return new DataPage(this, parent); }},
    };
    for (const auto &page : pages) {
        pages_->addPage(QLatin1String(page.name), page.build);
        tabCaptions_.push_back(page.caption);
    }
    // An answer that comes before the page was shown is listed all the same.
    connect(discovery_, &DiscoverySearch::answerListed, this, [this](const QString &line) {
        static_cast<DataPage *>(pages_->page(DataTab))->listAnswer(line);
    });
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

void MainWindow::buildMenu()
{
    QMenu *file = menuBar()->addMenu(QString());
    file->setObjectName(QStringLiteral("fileMenu"));
    captions_.addMenu(file, captionText("MainWindow", "File"));
    portSettingAction_ = file->addAction(QString());
    portSettingAction_->setObjectName(QStringLiteral("portSettingAction"));
    captions_.addAction(portSettingAction_, captionText("MainWindow", "COM setting"));
    targetIdAction_ = file->addAction(QString());
    targetIdAction_->setObjectName(QStringLiteral("targetIdAction"));
    captions_.addAction(targetIdAction_, captionText("MainWindow", "Target ID"));
    QAction *saveLogAction = file->addAction(QString());
    saveLogAction->setObjectName(QStringLiteral("saveLogAction"));
    saveLogAction->setShortcut(QKeySequence::Save);
    captions_.addAction(saveLogAction, captionText("MainWindow", "Save log…"));
    QAction *profilesStart = file->addSeparator();
    new LogToFileAction(this, console_, file, profilesStart);
    QAction *exitAction = file->addAction(QString());
    new ProfileActions(this, commandChannel_, toolPanel_->readAllControl(), file, exitAction);
    exitAction->setObjectName(QStringLiteral("exitAction"));
    captions_.addAction(exitAction, captionText("MainWindow", "Exit"));

    QMenu *help = menuBar()->addMenu(QString());
    help->setObjectName(QStringLiteral("helpMenu"));
    captions_.addMenu(help, captionText("MainWindow", "Help"));
    aboutAction_ = help->addAction(QString());
    aboutAction_->setObjectName(QStringLiteral("aboutAction"));
    captions_.addAction(aboutAction_, captionText("MainWindow", "About"));
    QAction *helpAction = help->addAction(QString());
    helpAction->setObjectName(QStringLiteral("helpAction"));
    captions_.addAction(helpAction, captionText("MainWindow", "Help"));

    connect(portSettingAction_, &QAction::triggered, portDialog_, &QDialog::exec);
    connect(targetIdAction_, &QAction::triggered, this, [this] { optionsDialog()->exec(); });
    connect(saveLogAction, &QAction::triggered, this, &MainWindow::saveConsoleLog);
    connect(exitAction, &QAction::triggered, this, &QWidget::close);
    connect(aboutAction_, &QAction::triggered, this,
            [this] { Boxes::information(this, windowTitle() + QLatin1Char('\n') + makerText_); });
}

void MainWindow::saveConsoleLog()
{
    const QString path = Boxes::askSaveFileName(this, tr("Save log"), NewLogFilePath(lastLogFolder_),
                                                tr("Text files (*.txt);;All files (*)"));
    if (path.isEmpty())
        return;
    QString reason;
    if (!console_->saveTo(path, &reason)) {
        Boxes::error(this,
                     tr("Could not save the log to %1: %2").arg(QDir::toNativeSeparators(path), reason));
        return;
    }
    lastLogFolder_ = QFileInfo(path).absolutePath();
}

void MainWindow::setSendingEnabled(bool enabled)
{
    pages_->setPagesEnabled(enabled);
    toolPanel_->setSendingEnabled(enabled);
    for (QAction *action : {portSettingAction_, targetIdAction_})
        action->setEnabled(enabled);
}

void MainWindow::buildStatusBar()
{
    const int widths[] = {240, 280, 200};
    const char *names[] = {"makerPanel", "linkStatePanel", "operationPanel"};
    const ShownText roles[] = {captionText("MainWindow", "Maker"), captionText("MainWindow", "Link state"),
                               captionText("MainWindow", "Operation state")};
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
        titleText_ = Translations::titleText("MainWindow", "QX5120 WiFi Module Setting Software");
    } else {
        aboutAction_->setVisible(false);
        titleText_ = Translations::titleText("MainWindow", "WiFi Module Setting Software");
    }
    setWindowTitle(titleText_ + QLatin1String(" V2.14"));
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

OptionsDialog *MainWindow::optionsDialog()
{
    // Made when first asked for: it is not on screen at start, and every show loads what it edits.
    if (optionsDialog_ == nullptr)
        optionsDialog_ = new OptionsDialog(session_.route, settings_, chinese(), this);
    return optionsDialog_;
}

TcpConnection *MainWindow::tcpConnection() const
{
    return tcpLink_->connection();
}

UdpEndpoint *MainWindow::udpEndpoint() const
{
    return discovery_->endpoint();
}

ReplyGatherer *MainWindow::serialGatherer() const
{
    return serialReceive_->gatherer();
}

void MainWindow::parseReply(const QByteArray &text, ReplyRoad road)
{
    replies_->parse(text, road);
}

QWidget *MainWindow::field(Field id)
{
    QWidget *&widget = fields_[static_cast<size_t>(id)];
    if (widget == nullptr)
        buildAllPages();
    return widget;
}

QLineEdit *MainWindow::lineEdit(Field id)
{
    return qobject_cast<QLineEdit *>(field(id));
}

QComboBox *MainWindow::comboBox(Field id)
{
    return qobject_cast<QComboBox *>(field(id));
}

QPlainTextEdit *MainWindow::memo(Field id)
{
    return qobject_cast<QPlainTextEdit *>(field(id));
}

IoPage &MainWindow::ioPage()
{
    return *static_cast<IoPage *>(pages_->page(IoTab));
}

void MainWindow::buildAllPages()
{
    pages_->buildAll();
}

void MainWindow::setVisible(bool visible)
{
    if (visible && !shownOnce_) {
        shownOnce_ = true;
        // Before the first layout pass: the captions are measured once, in their language, and only
        // the page in view is made before the window maps.
        applyStartLanguage();
        pages_->buildOnSelect();
        // After the layouts have taken in the captions and fonts of the language.
        QMetaObject::invokeMethod(this, &MainWindow::fitPagesBesideConsole, Qt::QueuedConnection);
    }
    QMainWindow::setVisible(visible);
}

// The page area gets the width its widest page asks for in the current language; the console fills
// the rest. Without this the splitter would share the width by the captions it saw first.
void MainWindow::fitPagesBesideConsole()
{
    const int total = pageSplit_->width() - pageSplit_->handleWidth();
    const int pageWidth =
        std::max(0, std::min(pages_->sizeHint().width(), total - console_->minimumSizeHint().width()));
    pageSplit_->setSizes({pageWidth, total - pageWidth});
}

void MainWindow::applyStartLanguage()
{
    if (!chinese() && !captions_.english()) {
        captions_.apply(true);
        for (CaptionBook *book : pageCaptions_)
            book->apply(true);
        if (auto *client = qobject_cast<QComboBox *>(fields_[static_cast<size_t>(Field::ClientProtocol)]))
            client->setCurrentIndex(1); // "Single protocol"
    }
    // The tabs are captioned here, not when made: the splitter measures them as they come, and the
    // captions would be measured in Chinese first.
    for (size_t i = 0; i < tabCaptions_.size(); ++i)
        captions_.addTab(pages_, static_cast<int>(i), tabCaptions_[i]);
    tabCaptions_.clear();
}

void MainWindow::adoptCaptions(CaptionBook &book)
{
    book.apply(captions_.english());
    pageCaptions_.push_back(&book);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    QString error;
    if (!SaveSettings(programDir_, currentSettings(), &error))
        Boxes::error(this, error);
    event->accept();
}
