// The IO page: eight pin rows that set and read the module's IO pins with one IOCTR command each.

#include "protocol/IoCommand.h"
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
    const char *cn; // row label as designed
    const char *en;
    const char *pin; // the module's GPIO behind the row
    bool shown;
};

// Rows 5 to 8 exist for the module's other pins but are not offered to the user.
const PinRow kPinRows[8] = {
    {"IO1", "IO1", "(GPIO16)", true},         {"IO2", "IO2", "(GPIO14)", true},
    {"IO3", "IO3", "(GPIO12)", true},         {"IO4", "IO4", "(GPIO13)", true},
    {"IO5(反)", "IO5(O)", "(GPIO15)", false}, {"IO6", "IO6", "(GPIO2)", false},
    {"IO7", "IO7", "(GPIO0)", false},         {"IO8", "IO8", "(GPIO4)", false},
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

void MainWindow::buildIoPage(QWidget *page)
{
    auto *outer = new QVBoxLayout(page);
    auto *grid = new QGridLayout();
    outer->addLayout(grid);
    outer->addStretch(1);

    const struct {
        Column column;
        const char *name;
        Caption caption;
    } heads[] = {
        {ModeColumn, "ioModeHeadLabel", {QStringLiteral("IO模式"), QStringLiteral("IO mode")}},
        {PullColumn, "ioPullHeadLabel", {QStringLiteral("是否上拉"), QStringLiteral("Pull-up")}},
        {LevelColumn, "ioLevelHeadLabel", {QStringLiteral("结果"), QStringLiteral("Power Level")}},
    };
    for (const auto &head : heads) {
        auto *label = new QLabel(page);
        label->setObjectName(QLatin1String(head.name));
        captions_.addControl(label, head.caption);
        grid->addWidget(label, 0, head.column);
    }

    const QStringList modeItems = {QStringLiteral("Input"), QStringLiteral("Output"), QStringLiteral("None")};
    const QStringList pullCn = {QStringLiteral("上拉"), QStringLiteral("悬浮")};
    const QStringList pullEn = {QStringLiteral("Pull-up"), QStringLiteral("Suspend")};
    const QStringList levelCn = {QStringLiteral("低电平"), QStringLiteral("高电平")};
    const QStringList levelEn = {QStringLiteral("Low"), QStringLiteral("High")};

    for (int n = 1; n <= 8; ++n) {
        const PinRow &pinRow = kPinRows[n - 1];
        const Caption rowCaption{QString::fromUtf8(pinRow.cn), QString::fromUtf8(pinRow.en)};
        IoRow &row = ioRow(n);

        row.label = new QLabel(page);
        row.label->setObjectName(rowName("ioName", n, "Label"));
        captions_.addControl(row.label, rowCaption);
        row.pin = new QLabel(page);
        row.pin->setObjectName(rowName("ioPin", n, "Label"));
        const QString pin = QLatin1String(pinRow.pin);
        captions_.addControl(row.pin, {pin, pin});

        // The boxes share their column head; each gets a label of its own that shows nothing and
        // tells a screen reader its column and row ("IO模式 IO1"). It sits in the box's cell at no
        // size, so the page looks and lays out as before.
        auto makeBox = [&](const char *kind, const auto &head) {
            auto *name = new QLabel(page);
            name->setObjectName(rowName(kind, n, "NameLabel"));
            name->setFixedSize(0, 0);
            name->setHidden(!pinRow.shown);
            grid->addWidget(name, n, head.column);
            auto *box = new QComboBox(page);
            box->setObjectName(rowName(kind, n, "Box"));
            captions_.addUnseenLabel(name, box,
                                     {head.caption.cn + QLatin1Char(' ') + rowCaption.cn,
                                      head.caption.en + QLatin1Char(' ') + rowCaption.en});
            return box;
        };
        row.mode = makeBox("ioMode", heads[0]);
        row.mode->addItems(modeItems);
        row.mode->setCurrentIndex(1); // "Output"
        row.pull = makeBox("ioPull", heads[1]);
        row.pull->addItems(pullCn);
        captions_.addItems(row.pull, pullCn, pullEn);
        row.pull->setCurrentIndex(0); // "上拉"
        row.level = makeBox("ioLevel", heads[2]);
        row.level->addItems(levelCn);
        captions_.addItems(row.level, levelCn, levelEn);
        row.level->setCurrentIndex(1); // "高电平"

        row.setButton = new QPushButton(page);
        row.setButton->setObjectName(rowName("ioSet", n, "Button"));
        captions_.addRowButton(row.setButton, {QStringLiteral("设置"), QStringLiteral("Set")}, rowCaption);
        row.readButton = new QPushButton(page);
        row.readButton->setObjectName(rowName("ioRead", n, "Button"));
        captions_.addRowButton(row.readButton, {QStringLiteral("读取"), QStringLiteral("Read")}, rowCaption);
        connect(row.setButton, &QPushButton::clicked, this,
                [this, n] { sendIoCommand(n, QStringLiteral("W")); });
        connect(row.readButton, &QPushButton::clicked, this, [this, n] {
            clearIoLevel(n);
            sendIoCommand(n, QStringLiteral("R"));
        });

        const std::pair<QWidget *, Column> cells[] = {{row.label, LabelColumn},    {row.pin, PinColumn},
                                                      {row.mode, ModeColumn},      {row.pull, PullColumn},
                                                      {row.level, LevelColumn},    {row.setButton, SetColumn},
                                                      {row.readButton, ReadColumn}};
        for (const auto &[widget, column] : cells) {
            grid->addWidget(widget, n, column);
            widget->setHidden(!pinRow.shown);
        }
    }
    grid->setColumnStretch(ReadColumn + 1, 1);
}

void MainWindow::clearIoLevel(int row)
{
    if (rowInRange(row))
        ioRow(row).level->setCurrentIndex(-1);
}

QByteArray MainWindow::ioCommandOf(QComboBox *mode, QComboBox *pull, QComboBox *level, int row,
                                   const QString &op)
{
    const bool write = op == QLatin1String("W");
    const QByteArray command = ::BuildIoCommand(
        {mode->currentText(), pull->currentIndex(), level->currentIndex()}, row, write ? 'W' : 'R');
    if (!command.isEmpty() && !write)
        level->setCurrentIndex(-1); // the answer will show as a fresh value
    return command;
}

void MainWindow::sendIoCommand(int row, const QString &op)
{
    session_.cmdType = 12; // the next reply is read as an IO answer, whether or not anything is sent
    const bool write = op == QLatin1String("W");
    const QString number = QString::number(row);
    const QString en = (write ? QStringLiteral("Write IO") : QStringLiteral("Read IO")) + number;
    const QString cn = (write ? QStringLiteral("写IO") : QStringLiteral("读IO")) + number;
    session_.lastIoOperation = op;

    QByteArray command;
    if (rowInRange(row)) {
        IoRow &boxes = ioRow(row);
        command = ioCommandOf(boxes.mode, boxes.pull, boxes.level, row, op);
    }
    if (command.isEmpty()) {
        Boxes::warning(this, inLanguage(QStringLiteral("Please chose options first!"),
                                        QStringLiteral("你还没有选择相关的IO选项！")));
        return;
    }
    command += "\r\n";

    static const QString ellipsis = QStringLiteral("......");
    const SendResult result = sendOnLink(SendPayload::Command, command);
    if (!ShowsProgress(result))
        return; // no link, or a TCP error that stays in view
    static const QString linkSuffix[] = {QString(), QStringLiteral("(LAN)"), QStringLiteral("(WAN)")};
    const int link = session_.route.linkType;
    if (link == 0) // unlike the other pages, the Chinese serial text says "正在设置" for reads as well
        setStatusPanel(2, inLanguage(en + ellipsis, QStringLiteral("正在设置") + cn + ellipsis));
    else
        setStatusPanel(2, inLanguage(en, cn) + linkSuffix[link] + ellipsis);
}
