#include "window/CommandsPage.h"

#include "window/MainWindow.h"
#include "window/ParameterActions.h"
#include "window/ParameterGroups.h"
#include "window/SystemOperations.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

CommandsPage::CommandsPage(MainWindow *window, QWidget *parent) : QWidget(parent)
{
    window->adoptCaptions(captions_);
    QGroupBox *switchGroup = buildParameterGroup(ParameterGroup::Switches, this, captions_, window);
    QGroupBox *baseGroup =
        buildGroupBox(this, "baseOperationGroup", captionText("CommandsPage", "Base Operation"), captions_);
    QGroupBox *systemGroup = buildGroupBox(this, "systemOperationGroup",
                                           captionText("CommandsPage", "System Operation"), captions_);
    auto *baseLayout = new QGridLayout(baseGroup);
    auto *listButtons = new QHBoxLayout;
    baseLayout->addLayout(listButtons, 0, 0, 1, 2);
    auto *listMemo = new QPlainTextEdit(baseGroup);
    listMemo->setObjectName(QStringLiteral("listMemo"));
    listMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    captions_.addNamed(listMemo, captionText("CommandsPage", "Query result"));
    window->registerField(Field::ListMemo, listMemo);
    baseLayout->addWidget(listMemo, 1, 0, 1, 2);
    baseLayout->setRowStretch(1, 1);
    auto *systemLayout = new QGridLayout(systemGroup);
    int baseRow = 2;
    int systemIndex = 0;
    ParameterActions *actions = &window->parameterActions();
    for (const SystemOperation &operation : SystemOperations()) {
        const bool base = operation.group == OperationGroup::Base;
        auto *button = new QPushButton(base ? baseGroup : systemGroup);
        button->setObjectName(QLatin1String(operation.objectName));
        captions_.addControl(button, operation.button);
        connect(button, &QPushButton::clicked, actions,
                [actions, &operation] { actions->runSystemOperation(operation); });
        if (!base) {
            systemLayout->addWidget(button, systemIndex / 2, systemIndex % 2);
            ++systemIndex;
        } else if (operation.cleared == Field::ListMemo) {
            listButtons->addWidget(button);
        } else {
            // A query with its own result field, named by its button.
            auto *result = new QLineEdit(baseGroup);
            QString name = QLatin1String(operation.objectName);
            name.replace(QLatin1String("Button"), QLatin1String("Edit"));
            result->setObjectName(name);
            result->setReadOnly(true);
            captions_.addNamed(result, operation.button);
            window->registerField(*operation.cleared, result);
            baseLayout->addWidget(button, baseRow, 0);
            baseLayout->addWidget(result, baseRow, 1);
            ++baseRow;
        }
    }

    auto *grid = new QGridLayout(this);
    grid->addWidget(baseGroup, 0, 0, 3, 1);
    grid->addWidget(switchGroup, 0, 1);
    grid->addWidget(systemGroup, 1, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
}
