#pragma once

// The main window: the wiring of the menu, the tool buttons, the link group, the status bar, the
// console and the page tabs. The pages, the links and the reply handling are classes of their own;
// the window owns them and the state they share (Config.ini's settings, the link session, the language).

#include "links/LinkSender.h"
#include "links/LinkSession.h"
#include "protocol/Fields.h"
#include "window/AppSettings.h"
#include "window/Captions.h"
#include "window/Language.h"

#include <QMainWindow>
#include <QString>
#include <array>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSplitter;
class ComPorts;
class CommandDispatch;
class ConsoleLog;
class DiscoverySearch;
class IoPage;
class OptionsDialog;
class PageTabs;
class ParameterActions;
class ReplyApplier;
class ReplyGatherer;
class SerialPortDialog;
class SerialReceive;
class TcpConnection;
class TcpLink;
class ToolPanel;
class UdpEndpoint;
class WindowChannel;
enum class ReplyRoad;

// What the window needs to know before it starts: where Config.ini is, and what tests change so that
// nothing they run touches real hardware or a port another suite holds.
struct WindowStart {
    QString programDir;      // the folder of Config.ini; empty: the working directory
    int udpLocalPort = 6998; // local port of the UDP endpoint; 0 picks a free one
    QString comDevicePattern = QStringLiteral("/dev/ttyS%1"); // the device of an unmapped COM number
};

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr, const WindowStart &start = WindowStart());
    ~MainWindow() override;

    // ---- state: the settings of Config.ini, the link session, the language ----
    AppSettings &settings() { return settings_; }
    const AppSettings &settings() const { return settings_; }
    LinkSession &session() { return session_; }
    const LinkSession &session() const { return session_; }
    // The settings as they are to be saved now: the session's route and the serial dialog's port in.
    AppSettings currentSettings() const;
    // Messages, status texts and console lines are Chinese for "CN" exactly.
    bool chinese() const { return ChineseLanguage(settings_.language); }
    const QString &programDir() const { return programDir_; }

    // ---- status bar, console, captions ----
    void setStatusPanel(int panel, const QString &text);
    QString statusPanel(int panel) const;
    ConsoleLog *console() const { return console_; }
    CaptionBook &captions() { return captions_; }
    SerialPortDialog *portDialog() const { return portDialog_; }
    OptionsDialog *optionsDialog(); // made at the first call
    // "Save log…": asks for a file and writes the console's whole content to it.
    void saveConsoleLog();
    // While a command run is under way, every other control that sends is disabled.
    void setSendingEnabled(bool enabled);

    // ---- the parts the window is wired from ----
    CommandDispatch &dispatch() const { return *dispatch_; }
    ParameterActions &parameterActions() const { return *parameterActions_; }
    ReplyApplier &replies() const { return *replies_; }
    DiscoverySearch &discovery() const { return *discovery_; }
    TcpLink &tcpLink() const { return *tcpLink_; }
    TcpConnection *tcpConnection() const;
    UdpEndpoint *udpEndpoint() const;
    ComPorts *serialPorts() const { return serialPorts_; }
    ReplyGatherer *serialGatherer() const;
    // Reads the text by the state the last commands left and applies what it changes (ReplyApplier).
    void parseReply(const QByteArray &text, ReplyRoad road);

    // ---- the pages' fields: a page not built yet is built when one of its fields is asked for ----
    QWidget *field(Field id);
    void registerField(Field id, QWidget *widget) { fields_[static_cast<size_t>(id)] = widget; }
    QLineEdit *lineEdit(Field id);
    QComboBox *comboBox(Field id);
    QPlainTextEdit *memo(Field id);
    IoPage &ioPage();
    // Builds every page that is not built yet, as a first visit of each would.
    void buildAllPages();
    // The captions are built Chinese and switch to English at first show when the language is not
    // Chinese; a page built later is built in the captions' language of that moment.
    void applyStartLanguage();
    // Applies the window's captions language to book now and at the switch.
    void adoptCaptions(CaptionBook &book);

Q_SIGNALS:
    // Every reply parseReply reads, serial and TCP alike, once its meaning is known and before the
    // window shows it (window/WindowChannel hands it to command runs).
    void replyArrived(const QByteArray &reply);
    // A command of that type code left through the dispatch's set or read command.
    void commandSent(int typeCode);

public:
    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenu();
    void buildStatusBar();
    void buildPages(QSplitter *split);
    void applyBrandAndTitle();
    void fitPagesBesideConsole();

    AppSettings settings_;
    LinkSession session_;
    QString programDir_;
    QString titleText_;
    QString makerText_;
    CaptionBook captions_;
    std::vector<CaptionBook *> pageCaptions_;
    std::vector<ShownText> tabCaptions_; // until the first show
    QString lastLogFolder_;              // where "Save log…" last saved
    bool shownOnce_ = false;

    QSplitter *pageSplit_ = nullptr; // the page area and the console side by side
    PageTabs *pages_ = nullptr;
    ConsoleLog *console_ = nullptr;
    std::array<QLabel *, 3> statusPanels_{};
    ToolPanel *toolPanel_ = nullptr;
    QAction *portSettingAction_ = nullptr;
    QAction *targetIdAction_ = nullptr;
    QAction *aboutAction_ = nullptr;
    std::array<QWidget *, static_cast<size_t>(Field::Count)> fields_{};

    ComPorts *serialPorts_ = nullptr;
    TcpLink *tcpLink_ = nullptr;
    SerialReceive *serialReceive_ = nullptr;
    DiscoverySearch *discovery_ = nullptr;
    CommandDispatch *dispatch_ = nullptr;
    ReplyApplier *replies_ = nullptr;
    ParameterActions *parameterActions_ = nullptr;
    SerialPortDialog *portDialog_ = nullptr;
    OptionsDialog *optionsDialog_ = nullptr;
    WindowChannel *commandChannel_ = nullptr; // the active link, lent to read-all and the profiles
};
