#include "window/ParametersPage.h"

#include "window/MainWindow.h"
#include "window/ParameterGroups.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

ParametersPage::ParametersPage(MainWindow *window, QWidget *parent) : QWidget(parent)
{
    window->adoptCaptions(captions_);
    auto group = [&](ParameterGroup which) { return buildParameterGroup(which, this, captions_, window); };
    auto *grid = new QGridLayout(this);
    auto *left = new QVBoxLayout;
    left->addWidget(group(ParameterGroup::WorkMode));
    left->addWidget(group(ParameterGroup::Ap));
    left->addWidget(group(ParameterGroup::Station));
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(group(ParameterGroup::Network));
    right->addWidget(group(ParameterGroup::Serial));
    right->addStretch(1);
    grid->addLayout(left, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->addWidget(group(ParameterGroup::HttpUrl), 1, 0, 1, 2);

    // Hidden controls: the save button has no action; the check box only mirrors the add-quotes
    // setting, which no command reads.
    auto *saveButton = new QPushButton(this);
    saveButton->setObjectName(QStringLiteral("saveRebootButton"));
    captions_.addControl(saveButton, captionText("ParametersPage", "Save&&Reboot"));
    saveButton->hide();
    auto *addQuotesCheck = new QCheckBox(this);
    addQuotesCheck->setObjectName(QStringLiteral("addQuotesCheck"));
    captions_.addControl(addQuotesCheck, ShownText::fixed(QStringLiteral("参数值加上\"\"")));
    addQuotesCheck->hide();
    addQuotesCheck->setChecked(window->settings().addQuotes);
    connect(addQuotesCheck, &QCheckBox::clicked, this,
            [window](bool checked) { window->settings().addQuotes = checked; });
}
