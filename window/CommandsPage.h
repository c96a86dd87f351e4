#pragma once

// "命令与开关配置": "基本操作" with the query results on the left; the switch group above "系统操作"
// on the right.

#include "window/Captions.h"

#include <QWidget>

class MainWindow;

class CommandsPage final : public QWidget {
    Q_OBJECT

public:
    CommandsPage(MainWindow *window, QWidget *parent);

private:
    CaptionBook captions_;
};
