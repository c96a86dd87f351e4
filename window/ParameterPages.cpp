// The two pages of module parameters and operations: "基本参数" and "命令与开关配置". The fields come
// from the field catalogue; the rows, their buttons and their handlers from the parameter catalogue
// and the operation table.

#include "protocol/FieldCatalogue.h"
#include "protocol/ParameterCatalogue.h"
#include "window/KeyFilter.h"
#include "window/MainWindow.h"
#include "window/SystemOperations.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <map>

namespace {
// {Chinese, English}
Caption cap(const char *cn, const char *en)
{
    return {QString::fromUtf8(cn), QString::fromUtf8(en)};
}
Caption same(const char *text)
{
    return cap(text, text);
}

struct GroupSpec {
    ParameterGroup group;
    const char *objectName;
    Caption title;
};

const GroupSpec kGroups[] = {
    {ParameterGroup::WorkMode, "workModeGroup", cap("工作模式", "Work mode")},
    {ParameterGroup::Ap, "apGroup", same("AP")},
    {ParameterGroup::Station, "stationGroup", same("Station")},
    {ParameterGroup::HttpUrl, "urlGroup", same("Http Server URL")},
    {ParameterGroup::Network, "networkGroup", cap("网络通讯配置", "Network Communication")},
    {ParameterGroup::Serial, "serialGroup", cap("串口相关参数", "Serial settings")},
    {ParameterGroup::Switches, "switchGroup", cap("通讯开关与配置", "Communcation Switch and settings")},
};

// The captions of a row's read and set buttons. Most say "读取"/"Read" and "设置"/"Set"; five set
// buttons say "set" in English, and three rows keep their Chinese captions in English too.
std::pair<Caption, Caption> rowButtonCaptions(const QString &atName)
{
    static const QStringList lowerSet{QStringLiteral("UART"), QStringLiteral("RCVTIMEOUT"),
                                      QStringLiteral("RCVMAX"), QStringLiteral("MSGEN"),
                                      QStringLiteral("TRANTYPE")};
    static const QStringList chineseOnly{QStringLiteral("NAME"), QStringLiteral("PWD"),
                                         QStringLiteral("httpserver")};
    if (chineseOnly.contains(atName))
        return {same("读取"), same("设置")};
    return {cap("读取", "Read"), cap("设置", lowerSet.contains(atName) ? "set" : "Set")};
}
} // namespace

void MainWindow::buildParameterPages(QWidget *basicPage, QWidget *commandPage)
{
    auto makeGroup = [this](QWidget *page, const char *objectName, const Caption &title) {
        auto *group = new QGroupBox(page);
        group->setObjectName(QLatin1String(objectName));
        captions_.addGroup(group, title);
        return group;
    };

    // One field with its label on the given grid row.
    auto makeField = [this](QGroupBox *group, QGridLayout *grid, int gridRow,
                            const FieldDescription &fieldSpec) {
        auto *label = new QLabel(group);
        label->setObjectName(QLatin1String(fieldSpec.stem) + QLatin1String("Label"));
        QWidget *widget = nullptr;
        if (fieldSpec.list) {
            auto *box = new QComboBox(group);
            box->setObjectName(QLatin1String(fieldSpec.stem) + QLatin1String("Box"));
            box->addItems(fieldSpec.items);
            box->setCurrentIndex(fieldSpec.startIndex);
            if (!fieldSpec.englishItems.isEmpty()) {
                captions_.addItems(box, fieldSpec.items, fieldSpec.englishItems);
                // The English items replace the Chinese ones after the box was first shown.
                box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            }
            widget = box;
        } else {
            auto *edit = new QLineEdit(fieldSpec.startText, group);
            edit->setObjectName(QLatin1String(fieldSpec.stem) + QLatin1String("Edit"));
            if (fieldSpec.maxLength > 0)
                edit->setMaxLength(fieldSpec.maxLength);
            KeyFilter::install(edit, fieldSpec.filter);
            widget = edit;
        }
        captions_.addField(label, widget, fieldSpec.label);
        registerField(fieldSpec.field, widget);
        grid->addWidget(label, gridRow, 0);
        grid->addWidget(widget, gridRow, 1);
    };

    // A group's rows from the catalogue: the fields one under another, the read and set buttons on
    // the row of each parameter's first field, right of the fields.
    auto fillGroup = [&](QGroupBox *group, ParameterGroup which) {
        auto *grid = new QGridLayout(group);
        grid->setColumnStretch(1, 1);
        int gridRow = 0;
        for (const ParameterRow &row : ParameterCatalogue()) {
            if (row.group != which)
                continue;
            const FieldDescription &first = DescriptionOf(row.fields.front());
            const auto [readCaption, setCaption] = rowButtonCaptions(row.atName);
            auto *readButton = new QPushButton(group);
            readButton->setObjectName(QLatin1String(first.stem) + QLatin1String("ReadButton"));
            auto *setButton = new QPushButton(group);
            setButton->setObjectName(QLatin1String(first.stem) + QLatin1String("SetButton"));
            captions_.addRowButton(readButton, readCaption, first.label);
            captions_.addRowButton(setButton, setCaption, first.label);
            grid->addWidget(readButton, gridRow, 2);
            grid->addWidget(setButton, gridRow, 3);
            connect(readButton, &QPushButton::clicked, this, [this, &row] { readParameter(row); });
            connect(setButton, &QPushButton::clicked, this, [this, &row] { setParameter(row); });
            for (const Field id : row.fields)
                makeField(group, grid, gridRow++, DescriptionOf(id));
        }
        grid->setRowStretch(gridRow, 1);
    };

    std::map<ParameterGroup, QGroupBox *> groups;
    for (const GroupSpec &fieldSpec : kGroups) {
        QWidget *page = fieldSpec.group == ParameterGroup::Switches ? commandPage : basicPage;
        groups[fieldSpec.group] = makeGroup(page, fieldSpec.objectName, fieldSpec.title);
        fillGroup(groups[fieldSpec.group], fieldSpec.group);
    }

    // First page: work mode, AP and Station on the left, network above serial on the right, the URL
    // across the bottom.
    auto *basic = new QGridLayout(basicPage);
    auto *left = new QVBoxLayout;
    left->addWidget(groups[ParameterGroup::WorkMode]);
    left->addWidget(groups[ParameterGroup::Ap]);
    left->addWidget(groups[ParameterGroup::Station]);
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(groups[ParameterGroup::Network]);
    right->addWidget(groups[ParameterGroup::Serial]);
    right->addStretch(1);
    basic->addLayout(left, 0, 0);
    basic->addLayout(right, 0, 1);
    basic->addWidget(groups[ParameterGroup::HttpUrl], 1, 0, 1, 2);

    // Hidden controls of the first page: the save button has no action; the check box only mirrors
    // the add-quotes setting, which no command reads.
    auto *saveButton = new QPushButton(basicPage);
    saveButton->setObjectName(QStringLiteral("saveRebootButton"));
    captions_.addControl(saveButton, cap("保存重启", "Save&&Reboot"));
    saveButton->hide();
    addQuotesCheck = new QCheckBox(basicPage);
    addQuotesCheck->setObjectName(QStringLiteral("addQuotesCheck"));
    captions_.addControl(addQuotesCheck, same("参数值加上\"\""));
    addQuotesCheck->hide();
    connect(addQuotesCheck, &QCheckBox::clicked, this,
            [this](bool checked) { settings_.addQuotes = checked; });

    // Second page: "基本操作" on the left; the switch group above "系统操作" on the right.
    QGroupBox *baseGroup = makeGroup(commandPage, "baseOperationGroup", cap("基本操作", "Base Operation"));
    QGroupBox *systemGroup =
        makeGroup(commandPage, "systemOperationGroup", cap("系统操作", "System Operation"));
    auto *baseLayout = new QGridLayout(baseGroup);
    auto *listButtons = new QHBoxLayout;
    baseLayout->addLayout(listButtons, 0, 0, 1, 2);
    auto *listMemo = new QPlainTextEdit(baseGroup);
    listMemo->setObjectName(QStringLiteral("listMemo"));
    listMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    captions_.addNamed(listMemo, cap("查询结果", "Query result"));
    registerField(Field::ListMemo, listMemo);
    baseLayout->addWidget(listMemo, 1, 0, 1, 2);
    baseLayout->setRowStretch(1, 1);
    auto *systemLayout = new QGridLayout(systemGroup);
    int baseRow = 2;
    int systemIndex = 0;
    for (const SystemOperation &operation : SystemOperations()) {
        const bool base = operation.group == OperationGroup::Base;
        auto *button = new QPushButton(base ? baseGroup : systemGroup);
        button->setObjectName(QLatin1String(operation.objectName));
        captions_.addControl(button, operation.button);
        connect(button, &QPushButton::clicked, this, [this, &operation] { runSystemOperation(operation); });
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
            registerField(*operation.cleared, result);
            baseLayout->addWidget(button, baseRow, 0);
            baseLayout->addWidget(result, baseRow, 1);
            ++baseRow;
        }
    }

    auto *command = new QGridLayout(commandPage);
    command->addWidget(baseGroup, 0, 0, 3, 1);
    command->addWidget(groups[ParameterGroup::Switches], 0, 1);
    command->addWidget(systemGroup, 1, 1);
    command->setRowStretch(2, 1);
    command->setColumnStretch(0, 1);
    command->setColumnStretch(1, 1);
}
