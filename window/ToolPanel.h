#pragma once

// The panel above the pages: "退出", "串口选项", "清除" (the console), the three mode buttons, "读取全部"
// under them, and the link group beside them.

#include <QWidget>
#include <array>

class CaptionBook;
class LinkGroup;
class MainWindow;
class QPushButton;
class ReadAllControl;
class WindowChannel;

class ToolPanel final : public QWidget {
    Q_OBJECT

public:
    ToolPanel(MainWindow *window, CaptionBook &captions, WindowChannel *channel, QWidget *parent);

    LinkGroup *linkGroup() const { return linkGroup_; }
    ReadAllControl *readAllControl() const { return readAllControl_; }
    // The controls that send or change the link, disabled while a command run is under way.
    void setSendingEnabled(bool enabled);

private:
    QPushButton *portOptionsButton_ = nullptr;
    std::array<QPushButton *, 3> modeButtons_{};
    ReadAllControl *readAllControl_ = nullptr;
    LinkGroup *linkGroup_ = nullptr;
};
