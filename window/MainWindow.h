#pragma once

// MainWindow: the main window. One class holds every control of the window and the methods that build,
// send and parse commands; its methods live in the folder of their subsystem (window/, protocol/),
// each file with one purpose.

#include "links/LinkSender.h"
#include "links/LinkSession.h"
#include "protocol/Fields.h"
#include "window/AppSettings.h"
#include "window/Captions.h"
#include "window/Language.h"

#include <QByteArray>
#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTabWidget;
class QHostAddress;
class QTimer;
class ConsoleLog;
class LogToFileAction;
class ProfileActions;
class ReadAllControl;
class ReplyGatherer;
class ReplyLines;
class ComPorts;
class TcpReplyFramer;
class SerialPortDialog;
class OptionsDialog;
class TcpConnection;
class UdpEndpoint;
class WindowChannel;
struct ParameterRow;
struct ReplyEffects;
struct SystemOperation;
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
    QString inLanguage(const QString &english, const QString &chineseText) const
    {
        return InLanguage(chinese(), english, chineseText);
    }
    const QString &programDir() const { return programDir_; }
    const QString &titleText() const { return titleText_; }
    const QString &versionText() const { return versionText_; }
    const QString &makerText() const { return makerText_; }

    // ---- shell: status bar, console, captions ----
    void setStatusPanel(int panel, const QString &text);
    QString statusPanel(int panel) const;
    ConsoleLog *console() const { return console_; }
    CaptionBook &captions() { return captions_; }
    SerialPortDialog *portDialog() const { return portDialog_; }
    OptionsDialog *optionsDialog() const { return optionsDialog_; }
    void applyStartLanguage(); // switches the captions to English when the language is not Chinese
    // "Save log…": asks for a file and writes the console's whole content to it.
    void saveConsoleLog();

    // ---- protocol: command dispatch ----
    // Both return whether the command left; a failure has been shown already.
    bool sendSetCommand(const QByteArray &command, int typeCode, const QString &cnLabel,
                        const QString &enLabel);
    bool sendReadCommand(const QByteArray &command, int typeCode, const QString &cnLabel,
                         const QString &enLabel);
    bool sendSerial(const QByteArray &command);
    bool sendData(const QByteArray &payload); // relay frame around payload, on the TCP link; as sendTcp

    // ---- protocol: replies (window/ReplyParser.cpp; the meaning itself is protocol/ReplyInterpreter) ----
    // Reads the text by the state the last commands left and applies what it changes. A value that does
    // not convert ends the handling there: on the serial road with the general error box.
    void parseReply(const QByteArray &text, ReplyRoad road);
    void applyReplyEffects(const ReplyEffects &effects);

    // ---- the list and field writes of replies (window/FieldDecoders.cpp) ----
    static int indexOfItem(const QComboBox *box, const QString &text); // the item count when none is equal
    static void selectItemByText(QComboBox *box, const QString &text); // none equal: the selection stays
    static void selectIndex(QComboBox *box, qint64 index);             // outside the list: no selection
    void setFieldText(Field id, const QString &text);                  // whole, beyond the typing limit

    // ---- protocol: IO control (row = 1..8, op = "W" set or "R" read) ----
    // The IOCTR command for the given boxes without CR LF; empty when the choices are incomplete.
    QByteArray ioCommandOf(QComboBox *mode, QComboBox *pull, QComboBox *level, int row, const QString &op);
    void sendIoCommand(int row, const QString &op);
    void clearIoLevel(int row);

    // ---- links: serial receive, the one sender, TCP, UDP ----
    // The serial road's delivery: ends the reply's console lines and hands the reply (its first
    // 64 KiB) to the parser; a value that does not convert shows the general error box.
    void pollSerial(const QByteArray &reply);
    ReplyGatherer *serialGatherer() const { return serialGatherer_; }
    // The serial ports this window has open, by COM number.
    ComPorts *serialPorts() const { return serialPorts_; }
    // Sends on the current link (the session's), wrapped for it, and logs what left (links/LinkSender).
    SendResult sendOnLink(SendPayload payload, const QByteArray &bytes);
    // False when the bytes could not be handed to the connection; the send error is then on show.
    bool sendTcp(const QByteArray &bytes);
    void sendUdp(const QByteArray &data, const QString &host, int port);
    TcpConnection *tcpConnection() const { return tcpConnection_; }
    UdpEndpoint *udpEndpoint() const { return udpEndpoint_; }
    // Local port of the UDP endpoint, used whenever it binds (start-up, and the retry on each send).
    int udpLocalPort() const { return udpLocalPort_; }
    // Where the search buttons send their requests; tests aim it at a listener of their own.
    struct UdpTarget {
        QString host;
        int port;
    };
    UdpTarget discoveryTarget{QStringLiteral("255.255.255.255"), 6999};

    // ---- pages ----
    QWidget *field(Field id) const { return fields_[static_cast<size_t>(id)]; }
    void registerField(Field id, QWidget *widget) { fields_[static_cast<size_t>(id)] = widget; }
    QLineEdit *lineEdit(Field id) const;
    QComboBox *comboBox(Field id) const;
    QPlainTextEdit *memo(Field id) const;
    // one generic handler each for every catalogue row's set and read, and the system operations
    void setParameter(const ParameterRow &row);
    bool readParameter(const ParameterRow &row); // true when the query left
    void runSystemOperation(const SystemOperation &operation);

    // IO page rows (1..8 are indexes 0..7)
    struct IoRow {
        QLabel *label = nullptr;
        QLabel *pin = nullptr;
        QComboBox *mode = nullptr;
        QComboBox *pull = nullptr;
        QComboBox *level = nullptr;
        QPushButton *setButton = nullptr;
        QPushButton *readButton = nullptr;
    };
    IoRow &ioRow(int row) { return ioRows_[static_cast<size_t>(row - 1)]; }
    const IoRow &ioRow(int row) const { return ioRows_[static_cast<size_t>(row - 1)]; }

Q_SIGNALS:
    // Every reply parseReply reads, serial and TCP alike, once its meaning is known and before the
    // window shows it (window/WindowChannel hands it to command runs).
    void replyArrived(const QByteArray &reply);
    // A command of that type code left through sendSetCommand or sendReadCommand.
    void commandSent(int typeCode);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // construction, in the order of start-up
    void buildMenu();
    void buildToolPanel(QWidget *panel);
    void buildStatusBar();
    void buildParameterPages(QWidget *basicPage, QWidget *commandPage);
    void buildIoPage(QWidget *page); // window/IoControl
    void buildDataPage(QWidget *page);
    void setUpTcpLink();                                                          // window/TcpLink
    void setUpSerialReceive();                                                    // window/SerialReceive
    void setUpLinkSender();                                                       // window/CommandDispatch
    void setUpLinkGroup();                                                        // window/LinkSelect
    void applyLoadedSettings();                                                   // window/LinkSelect
    void bindUdpEndpoint();                                                       // window/UdpLink
    bool bindUdpSocket();                                                         // window/UdpLink
    void listUdpDatagram(const QHostAddress &sender, const QByteArray &datagram); // window/UdpLink
    void sendDataBox();                                                           // window/DataSendPage
    // window/TcpLink: (re)opening the one TCP connection and its events
    void openTcp(const QString &host, int port); // closes, takes host and port, starts connecting
    void tcpConnected();
    void tcpDisconnected();
    void tcpError(); // a failed or unanswered connect, or a network failure
    void tcpReadyRead(const QByteArray &chunk);
    bool deliverTcp(const QByteArray &bytes); // reconnects if needed; a failure shows the send error
    QString tcpPeerText() const;
    // window/LinkSelect
    void selectLink(int linkType);
    void connectLinkRow(int linkType); // the "连接" button of row 1 (LAN) or 2 (Internet)
    void openOptionsDialog();
    void applyBrandAndTitle();
    void fitPagesBesideConsole();

    // mode buttons of the tool panel
    void sendModeCommand(int index);

    AppSettings settings_;
    LinkSession session_;
    QString programDir_;
    QString titleText_;
    QString makerText_;
    QString versionText_;
    int udpLocalPort_ = 6998;
    CaptionBook captions_;
    QSplitter *pageSplit_ = nullptr; // the page area and the console side by side
    bool shownOnce_ = false;
    QString lastLogFolder_;          // where "Save log…" last saved
    bool leaveCheckRunning_ = false; // a link field's leave check holds the focus (window/LinkSelect)

public:
    // Controls, public so that the page code and the tests reach them by name (objectName matches).
    QTabWidget *pages = nullptr;
    ConsoleLog *console_ = nullptr;
    std::array<QLabel *, 3> statusPanels_{};

    // tool panel
    QPushButton *exitButton = nullptr;
    QPushButton *portOptionsButton = nullptr;
    QPushButton *clearConsoleButton = nullptr;
    QPushButton *enterSettingButton = nullptr;
    QPushButton *atButton = nullptr;
    QPushButton *enterDataButton = nullptr;
    ReadAllControl *readAllControl = nullptr; // "读取全部", its progress and its Cancel button

    // link group
    QGroupBox *linkGroup = nullptr;
    QRadioButton *serialLinkRadio = nullptr;
    QRadioButton *lanLinkRadio = nullptr;
    QRadioButton *wanLinkRadio = nullptr;
    QLineEdit *lanIpEdit = nullptr;
    QLineEdit *lanPortEdit = nullptr;
    QPushButton *lanConnectButton = nullptr;
    QLineEdit *wanIpEdit = nullptr;
    QLineEdit *wanPortEdit = nullptr;
    QPushButton *wanConnectButton = nullptr;
    QPushButton *targetIdButton = nullptr;

    // menu
    QAction *portSettingAction = nullptr;
    QAction *targetIdAction = nullptr;
    QAction *saveLogAction = nullptr;
    LogToFileAction *logToFile = nullptr;     // "Log to file…", checkable
    ProfileActions *profileActions = nullptr; // save, apply and compare a profile
    QAction *exitAction = nullptr;
    QAction *aboutAction = nullptr;
    QAction *helpAction = nullptr;

    // hidden add-quotes check box of the parameters page
    QCheckBox *addQuotesCheck = nullptr;

    // data page
    QRadioButton *asciiRadio = nullptr;
    QRadioButton *hexRadio = nullptr;
    QPlainTextEdit *dataEdit = nullptr;
    QPushButton *dataSendButton = nullptr;
    QPushButton *dataClearButton = nullptr;
    QPushButton *searchButton = nullptr;
    QPushButton *search2Button = nullptr;
    QPlainTextEdit *searchResultEdit = nullptr;
    QPushButton *searchClearButton = nullptr;

private:
    std::array<QWidget *, static_cast<size_t>(Field::Count)> fields_{};
    std::array<IoRow, 8> ioRows_{};
    // The one TCP connection; it keeps the host and port of the last open for the reconnect on send.
    TcpConnection *tcpConnection_ = nullptr;

    // Where a TCP reply ends: the parser gets whole replies, the console each read event.
    TcpReplyFramer *tcpFramer_ = nullptr;

    UdpEndpoint *udpEndpoint_ = nullptr;
    ComPorts *serialPorts_ = nullptr;
    ReplyGatherer *serialGatherer_ = nullptr;
    ReplyLines *serialLines_ = nullptr; // the console lines of the serial reply being gathered
    std::unique_ptr<LinkSender> linkSender_;
    SerialPortDialog *portDialog_ = nullptr;
    OptionsDialog *optionsDialog_ = nullptr;
    WindowChannel *commandChannel_ = nullptr; // the active link, lent to read-all and the profiles
};
