#pragma once

// "通讯链路": which link commands take (serial, LAN or the Internet relay), the address and port of
// each network row with its "连接" button, and the Internet target's "目标ID". A port field checks its
// value when the focus leaves it for another control of the window.

#include <QGroupBox>

class CaptionBook;
class MainWindow;
class QLineEdit;
class QPushButton;
class QRadioButton;

class LinkGroup final : public QGroupBox {
    Q_OBJECT

public:
    LinkGroup(MainWindow *window, CaptionBook &captions, QWidget *parent);

    // Shows the saved addresses and selects the saved link; a network link starts connecting.
    void applyLoadedSettings();

Q_SIGNALS:
    void targetIdRequested();

private:
    void selectLink(int linkType);
    void connectRow(int linkType); // the "连接" button of row 1 (LAN) or 2 (Internet)

    MainWindow *window_;
    QRadioButton *radios_[3] = {};
    QLineEdit *ipEdits_[3] = {};   // rows 1 and 2
    QLineEdit *portEdits_[3] = {}; // rows 1 and 2
    QPushButton *connectButtons_[3] = {};
    QPushButton *targetIdButton_ = nullptr;
    bool leaveCheckRunning_ = false; // a field's leave check holds the focus
};
