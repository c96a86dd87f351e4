#pragma once

// TfrmPortSet: the modal serial port dialog. The only place where a serial port is opened or closed;
// opening a port closes every other port the program holds. It also shows and edits which device
// path stands behind the selected COM number.

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

class TfrmPortSet : public QDialog {
    Q_OBJECT

public:
    explicit TfrmPortSet(QWidget *parent = nullptr);

    // Start-up: opens the saved port when the serial link is the chosen one.
    void openAtStartIfSerial();

    void Open();
    void Close();

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

Q_SIGNALS:
    void portStatusChanged(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void portChosen(int index);
    void deviceChosen(const QString &path);
    void applyLanguage();

    struct Row {
        QLabel *label;
        const char *cn;
        const char *en;
    };
    QList<Row> rows_;
};
