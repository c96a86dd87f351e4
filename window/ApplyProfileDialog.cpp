#include "window/ApplyProfileDialog.h"

#include "links/ParameterRun.h"
#include "window/Captions.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/ReadAllControl.h"
#include "window/RunTexts.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {
QTableWidgetItem *cell(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

void setCellText(QTableWidgetItem *item, const QString &text)
{
    item->setText(text);
    item->setToolTip(text);
}
} // namespace

ApplyProfileDialog::ApplyProfileDialog(Mode mode, const Profile &profile, const QString &path,
                                       CommandChannel *channel, ReadAllControl *memory, MainWindow *window)
    : QDialog(window), mode_(mode), profile_(profile), path_(path), window_(window), memory_(memory),
      run_(new ParameterRun(channel, this)), known_(memory->knownValues())
{
    const bool applying = mode == Mode::Apply;
    setObjectName(applying ? QStringLiteral("applyProfileDialog") : QStringLiteral("compareProfileDialog"));
    const ShownText title = applying ? captionText("ApplyProfileDialog", "Apply profile")
                                     : captionText("ApplyProfileDialog", "Compare with profile");
    const QString fileName = QFileInfo(path).fileName();
    setFont(window->font()); // a window of its own does not take its parent's font
    resize(1000, 560);

    auto *layout = new QVBoxLayout(this);
    auto *fileLabel = new QLabel(QDir::toNativeSeparators(path), this);
    fileLabel->setObjectName(QStringLiteral("profileFileLabel"));
    layout->addWidget(fileLabel);
    auto *tableLabel = new QLabel(this);
    tableLabel->setObjectName(QStringLiteral("profileTableLabel"));
    table = new QTableWidget(this);
    table->setObjectName(QStringLiteral("profileTable"));
    layout->addWidget(tableLabel);
    layout->addWidget(table, 1);
    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("profileStatusLabel"));
    statusLabel->setWordWrap(true);
    layout->addWidget(statusLabel);
    progress = new QProgressBar(this);
    progress->setObjectName(QStringLiteral("profileProgress"));
    progress->setFormat(QStringLiteral("%v/%m"));
    layout->addWidget(progress);

    auto *buttons = new QHBoxLayout;
    writeAllCheck = new QCheckBox(this);
    writeAllCheck->setObjectName(QStringLiteral("writeAllCheck"));
    writeButton = new QPushButton(this);
    writeButton->setObjectName(QStringLiteral("writeButton"));
    cancelButton = new QPushButton(this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    closeButton = new QPushButton(this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    buttons->addWidget(writeAllCheck);
    buttons->addStretch(1);
    for (QPushButton *button : {writeButton, cancelButton, closeButton}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    writeAllCheck->setVisible(applying);
    writeButton->setVisible(applying);

    // The dialog is made after the window's language is settled: one pass of a book sets its captions
    // and accessible names.
    CaptionBook captions;
    captions.addWindowTitle(this, title + (QStringLiteral(" - ") + fileName));
    // The labels that show a path and a state publish what they show; what they are for is their
    // description.
    captions.addDescription(fileLabel, captionText("ApplyProfileDialog", "Profile file"));
    captions.addField(tableLabel, table, captionText("ApplyProfileDialog", "Profile parameters"));
    captions.addDescription(statusLabel, captionText("ApplyProfileDialog", "State"));
    captions.addNamed(progress, captionText("ApplyProfileDialog", "Progress"));
    captions.addControl(writeAllCheck, captionText("ApplyProfileDialog", "Write all"));
    captions.addControl(writeButton, captionText("ApplyProfileDialog", "Write"));
    captions.addControl(cancelButton, captionText("ApplyProfileDialog", "Cancel"));
    captions.addControl(closeButton, captionText("ApplyProfileDialog", "Close"));
    captions.apply(!window_->chinese());

    buildTable();

    connect(writeButton, &QPushButton::clicked, this, &ApplyProfileDialog::write);
    connect(cancelButton, &QPushButton::clicked, this, [this] {
        cancelled_ = true;
        run_->cancel();
    });
    connect(closeButton, &QPushButton::clicked, this, &ApplyProfileDialog::reject);
    connect(run_, &ParameterRun::stepStarted, this, &ApplyProfileDialog::stepStarted);
    connect(run_, &ParameterRun::rowFinished, this, &ApplyProfileDialog::showOutcome);
    connect(run_, &ParameterRun::finished, this, &ApplyProfileDialog::runFinished);
    setPhase(Phase::Ready);
}

void ApplyProfileDialog::buildTable()
{
    for (const ParameterRow &row : ParameterCatalogue()) {
        if (profile_.find(&row) != nullptr)
            rows_ << &row;
    }
    table->setColumnCount(ColumnCount);
    table->setRowCount(int(rows_.size()));
    table->setHorizontalHeaderLabels(
        {tr("Parameter"), tr("Module value"), tr("Profile value"), tr("Differs"), tr("Outcome")});
    table->verticalHeader()->hide();
    table->setWordWrap(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setStretchLastSection(true);
    for (int i = 0; i < rows_.size(); ++i) {
        const ParameterRow &row = *rows_.at(i);
        table->setItem(i, ParameterColumn, cell(RowName(row)));
        table->setItem(i, ProfileColumn, cell(profile_.find(&row)->value));
        table->item(i, ProfileColumn)->setToolTip(profile_.find(&row)->value);
        table->setItem(i, ModuleColumn, cell(QString()));
        table->setItem(i, DiffersColumn, cell(QString()));
        table->setItem(i, OutcomeColumn, cell(QString()));
        showValues(i);
    }
    fitColumns();
}

void ApplyProfileDialog::fitColumns()
{
    // Long values (an AP's four settings) are cut short in view; the cell still gives them whole to a
    // screen reader and as its tool tip.
    constexpr int kWidestColumn = 220;
    table->resizeColumnsToContents();
    for (int column = 0; column < ColumnCount; ++column)
        table->setColumnWidth(column, std::min(table->columnWidth(column), kWidestColumn));
    table->resizeRowsToContents();
}

void ApplyProfileDialog::showValues(int tableRow)
{
    const ParameterRow &row = *rows_.at(tableRow);
    const auto known = known_.constFind(row.atName);
    QString module;
    QString differs;
    if (known != known_.constEnd()) {
        module = *known;
        differs = *known == profile_.find(&row)->value ? tr("no") : tr("yes");
    } else {
        if (notRead_.contains(row.atName))
            module = tr("(not read: %1)").arg(notRead_.value(row.atName));
        differs = tr("unknown");
    }
    setCellText(table->item(tableRow, ModuleColumn), module);
    table->item(tableRow, DiffersColumn)->setText(differs);
}

int ApplyProfileDialog::tableRowOf(const ParameterRow *row) const
{
    return int(rows_.indexOf(row));
}

bool ApplyProfileDialog::isRunning() const
{
    return run_->isRunning();
}

void ApplyProfileDialog::start()
{
    QList<const ParameterRow *> unknown;
    for (const ParameterRow *row : rows_) {
        if (!known_.contains(row->atName))
            unknown << row;
    }
    if (unknown.isEmpty()) {
        readingFinished();
        return;
    }
    progress->setRange(0, int(unknown.size()));
    progress->setValue(0);
    setPhase(Phase::Reading);
    run_->startRead(unknown);
}

void ApplyProfileDialog::write()
{
    if (mode_ != Mode::Apply || phase_ != Phase::Ready)
        return;
    progress->setRange(0, int(rows_.size()));
    progress->setValue(0);
    setPhase(Phase::Writing);
    run_->startApply(profile_, known_, writeAllCheck->isChecked(), true);
}

void ApplyProfileDialog::stepStarted(int runIndex, bool writing)
{
    const ParameterRow &row = *run_->outcomes().at(runIndex).row;
    const QString caption = writing ? QCoreApplication::translate(kSetCaptionContext, row.setCaption)
                                    : QCoreApplication::translate(kReadCaptionContext, row.readCaption);
    const QString step = writing ? tr("Writing %1") : tr("Reading %1");
    statusLabel->setText(step.arg(caption) +
                         QStringLiteral(" (%1/%2)").arg(runIndex + 1).arg(run_->outcomes().size()));
}

void ApplyProfileDialog::showOutcome(int runIndex)
{
    const RowOutcome &outcome = run_->outcomes().at(runIndex);
    const int tableRow = tableRowOf(outcome.row);
    if (tableRow < 0)
        return;
    progress->setValue(progress->value() + 1);
    if (outcome.moduleValue && !known_.contains(outcome.row->atName)) {
        known_.insert(outcome.row->atName, *outcome.moduleValue);
        notRead_.remove(outcome.row->atName);
        showValues(tableRow);
    }
    if (phase_ == Phase::Reading) {
        if (outcome.state == RowOutcome::State::NotRead) {
            notRead_.insert(outcome.row->atName, outcome.detail);
            showValues(tableRow);
        }
        return;
    }
    setCellText(table->item(tableRow, OutcomeColumn), OutcomeText(outcome, false));
}

void ApplyProfileDialog::runFinished(bool completed, const QString &reason)
{
    if (phase_ == Phase::Reading) {
        memory_->learn(run_->moduleValues());
        readingFinished();
        if (!completed)
            statusLabel->setText(
                statusLabel->text() + QLatin1Char(' ') +
                (cancelled_ ? tr("Reading was cancelled.") : tr("Reading stopped: %1.").arg(reason)));
        cancelled_ = false;
        return;
    }
    writingFinished(completed, reason);
}

void ApplyProfileDialog::readingFinished()
{
    int differ = 0;
    int unknown = 0;
    for (const ParameterRow *row : rows_) {
        const auto known = known_.constFind(row->atName);
        if (known == known_.constEnd())
            ++unknown;
        else if (*known != profile_.find(row)->value)
            ++differ;
    }
    QString text = tr("%1 of %2 parameters differ from the module.").arg(differ).arg(rows_.size());
    if (unknown > 0)
        text += QLatin1Char(' ') + tr("%1 unknown.").arg(unknown);
    statusLabel->setText(text);
    fitColumns();
    setPhase(Phase::Ready);
}

void ApplyProfileDialog::writingFinished(bool completed, const QString &reason)
{
    // What the module holds now, as far as the run can tell.
    for (const RowOutcome &outcome : run_->outcomes()) {
        const QString &name = outcome.row->atName;
        if (outcome.state == RowOutcome::State::Verified)
            memory_->learn({{name, outcome.profileValue}});
        else if (outcome.state == RowOutcome::State::Same && outcome.moduleValue)
            memory_->learn({{name, *outcome.moduleValue}});
        else
            memory_->forget(name);
        if (const int tableRow = tableRowOf(outcome.row); tableRow >= 0)
            setCellText(table->item(tableRow, OutcomeColumn), OutcomeText(outcome, true));
    }
    const QString line =
        ApplySummary(QFileInfo(path_).fileName(), run_->outcomes(), {completed, cancelled_, reason});
    statusLabel->setText(line);
    window_->console()->addLine(line);
    fitColumns();
    setPhase(Phase::Done);
}

void ApplyProfileDialog::setPhase(Phase phase)
{
    phase_ = phase;
    const bool running = phase == Phase::Reading || phase == Phase::Writing;
    progress->setVisible(running);
    cancelButton->setEnabled(running);
    writeButton->setEnabled(phase == Phase::Ready);
    writeAllCheck->setEnabled(phase == Phase::Ready);
    if (!running && cancelButton->hasFocus())
        (phase == Phase::Ready && mode_ == Mode::Apply ? writeButton : closeButton)
            ->setFocus(Qt::OtherFocusReason);
}

void ApplyProfileDialog::reject()
{
    // Closing stops the run: nothing is sent for a dialog that is gone.
    if (run_->isRunning()) {
        cancelled_ = true;
        run_->cancel();
    }
    QDialog::reject();
}
