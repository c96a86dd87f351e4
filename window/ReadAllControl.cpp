#include "window/ReadAllControl.h"

#include "links/ParameterRun.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/RunTexts.h"
#include "window/SerialPortDialog.h"
#include "window/WindowChannel.h"

#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>

namespace {
// The module the active link reaches, as far as this tool can tell.
QString activeModule(const MainWindow &window)
{
    const AppSettings &settings = window.settings();
    const LinkRoute &route = window.session().route;
    switch (route.linkType) {
    case 0:
        return QStringLiteral("COM%1").arg(window.portDialog()->comPort());
    case 1:
        return QStringLiteral("LAN %1:%2").arg(settings.serverIp).arg(settings.tcpPort);
    case 2:
        return QStringLiteral("WAN %1:%2 %3:%4")
            .arg(settings.serverIp2)
            .arg(settings.tcpPort2)
            .arg(route.targetId, route.targetZone);
    default:
        return QString();
    }
}
} // namespace

ReadAllControl::ReadAllControl(MainWindow *window, WindowChannel *channel, QWidget *parent)
    : QWidget(parent), window_(window), run_(new ParameterRun(channel, this))
{
    setObjectName(QStringLiteral("readAllControl"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    readAllButton_ = new QPushButton(this);
    readAllButton_->setObjectName(QStringLiteral("readAllButton"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("readAllProgress"));
    progress_->setFormat(QStringLiteral("%v/%m"));
    stepLabel_ = new QLabel(this);
    stepLabel_->setObjectName(QStringLiteral("readAllStepLabel"));
    cancelButton_ = new QPushButton(this);
    cancelButton_->setObjectName(QStringLiteral("readAllCancelButton"));

    CaptionBook &captions = window->captions();
    captions.addControl(readAllButton_, captionText("ReadAllControl", "Read all"));
    captions.addNamed(progress_, captionText("ReadAllControl", "Read all progress"));
    // No name of its own: the label publishes the parameter under way as it changes.
    captions.addDescription(stepLabel_, captionText("ReadAllControl", "Parameter being read"));
    captions.addRowButton(cancelButton_, captionText("ReadAllControl", "Cancel"),
                          captionText("ReadAllControl", "Read all"));
    // The step text takes the room there is and never widens the tool panel.
    stepLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    progress_->setMaximumWidth(100);
    row->addWidget(readAllButton_);
    row->addWidget(progress_);
    row->addWidget(stepLabel_, 1);
    row->addWidget(cancelButton_);
    row->addStretch(0);
    for (QWidget *w : std::initializer_list<QWidget *>{progress_, stepLabel_, cancelButton_})
        w->hide();

    connect(readAllButton_, &QPushButton::clicked, this, &ReadAllControl::start);
    connect(cancelButton_, &QPushButton::clicked, this, &ReadAllControl::cancel);
    connect(run_, &ParameterRun::stepStarted, this, [this](int index) { showStep(index); });
    connect(run_, &ParameterRun::rowFinished, this, [this] { progress_->setValue(progress_->value() + 1); });
    connect(run_, &ParameterRun::finished, this, &ReadAllControl::finishRun);
    connect(channel, &WindowChannel::otherCommandSent, this, &ReadAllControl::noteButtonCommand);
}

bool ReadAllControl::isRunning() const
{
    return run_->isRunning();
}

void ReadAllControl::start()
{
    if (run_->isRunning())
        return;
    cancelled_ = false;
    progress_->setRange(0, int(ParameterCatalogue().size()));
    progress_->setValue(0);
    setRunning(true);
    run_->startRead();
}

void ReadAllControl::cancel()
{
    cancelled_ = true;
    run_->cancel();
}

void ReadAllControl::showStep(int index)
{
    const ParameterRow &row = *run_->outcomes().at(index).row;
    stepLabel_->setText(tr("Reading %1 (%2/%3)")
                            .arg(QCoreApplication::translate(kReadCaptionContext, row.readCaption))
                            .arg(index + 1)
                            .arg(run_->outcomes().size()));
}

void ReadAllControl::finishRun(bool completed, const QString &reason)
{
    setRunning(false);
    // What a stopped run did read is still true of the module.
    known_ = run_->moduleValues();
    knownModule_ = activeModule(*window_);
    window_->console()->addLine(ReadAllSummary(run_->outcomes(), {completed, cancelled_, reason}));
}

void ReadAllControl::setRunning(bool running)
{
    // The focus goes with the button that replaces the one under it, for keyboard and screen reader.
    const bool focusMoves = running ? readAllButton_->hasFocus() : cancelButton_->hasFocus();
    readAllButton_->setEnabled(!running);
    progress_->setVisible(running);
    stepLabel_->setVisible(running);
    cancelButton_->setVisible(running);
    if (!running)
        stepLabel_->clear();
    if (focusMoves)
        (running ? cancelButton_ : readAllButton_)->setFocus(Qt::OtherFocusReason);

    // Everything else that sends waits: a command between a query and its reply would take the reply.
    window_->setSendingEnabled(!running);
    Q_EMIT runningChanged(running);
}

ModuleValues ReadAllControl::knownValues() const
{
    return knownModule_ == activeModule(*window_) ? known_ : ModuleValues();
}

void ReadAllControl::learn(const ModuleValues &values)
{
    if (knownModule_ != activeModule(*window_)) {
        known_.clear();
        knownModule_ = activeModule(*window_);
    }
    known_.insert(values);
}

void ReadAllControl::forget(const QString &atName)
{
    known_.remove(atName);
}

void ReadAllControl::noteButtonCommand(int typeCode)
{
    if (typeCode >= 0 && typeCode <= 2)
        return; // "+++", "AT" and "AT++" change no parameter
    const ParameterRow *row = FindParameterByCode(typeCode);
    if (row != nullptr && typeCode == row->readCode())
        return;
    if (row != nullptr)
        forget(row->atName);
    else
        known_.clear(); // an operation: a restart or a factory reset may change any of them
}
