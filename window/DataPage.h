#pragma once

// "数据发送与广播搜索": raw data typed as text or hex goes out unchanged on the chosen link, and the
// broadcast device search lists whoever answers.

#include "window/Captions.h"

#include <QWidget>

class MainWindow;
class QPlainTextEdit;
class QRadioButton;

class DataPage final : public QWidget {
    Q_OBJECT

public:
    DataPage(MainWindow *window, QWidget *parent);

    // One line of the search result list: who answered, and what.
    void listAnswer(const QString &line);

private:
    void sendData();

    MainWindow *window_;
    CaptionBook captions_;
    QRadioButton *hexRadio_ = nullptr;
    QPlainTextEdit *dataEdit_ = nullptr;
    QPlainTextEdit *searchResultEdit_ = nullptr;
};
