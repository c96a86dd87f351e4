#include "window/ParameterGroups.h"

#include "protocol/FieldCatalogue.h"
#include "window/KeyFilter.h"
#include "window/MainWindow.h"
#include "window/ParameterActions.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
// A caption shown the same in both languages.
ShownText same(const char *text)
{
    return ShownText::fixed(QString::fromUtf8(text));
}

struct GroupLook {
    ParameterGroup group;
    const char *objectName;
    ShownText title;
};

const GroupLook &lookOf(ParameterGroup group)
{
    static const GroupLook groups[] = {
        {ParameterGroup::WorkMode, "workModeGroup", captionText("ParameterGroups", "Work mode")},
        {ParameterGroup::Ap, "apGroup", same("AP")},
        {ParameterGroup::Station, "stationGroup", same("Station")},
        {ParameterGroup::HttpUrl, "urlGroup", same("Http Server URL")},
        {ParameterGroup::Network, "networkGroup", captionText("ParameterGroups", "Network Communication")},
        {ParameterGroup::Serial, "serialGroup", captionText("ParameterGroups", "Serial settings")},
        {ParameterGroup::Switches, "switchGroup",
         captionText("ParameterGroups", "Communcation Switch and settings")},
    };
    for (const GroupLook &look : groups) {
        if (look.group == group)
            return look;
    }
    return groups[0];
}

// The captions of a row's read and set buttons. Most say "读取"/"Read" and "设置"/"Set"; five set
// buttons say "set" in English, and three rows keep their Chinese captions in English too.
std::pair<ShownText, ShownText> rowButtonCaptions(const QString &atName)
{
    static const QStringList lowerSet{QStringLiteral("UART"), QStringLiteral("RCVTIMEOUT"),
                                      QStringLiteral("RCVMAX"), QStringLiteral("MSGEN"),
                                      QStringLiteral("TRANTYPE")};
    static const QStringList chineseOnly{QStringLiteral("NAME"), QStringLiteral("PWD"),
                                         QStringLiteral("httpserver")};
    if (chineseOnly.contains(atName))
        return {same("读取"), same("设置")};
    return {captionText("ParameterGroups", "Read"), lowerSet.contains(atName)
                                                        ? captionText("ParameterGroups", "set")
                                                        : captionText("ParameterGroups", "Set")};
}

// One field with its label on the given grid row.
void addField(QGroupBox *group, QGridLayout *grid, int gridRow, const FieldDescription &description,
              CaptionBook &captions, MainWindow *window)
{
    auto *label = new QLabel(group);
    label->setObjectName(QLatin1String(description.stem) + QLatin1String("Label"));
    QWidget *widget = nullptr;
    if (description.list) {
        auto *box = new QComboBox(group);
        box->setObjectName(QLatin1String(description.stem) + QLatin1String("Box"));
        if (description.translatedItems.empty()) {
            box->addItems(description.items);
        } else {
            // The items take their language before the box is first shown, where it measures them (the
            // default size policy); AdjustToContents would make each box's popup list at once.
            std::vector<ShownText> items;
            for (const char *item : description.translatedItems)
                items.push_back(ShownText::translated(kFieldContext, item, description.itemDisambiguation));
            captions.addItems(box, items);
        }
        box->setCurrentIndex(description.startIndex);
        widget = box;
    } else {
        auto *edit = new QLineEdit(description.startText, group);
        edit->setObjectName(QLatin1String(description.stem) + QLatin1String("Edit"));
        if (description.maxLength > 0)
            edit->setMaxLength(description.maxLength);
        KeyFilter::install(edit, description.filter);
        widget = edit;
    }
    captions.addField(label, widget, ShownText::translated(kFieldContext, description.label));
    window->registerField(description.field, widget);
    grid->addWidget(label, gridRow, 0);
    grid->addWidget(widget, gridRow, 1);
}
} // namespace

QGroupBox *buildGroupBox(QWidget *page, const char *objectName, const ShownText &title, CaptionBook &captions)
{
    auto *group = new QGroupBox(page);
    group->setObjectName(QLatin1String(objectName));
    captions.addGroup(group, title);
    return group;
}

// The rows from the catalogue: the fields one under another, the read and set buttons on the row of
// each parameter's first field, right of the fields.
QGroupBox *buildParameterGroup(ParameterGroup which, QWidget *page, CaptionBook &captions, MainWindow *window)
{
    const GroupLook &look = lookOf(which);
    QGroupBox *group = buildGroupBox(page, look.objectName, look.title, captions);
    auto *grid = new QGridLayout(group);
    grid->setColumnStretch(1, 1);
    int gridRow = 0;
    ParameterActions *actions = &window->parameterActions();
    for (const ParameterRow &row : ParameterCatalogue()) {
        if (row.group != which)
            continue;
        const FieldDescription &first = DescriptionOf(row.fields.front());
        const auto [readCaption, setCaption] = rowButtonCaptions(row.atName);
        auto *readButton = new QPushButton(group);
        readButton->setObjectName(QLatin1String(first.stem) + QLatin1String("ReadButton"));
        auto *setButton = new QPushButton(group);
        setButton->setObjectName(QLatin1String(first.stem) + QLatin1String("SetButton"));
        const ShownText rowLabel = ShownText::translated(kFieldContext, first.label);
        captions.addRowButton(readButton, readCaption, rowLabel);
        captions.addRowButton(setButton, setCaption, rowLabel);
        grid->addWidget(readButton, gridRow, 2);
        grid->addWidget(setButton, gridRow, 3);
        QObject::connect(readButton, &QPushButton::clicked, actions,
                         [actions, &row] { actions->readParameter(row); });
        QObject::connect(setButton, &QPushButton::clicked, actions,
                         [actions, &row] { actions->setParameter(row); });
        for (const Field id : row.fields)
            addField(group, grid, gridRow++, DescriptionOf(id), captions, window);
    }
    grid->setRowStretch(gridRow, 1);
    return group;
}
