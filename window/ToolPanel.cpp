#include "window/ToolPanel.h"

#include "window/CommandDispatch.h"
#include "window/ConsoleLog.h"
#include "window/LinkGroup.h"
#include "window/MainWindow.h"
#include "window/OptionsDialog.h"
#include "window/ReadAllControl.h"
#include "window/SerialPortDialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPushButton *makeButton(QWidget *parent, const char *objectName)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(objectName));
    return button;
}
} // namespace

ToolPanel::ToolPanel(MainWindow *window, CaptionBook &captions, WindowChannel *channel, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("toolPanel"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    QPushButton *exitButton = makeButton(this, "exitButton");
    portOptionsButton_ = makeButton(this, "portOptionsButton");
    QPushButton *clearConsoleButton = makeButton(this, "clearConsoleButton");
    modeButtons_ = {makeButton(this, "enterSettingButton"), makeButton(this, "atButton"),
                    makeButton(this, "enterDataButton")};
    captions.addControl(exitButton, captionText("ToolPanel", "Exit"));
    captions.addControl(portOptionsButton_, captionText("ToolPanel", "COM Port"));
    captions.addRowButton(clearConsoleButton, captionText("ToolPanel", "Clear"),
                          captionText("ToolPanel", "Console log"));
    captions.addControl(modeButtons_[0], captionText("ToolPanel", "Enter to Setting"));
    captions.addControl(modeButtons_[1], captionText("ToolPanel", "AT"));
    captions.addControl(modeButtons_[2], captionText("ToolPanel", "Enter to Data"));
    auto *buttonColumn = new QVBoxLayout;
    auto *buttonRow = new QHBoxLayout;
    for (QPushButton *b : {exitButton, portOptionsButton_, clearConsoleButton})
        buttonRow->addWidget(b);
    for (QPushButton *b : modeButtons_)
        buttonRow->addWidget(b);
    buttonColumn->addLayout(buttonRow);
    // Under the mode buttons, in view whichever page is shown: it reads the rows of both pages.
    readAllControl_ = new ReadAllControl(window, channel, this);
    buttonColumn->addWidget(readAllControl_);
    row->addLayout(buttonColumn);

    connect(exitButton, &QPushButton::clicked, window, &QWidget::close);
    connect(portOptionsButton_, &QPushButton::clicked, window->portDialog(), &QDialog::exec);
    connect(clearConsoleButton, &QPushButton::clicked, window->console(), &ConsoleLog::clearLog);
    CommandDispatch *dispatch = &window->dispatch();
    for (int i = 0; i < 3; ++i)
        connect(modeButtons_[static_cast<size_t>(i)], &QPushButton::clicked, dispatch,
                [dispatch, i] { dispatch->sendModeCommand(i); });

    linkGroup_ = new LinkGroup(window, captions, this);
    connect(linkGroup_, &LinkGroup::targetIdRequested, window, [window] { window->optionsDialog()->exec(); });
    row->addWidget(linkGroup_, 1);
}

void ToolPanel::setSendingEnabled(bool enabled)
{
    for (QWidget *control : std::initializer_list<QWidget *>{modeButtons_[0], modeButtons_[1],
                                                             modeButtons_[2], portOptionsButton_, linkGroup_})
        control->setEnabled(enabled);
}
