#include "window/IoPage.h"

#include "protocol/IoCommand.h"
#include "window/CommandDispatch.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace {
struct PinRow {
    const char *caption; // English; the catalogue gives the designed Chinese
    const char *pin;     // the module's GPIO behind the row
    bool shown;
};

const PinRow kPinRows[8] = {
    {QT_TRANSLATE_NOOP("IoPage", "IO1"), "(GPIO16)", true},
    {QT_TRANSLATE_NOOP("IoPage", "IO2"), "(GPIO14)", true},
    {QT_TRANSLATE_NOOP("IoPage", "IO3"), "(GPIO12)", true},
    {QT_TRANSLATE_NOOP("IoPage", "IO4"), "(GPIO13)", true},
    {QT_TRANSLATE_NOOP("IoPage", "IO5(O)"), "(GPIO15)", false},
    {QT_TRANSLATE_NOOP("IoPage", "IO6"), "(GPIO2)", false},
    {QT_TRANSLATE_NOOP("IoPage", "IO7"), "(GPIO0)", false},
    {QT_TRANSLATE_NOOP("IoPage", "IO8"), "(GPIO4)", false},
};

enum Column { LabelColumn, PinColumn, ModeColumn, PullColumn, LevelColumn, SetColumn, ReadColumn };

QString rowName(const char *prefix, int row, const char *suffix)
{
    return QLatin1String(prefix) + QString::number(row) + QLatin1String(suffix);
}

bool rowInRange(int row)
{
    return row >= 1 && row <= 8;
}
} // namespace

IoPage::IoPage(MainWindow *window, QWidget *parent) : QWidget(parent), window_(window)
{
    window->adoptCaptions(captions_);
    auto *outer = new QVBoxLayout(this);
    auto *grid = new QGridLayout();
    outer->addLayout(grid);
    outer->addStretch(1);

    const struct {
        Column column;
        const char *name;
        ShownText caption;
    } heads[] = {
        {ModeColumn, "ioModeHeadLabel", captionText("IoPage", "IO mode")},
        {PullColumn, "ioPullHeadLabel", captionText("IoPage", "Pull-up")},
        {LevelColumn, "ioLevelHeadLabel", captionText("IoPage", "Power Level")},
    };
    for (const auto &head : heads) {
        auto *label = new QLabel(this);
        label->setObjectName(QLatin1String(head.name));
        captions_.addControl(label, head.caption);
        grid->addWidget(label, 0, head.column);
    }

    const QStringList modeItems = {QStringLiteral("Input"), QStringLiteral("Output"), QStringLiteral("None")};
    const std::vector<ShownText> pullItems{captionText("IoPage", "Pull-up", "item"),
                                           captionText("IoPage", "Suspend")};
    const std::vector<ShownText> levelItems{captionText("IoPage", "Low"), captionText("IoPage", "High")};

    for (int n = 1; n <= 8; ++n) {
        const PinRow &pinRow = kPinRows[n - 1];
        const ShownText rowCaption = ShownText::translated("IoPage", pinRow.caption);
        Row &row = rows_[static_cast<size_t>(n - 1)];

        auto *label = new QLabel(this);
        label->setObjectName(rowName("ioName", n, "Label"));
        captions_.addControl(label, rowCaption);
        auto *pinLabel = new QLabel(this);
        pinLabel->setObjectName(rowName("ioPin", n, "Label"));
        const QString pin = QLatin1String(pinRow.pin);
        captions_.addControl(pinLabel, ShownText::fixed(pin));

        // The boxes share their column head; each gets a label of its own that shows nothing and
        // tells a screen reader its column and row ("IO模式 IO1"). It sits in the box's cell at no
        // size, so the page looks and lays out as before.
        auto makeBox = [&](const char *kind, const auto &head) {
            auto *name = new QLabel(this);
            name->setObjectName(rowName(kind, n, "NameLabel"));
            name->setFixedSize(0, 0);
            name->setHidden(!pinRow.shown);
            grid->addWidget(name, n, head.column);
            auto *box = new QComboBox(this);
            box->setObjectName(rowName(kind, n, "Box"));
            captions_.addUnseenLabel(name, box, head.caption + QStringLiteral(" ") + rowCaption);
            return box;
        };
        row.mode = makeBox("ioMode", heads[0]);
        row.mode->addItems(modeItems);
        row.mode->setCurrentIndex(1); // "Output"
        row.pull = makeBox("ioPull", heads[1]);
        captions_.addItems(row.pull, pullItems);
        row.pull->setCurrentIndex(0); // "上拉"
        row.level = makeBox("ioLevel", heads[2]);
        captions_.addItems(row.level, levelItems);
        row.level->setCurrentIndex(1); // "高电平"

        auto *setButton = new QPushButton(this);
        setButton->setObjectName(rowName("ioSet", n, "Button"));
        captions_.addRowButton(setButton, captionText("IoPage", "Set"), rowCaption);
        auto *readButton = new QPushButton(this);
        readButton->setObjectName(rowName("ioRead", n, "Button"));
        captions_.addRowButton(readButton, captionText("IoPage", "Read"), rowCaption);
        connect(setButton, &QPushButton::clicked, this, [this, n] { sendIoCommand(n, QStringLiteral("W")); });
        connect(readButton, &QPushButton::clicked, this, [this, n] {
            rows_[static_cast<size_t>(n - 1)].level->setCurrentIndex(-1);
            sendIoCommand(n, QStringLiteral("R"));
        });

        const std::pair<QWidget *, Column> cells[] = {
            {label, LabelColumn},     {pinLabel, PinColumn},  {row.mode, ModeColumn},  {row.pull, PullColumn},
            {row.level, LevelColumn}, {setButton, SetColumn}, {readButton, ReadColumn}};
        for (const auto &[widget, column] : cells) {
            grid->addWidget(widget, n, column);
            widget->setHidden(!pinRow.shown);
        }
    }
    grid->setColumnStretch(ReadColumn + 1, 1);
}

void IoPage::selectInRow(int row, IoChange::Box box, qint64 index)
{
    if (!rowInRange(row))
        return;
    const Row &boxes = rows_[static_cast<size_t>(row - 1)];
    QComboBox *target = box == IoChange::Box::Mode   ? boxes.mode
                        : box == IoChange::Box::Pull ? boxes.pull
                                                     : boxes.level;
    target->setCurrentIndex(index >= 0 && index < target->count() ? static_cast<int>(index) : -1);
}

void IoPage::sendIoCommand(int row, const QString &op)
{
    LinkSession &session = window_->session();
    session.cmdType = 12; // the next reply is read as an IO answer, whether or not anything is sent
    const bool write = op == QLatin1String("W");
    const QString number = QString::number(row);
    const QString name = (write ? tr("Write IO%1") : tr("Read IO%1")).arg(number);
    session.lastIoOperation = op;

    QByteArray command;
    if (rowInRange(row)) {
        const Row &boxes = rows_[static_cast<size_t>(row - 1)];
        command = BuildIoCommand(
            {boxes.mode->currentText(), boxes.pull->currentIndex(), boxes.level->currentIndex()}, row,
            write ? 'W' : 'R');
        if (!command.isEmpty() && !write)
            boxes.level->setCurrentIndex(-1); // the answer will show as a fresh value
    }
    if (command.isEmpty()) {
        Boxes::warning(window_, tr("Please chose options first!"));
        return;
    }
    command += "\r\n";

    static const QString ellipsis = QStringLiteral("......");
    const SendResult result = window_->dispatch().sendOnLink(SendPayload::Command, command);
    if (!ShowsProgress(result))
        return; // no link, or a TCP error that stays in view
    static const QString linkSuffix[] = {QString(), QStringLiteral("(LAN)"), QStringLiteral("(WAN)")};
    const int link = session.route.linkType;
    if (link == 0) // unlike the other pages, the Chinese serial text says "正在设置" for reads as well
        window_->setStatusPanel(2, tr("%1......", "an IO command sent on the serial port").arg(name));
    else
        window_->setStatusPanel(2, name + linkSuffix[link] + ellipsis);
}
