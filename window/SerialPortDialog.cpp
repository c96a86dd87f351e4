#include "window/SerialPortDialog.h"

#include "links/ComPorts.h"
#include "links/OpenAdvice.h"
#include "links/PortMap.h"
#include "translations/Translations.h"
#include "window/MessageBoxes.h"
#include "window/WindowFont.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <iterator>

namespace {
QComboBox *makeList(QWidget *parent, const char *name, const QStringList &items)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(items);
    return box;
}

// The rates the dialog offers, in the order of its list (Config.ini keeps the position), with the
// codes the session reports for them.
struct BaudRate {
    const char *text;
    int code;
};
constexpr BaudRate kBaudRates[] = {{"300", 5},   {"600", 6},    {"1200", 7},   {"2400", 9},   {"4800", 10},
                                   {"9600", 12}, {"19200", 13}, {"38400", 14}, {"57600", 15}, {"115200", 16}};
constexpr int kBaudRateCount = int(std::size(kBaudRates));

int baudCodeOf(const QString &text)
{
    for (const BaudRate &rate : kBaudRates)
        if (text == QLatin1String(rate.text))
            return rate.code;
    return -1;
}

// The serial access messages stay English whatever the language setting.
void serialWarning(const QWidget *owner, const char *text)
{
    Boxes::warningUnparented(owner, QString::fromLatin1(text));
}
} // namespace

SerialPortDialog::SerialPortDialog(ComPorts *serialPorts, PortMap *ports, int comPort, int baudIndex,
                                   bool english, QWidget *parent)
    : QDialog(parent), serialPorts_(serialPorts), ports_(ports), english_(english), comPort_(comPort),
      baudIndex_(baudIndex)
{
    setObjectName(QStringLiteral("SerialPortDialog"));
    setModal(true);
    if (baudIndex_ < 0 || baudIndex_ >= kBaudRateCount)
        baudIndex_ = kBaudRateCount - 1;
}

void SerialPortDialog::setVisible(bool visible)
{
    if (visible)
        makeControls();
    QDialog::setVisible(visible);
}

void SerialPortDialog::makeControls()
{
    if (portBox != nullptr)
        return;
    const Choice start = choice(); // before the lists exist
    QStringList portNames;
    for (int n = 1; n <= kComPortCount; ++n)
        portNames << QStringLiteral("COM%1").arg(n);
    portBox = makeList(this, "portBox", portNames);
    QStringList rates;
    for (const BaudRate &rate : kBaudRates)
        rates << QLatin1String(rate.text);
    baudBox = makeList(this, "baudBox", rates);
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
    auto addRow = [&](QWidget *field, const char *caption) {
        auto *label = new QLabel(this);
        label->setBuddy(field);
        rows_.append({label, caption});
        form->addRow(label, field);
    };
    addRow(portBox, QT_TRANSLATE_NOOP("SerialPortDialog", "COM"));
    addRow(deviceBox, QT_TRANSLATE_NOOP("SerialPortDialog", "Device"));
    addRow(baudBox, QT_TRANSLATE_NOOP("SerialPortDialog", "Baud rate"));
    addRow(parityBox, QT_TRANSLATE_NOOP("SerialPortDialog", "Verify"));
    addRow(dataBitsBox, QT_TRANSLATE_NOOP("SerialPortDialog", "Data bits"));
    addRow(startBitsBox, QT_TRANSLATE_NOOP("SerialPortDialog", "Begin bits"));
    addRow(stopBitsBox, QT_TRANSLATE_NOOP("SerialPortDialog", "Stop bits"));

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

    connect(openButton, &QPushButton::clicked, this, &SerialPortDialog::openPort);
    connect(closeButton, &QPushButton::clicked, this, &SerialPortDialog::closePort);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(portBox, &QComboBox::currentIndexChanged, this, &SerialPortDialog::portChosen);
    connect(deviceBox, &QComboBox::currentTextChanged, this, &SerialPortDialog::deviceChosen);

    // Creation: select the saved port and rate; NONE parity, 8 data bits.
    portBox->setCurrentIndex(start.portIndex);
    baudBox->setCurrentIndex(start.baudIndex);
    parityBox->setCurrentIndex(0);
    dataBitsBox->setCurrentIndex(3);
    portChosen(portBox->currentIndex());
    applyLanguage();
}

SerialPortDialog::Choice SerialPortDialog::choice() const
{
    if (portBox != nullptr)
        return {portBox->currentIndex(),  baudBox->currentIndex(),    baudBox->currentText(),
                parityBox->currentText(), dataBitsBox->currentText(), stopBitsBox->currentText()};
    return {qBound(0, comPort_ - 1, kComPortCount - 1),
            baudIndex_,
            QLatin1String(kBaudRates[baudIndex_].text),
            QStringLiteral("NONE"),
            QStringLiteral("8"),
            QStringLiteral("1")};
}

void SerialPortDialog::showEvent(QShowEvent *event)
{
    applyLanguage();
    // Offer the serial devices present now, keeping the mapped path of the selected COM number.
    const QSignalBlocker blocker(deviceBox);
    const QString current = ports_->devicePath(portBox->currentIndex() + 1);
    deviceBox->clear();
    deviceBox->addItems(SerialLink::availableDevices());
    deviceBox->setEditText(current);
    QDialog::showEvent(event);
}

void SerialPortDialog::applyLanguage()
{
    const bool english = english_;
    // The face follows the dialog's own captions, which may be Chinese under an English window.
    setFont(windowFont(!english));
    setWindowTitle(Translations::titleText("SerialPortDialog", "COM port setting"));
    for (const Row &row : std::as_const(rows_)) {
        const QString text = Translations::titleText("SerialPortDialog", row.caption);
        row.label->setText(text);
        row.label->buddy()->setAccessibleName(text);
    }
    const auto caption = [](QPushButton *b, const char *text) {
        b->setText(Translations::titleText("SerialPortDialog", text));
        b->setAccessibleName(b->text());
    };
    caption(openButton, QT_TRANSLATE_NOOP("SerialPortDialog", "Open"));
    caption(closeButton, QT_TRANSLATE_NOOP("SerialPortDialog", "Close"));
    caption(exitButton, QT_TRANSLATE_NOOP("SerialPortDialog", "Exit"));
}

void SerialPortDialog::portChosen(int index)
{
    const bool open = portOpen(index + 1);
    openButton->setEnabled(!open);
    closeButton->setEnabled(open);
    const QSignalBlocker blocker(deviceBox);
    deviceBox->setEditText(ports_->devicePath(index + 1));
}

void SerialPortDialog::deviceChosen(const QString &path)
{
    ports_->setDevicePath(portBox->currentIndex() + 1, path.trimmed());
}

void SerialPortDialog::openPort()
{
    const bool english = english_;
    // What a failed open must give back while the port in use stays open: sends, the receive poll
    // and the saved COM number go on with that port, in the format it was opened with.
    const int portBefore = comPort_;
    const FormatCodes codesBefore = codes_;
    const Choice chosen = choice();
    comPort_ = chosen.portIndex + 1;
    QString status = QStringLiteral("COM%1,").arg(comPort_);
    const int baud = baudCodeOf(chosen.baud);
    if (baud < 0) {
        Boxes::warning(this, Translations::titleText("SerialPortDialog", "The baud rate out of range！"));
        return;
    }
    codes_.baud = baud;
    status += chosen.baud + QLatin1Char(',');

    const QString &parity = chosen.parity;
    switch (parity.isEmpty() ? char16_t(0) : parity.front().unicode()) {
    case u'E':
        codes_.parity = 24;
        break;
    case u'O':
        codes_.parity = 8;
        break;
    case u'N':
        codes_.parity = 0;
        break;
    case u'S':
        codes_.parity = 56;
        break;
    case u'M':
        codes_.parity = 40;
        break;
    default:
        break; // keeps the previous code
    }
    status += parity + QLatin1Char(',');

    const QString &dataBits = chosen.dataBits;
    codes_.dataBits = dataBits == QLatin1String("7")   ? 2
                      : dataBits == QLatin1String("6") ? 1
                      : dataBits == QLatin1String("5") ? 0
                                                       : 3; // "9" runs as 8 bits
    status += dataBits + QLatin1Char(',');

    const QString &stopBits = chosen.stopBits;
    if (stopBits == QLatin1String("1"))
        codes_.stopBits = 0;
    else if (stopBits == QLatin1String("2"))
        codes_.stopBits = 4; // "1.5" keeps the previous code
    status += stopBits;

    const QString device = ports_->devicePath(comPort_);
    const SerialLink::Refusal why = serialPorts_->open(comPort_, device);
    if (why != SerialLink::Refusal::None) {
        serialWarning(this, why == SerialLink::Refusal::DeviceError
                                ? "Open the COM port fail,hardware error!"
                                : "Open the COM port fail or the COM port be used or not exist!");
        const QString failure =
            Translations::titleText("SerialPortDialog", "Open COM%1 Fail！").arg(comPort_);
        const QString advice = OpenFailureAdvice(why, device, english);
        Boxes::warning(this, advice.isEmpty() ? failure : failure + QLatin1Char('\n') + advice);
        Q_EMIT portStatusChanged(failure);
        if (portOpen(portBefore)) {
            comPort_ = portBefore;
            codes_ = codesBefore;
        }
        return;
    }
    // The dialog offers only codes that decode.
    if (const std::optional<SerialSettings> format =
            DecodeSerialFormat(codes_.baud, codes_.dataBits | codes_.stopBits | codes_.parity)) {
        switch (serialPorts_->configure(comPort_, *format)) {
        case ComPorts::Result::NotOpen:
            serialWarning(this, "The COM Port not be opened!");
            break;
        case ComPorts::Result::Failed:
            serialWarning(this, "Call Win32 function Fail!");
            break;
        case ComPorts::Result::Ok:
            break;
        }
    }
    if (openButton != nullptr) {
        openButton->setEnabled(false);
        closeButton->setEnabled(true);
    }
    accept();
    for (int n = 1; n <= kComPortCount; ++n) {
        if (n != comPort_ && portOpen_[size_t(n - 1)] && closeOnePort(n))
            portOpen_[size_t(n - 1)] = false;
    }
    portOpen_[size_t(comPort_ - 1)] = true;
    Q_EMIT portStatusChanged(status);
    baudIndex_ = chosen.baudIndex;
}

void SerialPortDialog::closePort()
{
    // Closes the port selected here, so that an open port can always be closed, also after a
    // failed open of another port moved the port in use away from it.
    const int selected = choice().portIndex;
    const int port = selected + 1;
    if (closeOnePort(port)) {
        if (openButton != nullptr) {
            openButton->setEnabled(true);
            closeButton->setEnabled(false);
        }
        portOpen_[size_t(selected)] = false;
        Q_EMIT portStatusChanged(QStringLiteral("COM%1 Closed").arg(port));
        return;
    }
    // The box and the status bar word the failure differently in Chinese.
    Boxes::warning(this,
                   Translations::titleText("SerialPortDialog", "Close COM%1Fail!", "message box").arg(port));
    Q_EMIT portStatusChanged(
        Translations::titleText("SerialPortDialog", "Close COM%1Fail!", "status bar").arg(port));
}

bool SerialPortDialog::closeOnePort(int port)
{
    if (serialPorts_->close(port) == ComPorts::Result::Ok)
        return true;
    serialWarning(this, "Close the COM port Fail or The COM Port Not exist!");
    return false;
}
