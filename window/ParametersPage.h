#pragma once

// "基本参数": work mode, AP and Station on the left, network above serial on the right, the URL
// across the bottom.

#include "window/Captions.h"

#include <QWidget>

class MainWindow;

class ParametersPage final : public QWidget {
    Q_OBJECT

public:
    ParametersPage(MainWindow *window, QWidget *parent);

private:
    CaptionBook captions_;
};
