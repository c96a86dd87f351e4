#pragma once

// SerialPortDialog: the modal serial port dialog. The only place where a serial port is opened or closed;
// opening a port closes every other port the program holds. It also shows and edits which device
// path stands behind the selected COM number. It keeps the serial side's state: the port in use, the
// format it was opened with, and which ports are open.

#include "links/PortMap.h"

#include <QDialog>
#include <array>

class QComboBox;
class ComPorts;
class QLabel;
class QPushButton;

class SerialPortDialog : public QDialog {
    Q_OBJECT

public:
    // serialPorts is the window's serial ports, ports its map of COM numbers to devices; comPort and
    // baudIndex the saved choices. english: the dialog's captions are English (the language setting is "EN").
    SerialPortDialog(ComPorts *serialPorts, PortMap *ports, int comPort, int baudIndex, bool english,
                     QWidget *parent = nullptr);

    void openPort();
    void closePort();
    // The controls are made at the first show: opening the saved port at start needs none of them.
    // Call this to reach them by objectName before the dialog was shown.
    void makeControls();
    void setVisible(bool visible) override;

    // The port in use (1..36) and the baud list's choice as last opened, as Config.ini saves them.
    int comPort() const { return comPort_; }
    int baudIndex() const { return baudIndex_; }
    bool portOpen(int port) const { return PortMap::validPort(port) && portOpen_[size_t(port - 1)]; }
    // The rate and format codes (see DecodeSerialFormat) the port in use was opened with.
    struct FormatCodes {
        int baud = 0;
        int parity = 0;
        int dataBits = 0;
        int stopBits = 0;
    };
    FormatCodes formatCodes() const { return codes_; }

Q_SIGNALS:
    void portStatusChanged(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Tests find these by objectName, users by their accessible names.
    QComboBox *portBox = nullptr;
    QComboBox *baudBox = nullptr;
    QComboBox *parityBox = nullptr;
    QComboBox *dataBitsBox = nullptr;
    QComboBox *startBitsBox = nullptr;
    QComboBox *stopBitsBox = nullptr;
    QComboBox *deviceBox = nullptr;
    QPushButton *openButton = nullptr;
    QPushButton *closeButton = nullptr;
    QPushButton *exitButton = nullptr;

    // What the controls select, or before they are made, what they would select when made.
    struct Choice {
        int portIndex;
        int baudIndex;
        QString baud;
        QString parity;
        QString dataBits;
        QString stopBits;
    };
    Choice choice() const;
    void portChosen(int index);
    void deviceChosen(const QString &path);
    void applyLanguage();
    bool closeOnePort(int port);

    struct Row {
        QLabel *label;
        const char *caption; // English; the catalogue gives it under the title rule
    };
    QList<Row> rows_;
    ComPorts *serialPorts_;
    PortMap *ports_;
    const bool english_;
    int comPort_;
    int baudIndex_;
    FormatCodes codes_;
    std::array<bool, kComPortCount> portOpen_{};
};
