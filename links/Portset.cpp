#include "links/Portset.h"

#include "links/OpenAdvice.h"
#include "links/PComm.h"
#include "links/PortMap.h"
#include "links/commfunction.h"
#include "shell/MessageBoxes.h"
#include "shell/SharedState.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
QComboBox *makeList(QWidget *parent, const char *name, const QStringList &items)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(items);
    return box;
}

int baudCodeOf(const QString &text)
{
    static const QHash<QString, int> codes = {{QStringLiteral("300"), 5},    {QStringLiteral("600"), 6},
                                              {QStringLiteral("1200"), 7},   {QStringLiteral("2400"), 9},
                                              {QStringLiteral("4800"), 10},  {QStringLiteral("9600"), 12},
                                              {QStringLiteral("19200"), 13}, {QStringLiteral("38400"), 14},
                                              {QStringLiteral("57600"), 15}, {QStringLiteral("115200"), 16}};
    return codes.value(text, -1);
}
} // namespace

TfrmPortSet::TfrmPortSet(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmPortSet"));
    setModal(true);
    QStringList ports;
    for (int n = 1; n <= kComPortCount; ++n)
        ports << QStringLiteral("COM%1").arg(n);
    portBox = makeList(this, "portBox", ports);
    baudBox = makeList(this, "baudBox",
                       {QStringLiteral("300"), QStringLiteral("600"), QStringLiteral("1200"),
                        QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600"),
                        QStringLiteral("19200"), QStringLiteral("38400"), QStringLiteral("57600"),
                        QStringLiteral("115200")});
    parityBox = makeList(this, "parityBox",
                         {QStringLiteral("NONE"), QStringLiteral("ODD"), QStringLiteral("EVEN"),
                          QStringLiteral("Mark"), QStringLiteral("Space")});
    dataBitsBox = makeList(this, "dataBitsBox",
                           {QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"),
                            QStringLiteral("8"), QStringLiteral("9")});
    startBitsBox = makeList(this, "startBitsBox", {QStringLiteral("1"), QStringLiteral("2")});
    startBitsBox->setEnabled(false);
    stopBitsBox =
        makeList(this, "stopBitsBox", {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")});
    deviceBox = new QComboBox(this);
    deviceBox->setObjectName(QStringLiteral("deviceBox"));
    deviceBox->setEditable(true);
    deviceBox->setInsertPolicy(QComboBox::NoInsert);
    deviceBox->setMinimumWidth(160);

    auto *form = new QFormLayout;
    auto addRow = [&](QWidget *field, const char *cn, const char *en) {
        auto *label = new QLabel(this);
        label->setBuddy(field);
        rows_.append({label, cn, en});
        form->addRow(label, field);
    };
    addRow(portBox, "串口", "COM");
    addRow(deviceBox, "设备", "Device");
    addRow(baudBox, "波特率", "Baud rate");
    addRow(parityBox, "校验", "Verify");
    addRow(dataBitsBox, "数据位", "Data bits");
    addRow(startBitsBox, "起始位", "Begin bits");
    addRow(stopBitsBox, "停止位", "Stop bits");

    openButton = new QPushButton(this);
    openButton->setObjectName(QStringLiteral("openButton"));
    closeButton = new QPushButton(this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    exitButton = new QPushButton(this);
    exitButton->setObjectName(QStringLiteral("exitButton"));
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(openButton);
    buttons->addWidget(closeButton);
    buttons->addWidget(exitButton);
    buttons->addStretch();
    auto *outer = new QHBoxLayout(this);
    outer->addLayout(form);
    outer->addLayout(buttons);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(openButton, &QPushButton::clicked, this, &TfrmPortSet::Open);
    connect(closeButton, &QPushButton::clicked, this, &TfrmPortSet::Close);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(portBox, &QComboBox::currentIndexChanged, this, &TfrmPortSet::portChosen);
    connect(deviceBox, &QComboBox::currentTextChanged, this, &TfrmPortSet::deviceChosen);

    // Creation: select the saved port and rate; NONE parity, 8 data bits.
    portBox->setCurrentIndex(qBound(0, ComPort - 1, kComPortCount - 1));
    if (BaudIndex < 0 || BaudIndex > 9)
        BaudIndex = 9;
    baudBox->setCurrentIndex(BaudIndex);
    parityBox->setCurrentIndex(0);
    dataBitsBox->setCurrentIndex(3);
    portChosen(portBox->currentIndex());
    applyLanguage();
}

void TfrmPortSet::openAtStartIfSerial()
{
    if (LinkType == 0)
        Open();
}

void TfrmPortSet::showEvent(QShowEvent *event)
{
    applyLanguage();
    // Offer the serial devices present now, keeping the mapped path of the selected COM number.
    const QSignalBlocker blocker(deviceBox);
    const QString current = ComDevicePath(portBox->currentIndex() + 1);
    deviceBox->clear();
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        deviceBox->addItem(info.systemLocation());
    deviceBox->setEditText(current);
    QDialog::showEvent(event);
}

void TfrmPortSet::applyLanguage()
{
    const bool english = Language == QLatin1String("EN"); // this dialog tests for "EN"
    QFont font = parentWidget() ? parentWidget()->font() : QDialog::font();
    if (english)
        font.setFamily(QStringLiteral("Arial"));
    setFont(font);
    setWindowTitle(english ? QStringLiteral("COM port setting") : QStringLiteral("串口设置"));
    for (const Row &row : std::as_const(rows_)) {
        const QString text = english ? QLatin1String(row.en) : QString::fromUtf8(row.cn);
        row.label->setText(text);
        row.label->buddy()->setAccessibleName(text);
    }
    const auto caption = [english](QPushButton *b, const char *cn, const char *en) {
        b->setText(english ? QLatin1String(en) : QString::fromUtf8(cn));
        b->setAccessibleName(b->text());
    };
    caption(openButton, "打开", "Open");
    caption(closeButton, "关闭", "Close");
    caption(exitButton, "取消", "Exit");
}

void TfrmPortSet::portChosen(int index)
{
    const bool open = index >= 0 && PortOpen[index];
    openButton->setEnabled(!open);
    closeButton->setEnabled(open);
    const QSignalBlocker blocker(deviceBox);
    deviceBox->setEditText(ComDevicePath(index + 1));
}

void TfrmPortSet::deviceChosen(const QString &path)
{
    SetComDevicePath(portBox->currentIndex() + 1, path.trimmed());
}

void TfrmPortSet::Open()
{
    const bool english = Language == QLatin1String("EN");
    // What a failed open must give back while the port in use stays open: sends, the receive poll
    // and the saved COM number go on with that port, in the format it was opened with.
    const struct {
        int port, baud, parity, dataBits, stopBits;
    } before{ComPort, BaudCode, ParityCode, DataBitsCode, StopBitsCode};
    ComPort = portBox->currentIndex() + 1;
    QString status = portBox->currentText() + QLatin1Char(',');
    const int baud = baudCodeOf(baudBox->currentText());
    if (baud < 0) {
        Boxes::warning(this, english ? QStringLiteral("The baud rate out of range！")
                                     : QStringLiteral("波特率的选项超过可选范围！"));
        return;
    }
    BaudCode = baud;
    status += baudBox->currentText() + QLatin1Char(',');

    const QString parity = parityBox->currentText();
    switch (parity.isEmpty() ? char16_t(0) : parity.front().unicode()) {
    case u'E':
        ParityCode = 24;
        break;
    case u'O':
        ParityCode = 8;
        break;
    case u'N':
        ParityCode = 0;
        break;
    case u'S':
        ParityCode = 56;
        break;
    case u'M':
        ParityCode = 40;
        break;
    default:
        break; // keeps the previous code
    }
    status += parity + QLatin1Char(',');

    const QString dataBits = dataBitsBox->currentText();
    DataBitsCode = dataBits == QLatin1String("7")   ? 2
                   : dataBits == QLatin1String("6") ? 1
                   : dataBits == QLatin1String("5") ? 0
                                                    : 3; // "9" runs as 8 bits
    status += dataBits + QLatin1Char(',');

    const QString stopBits = stopBitsBox->currentText();
    if (stopBits == QLatin1String("1"))
        StopBitsCode = 0;
    else if (stopBits == QLatin1String("2"))
        StopBitsCode = 4; // "1.5" keeps the previous code
    status += stopBits;

    ComOpened = TCommFun().ComOpen(ComPort);
    if (!ComOpened) {
        const QString failure = english ? QStringLiteral("Open COM%1 Fail！").arg(ComPort)
                                        : QStringLiteral("打开COM%1失败！").arg(ComPort);
        const QString advice = OpenFailureAdvice(LastOpenFailure(), english);
        Boxes::warning(this, advice.isEmpty() ? failure : failure + QLatin1Char('\n') + advice);
        Q_EMIT portStatusChanged(failure);
        if (before.port >= 1 && before.port <= kComPortCount && PortOpen[before.port - 1]) {
            ComPort = before.port;
            BaudCode = before.baud;
            ParityCode = before.parity;
            DataBitsCode = before.dataBits;
            StopBitsCode = before.stopBits;
        }
        return;
    }
    TCommFun().ComSetFormat(ComPort, BaudCode, DataBitsCode, StopBitsCode, ParityCode);
    openButton->setEnabled(false);
    closeButton->setEnabled(true);
    accept();
    for (int n = 1; n <= kComPortCount; ++n) {
        if (n != ComPort && PortOpen[n - 1] && TCommFun().ComClose(n))
            PortOpen[n - 1] = false;
    }
    PortOpen[ComPort - 1] = true;
    Q_EMIT portStatusChanged(status);
    BaudIndex = baudBox->currentIndex();
}

void TfrmPortSet::Close()
{
    // Closes the port selected here, so that an open port can always be closed, also after a
    // failed open of another port moved ComPort away from it.
    const int selected = portBox->currentIndex();
    const int port = selected + 1;
    if (TCommFun().ComClose(port)) {
        openButton->setEnabled(true);
        closeButton->setEnabled(false);
        PortOpen[selected] = false;
        Q_EMIT portStatusChanged(portBox->currentText() + QStringLiteral(" Closed"));
        return;
    }
    const bool english = Language == QLatin1String("EN");
    Boxes::warning(this, english ? QStringLiteral("Close COM%1Fail!").arg(port)
                                 : QStringLiteral("关闭串口%1失败！").arg(port));
    Q_EMIT portStatusChanged(english ? QStringLiteral("Close COM%1Fail!").arg(port)
                                     : QStringLiteral("关闭COM%1失败！").arg(port));
}
