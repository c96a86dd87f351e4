#include "window/DataPage.h"

#include "protocol/Conversions.h"
#include "window/CommandDispatch.h"
#include "window/DiscoverySearch.h"
#include "window/HexText.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringEncoder>
#include <QVBoxLayout>

namespace {
const ShownText kSendCaption = captionText("DataPage", "Send");
const ShownText kClearCaption = captionText("DataPage", "Clear");
const ShownText kResultCaption = captionText("DataPage", "Search Result");

QPushButton *makeButton(QWidget *parent, const char *objectName)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(objectName));
    return button;
}

QString sendingText(int link)
{
    switch (link) {
    case 0:
        return QCoreApplication::translate("DataPage", "Sending data......");
    case 1:
        return QCoreApplication::translate("DataPage", "Sending data(LAN)......");
    default:
        return QCoreApplication::translate("DataPage", "Sending data(WAN)......");
    }
}

// Names the character by its code too: a stray non-breaking or zero-width space looks like nothing.
QString strayHexText(const QString &stray)
{
    const QString code =
        QStringLiteral("U+%1").arg(stray.toUcs4().value(0), 4, 16, QLatin1Char('0')).toUpper();
    return QCoreApplication::translate(
               "DataPage", "The HEX data holds \"%1\" (%2), which is not a hex digit! Use only 0-9, A-F "
                           "and blanks. Nothing was sent.")
        .arg(stray, code);
}
} // namespace

DataPage::DataPage(MainWindow *window, QWidget *parent) : QWidget(parent), window_(window)
{
    window->adoptCaptions(captions_);
    auto *column = new QVBoxLayout(this);

    auto *sendGroup = new QGroupBox(this);
    sendGroup->setObjectName(QStringLiteral("sendGroup"));
    captions_.addGroup(sendGroup, kSendCaption);
    auto *sendGrid = new QGridLayout(sendGroup);
    auto *typeLabel = new QLabel(sendGroup);
    typeLabel->setObjectName(QStringLiteral("typeLabel"));
    captions_.addControl(typeLabel, captionText("DataPage", "Type"));
    auto *asciiRadio = new QRadioButton(sendGroup);
    asciiRadio->setObjectName(QStringLiteral("asciiRadio"));
    captions_.addControl(asciiRadio, captionText("DataPage", "ASCII"));
    hexRadio_ = new QRadioButton(sendGroup);
    hexRadio_->setObjectName(QStringLiteral("hexRadio"));
    captions_.addControl(hexRadio_, captionText("DataPage", "HEX"));
    auto *typeChoice = new QButtonGroup(sendGroup);
    typeChoice->addButton(asciiRadio);
    typeChoice->addButton(hexRadio_);
    asciiRadio->setChecked(true);
    dataEdit_ = new QPlainTextEdit(sendGroup);
    dataEdit_->setObjectName(QStringLiteral("dataEdit"));
    dataEdit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    captions_.addNamed(dataEdit_, kSendCaption);
    QPushButton *sendButton = makeButton(sendGroup, "dataSendButton");
    captions_.addControl(sendButton, kSendCaption);
    QPushButton *clearButton = makeButton(sendGroup, "dataClearButton");
    captions_.addRowButton(clearButton, kClearCaption, kSendCaption);
    sendGrid->addWidget(typeLabel, 0, 0);
    sendGrid->addWidget(asciiRadio, 0, 1);
    sendGrid->addWidget(hexRadio_, 0, 2);
    sendGrid->setColumnStretch(3, 1);
    sendGrid->addWidget(dataEdit_, 1, 0, 1, 4);
    auto *sendButtons = new QHBoxLayout;
    sendButtons->addStretch(1);
    sendButtons->addWidget(sendButton);
    sendButtons->addWidget(clearButton);
    sendGrid->addLayout(sendButtons, 2, 0, 1, 4);
    column->addWidget(sendGroup, 1);

    auto *resultGroup = new QGroupBox(this);
    resultGroup->setObjectName(QStringLiteral("searchResultGroup"));
    captions_.addGroup(resultGroup, kResultCaption);
    auto *resultColumn = new QVBoxLayout(resultGroup);
    auto *searchRow = new QHBoxLayout;
    QPushButton *searchButton = makeButton(resultGroup, "searchButton");
    QPushButton *search2Button = makeButton(resultGroup, "search2Button");
    QPushButton *searchClearButton = makeButton(resultGroup, "searchClearButton");
    captions_.addRowButton(searchClearButton, kClearCaption, kResultCaption);
    searchRow->addWidget(searchButton);
    searchRow->addWidget(search2Button);
    searchRow->addStretch(1);
    searchRow->addWidget(searchClearButton);
    resultColumn->addLayout(searchRow);
    searchResultEdit_ = new QPlainTextEdit(resultGroup);
    searchResultEdit_->setObjectName(QStringLiteral("searchResultEdit"));
    searchResultEdit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    captions_.addNamed(searchResultEdit_, kResultCaption);
    resultColumn->addWidget(searchResultEdit_, 1);
    column->addWidget(resultGroup, 1);

    connect(sendButton, &QPushButton::clicked, this, &DataPage::sendData);
    connect(clearButton, &QPushButton::clicked, dataEdit_, &QPlainTextEdit::clear);
    connect(searchClearButton, &QPushButton::clicked, searchResultEdit_, &QPlainTextEdit::clear);

    // Requests are sent as they are: no line end, no terminator. "搜索2" is not translated.
    const struct {
        QPushButton *button;
        ShownText caption;
        QByteArray text;
    } requests[] = {{searchButton, captionText("DataPage", "Search"), "REQUEST_DEVICE_DISCOVERY"},
                    {search2Button, ShownText::fixed(QStringLiteral("搜索2")), "REQUEST_DEVICE_SEARCH"}};
    DiscoverySearch *discovery = &window->discovery();
    for (const auto &request : requests) {
        captions_.addControl(request.button, request.caption);
        connect(request.button, &QPushButton::clicked, discovery,
                [discovery, text = request.text] { discovery->sendRequest(text); });
    }
}

void DataPage::listAnswer(const QString &line)
{
    searchResultEdit_->appendPlainText(line);
}

void DataPage::sendData()
{
    QString text = dataEdit_->toPlainText();
    QByteArray data;
    if (hexRadio_->isChecked()) {
        // Line breaks and tabs separate digits like blanks; a digit is never paired across them
        // with a 0, and a character that is no digit is refused rather than sent as 0.
        const HexDigits hex = HexDigitsOf(text);
        if (!hex.stray.isEmpty()) {
            Boxes::warning(window_, strayHexText(hex.stray));
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
    if (ShowsProgress(window_->dispatch().sendOnLink(SendPayload::Data, data)))
        window_->setStatusPanel(2, sendingText(window_->session().route.linkType));
}
