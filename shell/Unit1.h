#pragma once

// TForm1: the main window. One class holds every control of the window and the methods that build,
// send and parse commands; its methods live in the folder of their subsystem (links/, protocol/,
// pages/), each file with one purpose.

#include "pages/Fields.h"
#include "shell/Captions.h"

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
class QTabWidget;
class QTcpSocket;
class QTimer;
class QUdpSocket;
class ConsoleLog;
class TCommFun;
class TfrmPortSet;
class TForm_options;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // ---- shell: status bar, console, captions ----
    void setStatusPanel(int panel, const QString &text);
    QString statusPanel(int panel) const;
    ConsoleLog *console() const { return console_; }
    CaptionBook &captions() { return captions_; }
    TfrmPortSet *portDialog() const { return portDialog_; }
    TForm_options *optionsDialog() const { return optionsDialog_; }
    void FormShow(); // switches the captions to English when the language is not Chinese

    // ---- protocol: command dispatch ----
    void SendSetCommand(const QByteArray &command, int typeCode, const QString &cnLabel,
                        const QString &enLabel);
    void SendReadCommand(const QByteArray &command, int typeCode, const QString &cnLabel,
                         const QString &enLabel);
    bool SendSerial(const QByteArray &command);
    void SendData(const QByteArray &payload); // relay frame around payload, on the TCP link

    // ---- protocol: replies ----
    void ParseReply(const QByteArray &text);

    // ---- links: serial receive poll, TCP, UDP ----
    void pollSerial();
    void SendTcp(const QByteArray &bytes);
    void SendUdp(const QByteArray &data, const QString &host, int port);
    QTcpSocket *tcpSocket() const { return tcpSocket_; }
    QUdpSocket *udpSocket() const { return udpSocket_; }

    // ---- pages ----
    QWidget *field(Field id) const { return fields_[static_cast<size_t>(id)]; }
    void registerField(Field id, QWidget *widget) { fields_[static_cast<size_t>(id)] = widget; }
    QLineEdit *lineEdit(Field id) const;
    QComboBox *comboBox(Field id) const;
    QPlainTextEdit *memo(Field id) const;

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

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // construction, in the order of start-up
    void buildMenu();
    void buildToolPanel(QWidget *panel);
    void buildStatusBar();
    void buildParameterPages(QWidget *basicPage, QWidget *commandPage); // pages/
    void buildIoPage(QWidget *page);                                    // protocol/IoControl
    void buildDataPage(QWidget *page);                                  // pages/
    void setUpTcpLink();                                                // links/TcpLink
    void setUpLinkGroup();                                              // links/LinkSelect
    void applyLoadedSettings();                                         // links/LinkSelect
    void bindUdpEndpoint();                                             // links/UdpLink
    void applyBrandAndTitle();

    // mode buttons of the tool panel
    void sendModeCommand(int index);

    CaptionBook captions_;
    std::unique_ptr<TCommFun> commFun_;
    bool shownOnce_ = false;

public:
    // Controls, public so that the page code and the tests reach them by name (objectName matches).
    QTabWidget *pages = nullptr;
    ConsoleLog *console_ = nullptr;
    std::array<QLabel *, 3> statusPanels_{};
    QTimer *pollTimer = nullptr;

    // tool panel
    QPushButton *exitButton = nullptr;
    QPushButton *portOptionsButton = nullptr;
    QPushButton *clearConsoleButton = nullptr;
    QPushButton *enterSettingButton = nullptr;
    QPushButton *atButton = nullptr;
    QPushButton *enterDataButton = nullptr;

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
    QTcpSocket *tcpSocket_ = nullptr;
    QUdpSocket *udpSocket_ = nullptr;
    TfrmPortSet *portDialog_ = nullptr;
    TForm_options *optionsDialog_ = nullptr;
};
