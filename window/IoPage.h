#pragma once

// "IO控制与读取": eight pin rows that set and read the module's IO pins with one IOCTR command each.
// Rows 5 to 8 exist for the module's other pins but are not offered to the user.

#include "protocol/ReplyEffects.h"
#include "window/Captions.h"

#include <QWidget>
#include <array>

class MainWindow;
class QComboBox;

class IoPage final : public QWidget {
    Q_OBJECT

public:
    IoPage(MainWindow *window, QWidget *parent);

    // row = 1..8, op = "W" set or "R" read; a row outside them asks for the choices first
    void sendIoCommand(int row, const QString &op);
    // A reply's choice for one box of a row; outside the list: no selection.
    void selectInRow(int row, IoChange::Box box, qint64 index);

private:
    struct Row {
        QComboBox *mode = nullptr;
        QComboBox *pull = nullptr;
        QComboBox *level = nullptr;
    };

    MainWindow *window_;
    CaptionBook captions_;
    std::array<Row, 8> rows_{};
};
