#include "protocol/Conversions.h"
#include "window/HexText.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringEncoder>
#include <QVBoxLayout>

// The data send page: raw data typed as text or hex goes out unchanged on the chosen link, and the
// broadcast device search lists whoever answers.

namespace {
const Caption kSendCaption{QStringLiteral("发送"), QStringLiteral("Send")};
const Caption kClearCaption{QStringLiteral("清除"), QStringLiteral("Clear")};
const Caption kResultCaption{QStringLiteral("搜索结果"), QStringLiteral("Search Result")};

QPushButton *makeButton(QWidget *parent, const char *objectName)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(objectName));
    return button;
}

QString sendingText(int link, bool chinese)
{
    switch (link) {
    case 0:
        return InLanguage(chinese, QStringLiteral("Sending data......"),
                          QStringLiteral("正在发送数据......"));
    case 1:
        return InLanguage(chinese, QStringLiteral("Sending data(LAN)......"),
                          QStringLiteral("正在通过局域网设置发送数据......"));
    default:
        return InLanguage(chinese, QStringLiteral("Sending data(WAN)......"),
                          QStringLiteral("正在通过互联网设置发送数据......"));
    }
}

// Names the character by its code too: a stray non-breaking or zero-width space looks like nothing.
QString strayHexText(const QString &stray, bool chinese)
{
    const QString code =
        QStringLiteral("U+%1").arg(stray.toUcs4().value(0), 4, 16, QLatin1Char('0')).toUpper();
    return InLanguage(
        chinese,
        QStringLiteral("The HEX data holds \"%1\" (%2), which is not a hex digit! Use only 0-9, A-F "
                       "and blanks. Nothing was sent.")
            .arg(stray, code),
        QStringLiteral("HEX数据中的“%1”(%2)不是十六进制数字！只能使用0-9、A-F和空格。数据没有发送。")
            .arg(stray, code));
}
} // namespace

void MainWindow::buildDataPage(QWidget *page)
{
    auto *column = new QVBoxLayout(page);

    auto *sendGroup = new QGroupBox(page);
    sendGroup->setObjectName(QStringLiteral("sendGroup"));
    captions_.addGroup(sendGroup, kSendCaption);
    auto *sendGrid = new QGridLayout(sendGroup);
    auto *typeLabel = new QLabel(sendGroup);
    typeLabel->setObjectName(QStringLiteral("typeLabel"));
    captions_.addControl(typeLabel, {QStringLiteral("类型："), QStringLiteral("Type")});
    asciiRadio = new QRadioButton(sendGroup);
    asciiRadio->setObjectName(QStringLiteral("asciiRadio"));
    captions_.addControl(asciiRadio, {QStringLiteral("ASCII"), QStringLiteral("ASCII")});
    hexRadio = new QRadioButton(sendGroup);
    hexRadio->setObjectName(QStringLiteral("hexRadio"));
    captions_.addControl(hexRadio, {QStringLiteral("HEX"), QStringLiteral("HEX")});
    auto *typeChoice = new QButtonGroup(sendGroup);
    typeChoice->addButton(asciiRadio);
    typeChoice->addButton(hexRadio);
    asciiRadio->setChecked(true);
    dataEdit = new QPlainTextEdit(sendGroup);
    dataEdit->setObjectName(QStringLiteral("dataEdit"));
    dataEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    captions_.addNamed(dataEdit, kSendCaption);
    dataSendButton = makeButton(sendGroup, "dataSendButton");
    captions_.addControl(dataSendButton, kSendCaption);
    dataClearButton = makeButton(sendGroup, "dataClearButton");
    captions_.addRowButton(dataClearButton, kClearCaption, kSendCaption);
    sendGrid->addWidget(typeLabel, 0, 0);
    sendGrid->addWidget(asciiRadio, 0, 1);
    sendGrid->addWidget(hexRadio, 0, 2);
    sendGrid->setColumnStretch(3, 1);
    sendGrid->addWidget(dataEdit, 1, 0, 1, 4);
    auto *sendButtons = new QHBoxLayout;
    sendButtons->addStretch(1);
    sendButtons->addWidget(dataSendButton);
    sendButtons->addWidget(dataClearButton);
    sendGrid->addLayout(sendButtons, 2, 0, 1, 4);
    column->addWidget(sendGroup, 1);

    auto *resultGroup = new QGroupBox(page);
    resultGroup->setObjectName(QStringLiteral("searchResultGroup"));
    captions_.addGroup(resultGroup, kResultCaption);
    auto *resultColumn = new QVBoxLayout(resultGroup);
    auto *searchRow = new QHBoxLayout;
    searchButton = makeButton(resultGroup, "searchButton");
    search2Button = makeButton(resultGroup, "search2Button");
    searchClearButton = makeButton(resultGroup, "searchClearButton");
    captions_.addRowButton(searchClearButton, kClearCaption, kResultCaption);
    searchRow->addWidget(searchButton);
    searchRow->addWidget(search2Button);
    searchRow->addStretch(1);
    searchRow->addWidget(searchClearButton);
    resultColumn->addLayout(searchRow);
    searchResultEdit = new QPlainTextEdit(resultGroup);
    searchResultEdit->setObjectName(QStringLiteral("searchResultEdit"));
    searchResultEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    captions_.addNamed(searchResultEdit, kResultCaption);
    resultColumn->addWidget(searchResultEdit, 1);
    column->addWidget(resultGroup, 1);

    connect(dataSendButton, &QPushButton::clicked, this, &MainWindow::sendDataBox);
    connect(dataClearButton, &QPushButton::clicked, dataEdit, &QPlainTextEdit::clear);
    connect(searchClearButton, &QPushButton::clicked, searchResultEdit, &QPlainTextEdit::clear);

    // Requests are sent as they are: no line end, no terminator. "搜索2" is not translated.
    const struct {
        QPushButton *button;
        Caption caption;
        QByteArray text;
    } requests[] = {
        {searchButton, {QStringLiteral("搜索"), QStringLiteral("Search")}, "REQUEST_DEVICE_DISCOVERY"},
        {search2Button, {QStringLiteral("搜索2"), QStringLiteral("搜索2")}, "REQUEST_DEVICE_SEARCH"}};
    for (const auto &request : requests) {
        captions_.addControl(request.button, request.caption);
        connect(request.button, &QPushButton::clicked, this,
                [this, text = request.text] { sendUdp(text, discoveryTarget.host, discoveryTarget.port); });
    }
}

void MainWindow::sendDataBox()
{
    QString text = dataEdit->toPlainText();
    QByteArray data;
    if (hexRadio->isChecked()) {
        // Line breaks and tabs separate digits like blanks; a digit is never paired across them
        // with a 0, and a character that is no digit is refused rather than sent as 0.
        const HexDigits hex = HexDigitsOf(text);
        if (!hex.stray.isEmpty()) {
            Boxes::warning(this, strayHexText(hex.stray, chinese()));
            return;
        }
        data = Conversions::HexToBytes(hex.digits);
    } else {
        // The editor separates lines with LF; on the wire they are joined by CR LF, none added at the end.
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        QStringEncoder gbk("GBK");
        data = gbk(text);
    }

    // Raw data: no LAN command prefix, and on the Internet the relay frame carries it without a module frame.
    if (ShowsProgress(sendOnLink(SendPayload::Data, data)))
        setStatusPanel(2, sendingText(session_.route.linkType, chinese()));
}
