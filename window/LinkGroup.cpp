#include "window/LinkGroup.h"

#include "window/KeyFilter.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"
#include "window/TcpLink.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <optional>

namespace {
// The port fields take digits only, but pasted text is not filtered: accept only 1..65535.
std::optional<int> portNumber(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 1 || value > 65535)
        return std::nullopt;
    return value;
}

QString invalidPortText()
{
    return QCoreApplication::translate("LinkGroup", "Port must be a number from 1 to 65535!");
}

// Runs a check when the focus moves from the field to another control of the window. Switching
// windows or opening a menu is not leaving the field; the warning box of a check is not either.
class LeaveCheck final : public QObject {
public:
    LeaveCheck(QLineEdit *field, bool &running, std::function<void()> check)
        : QObject(field), check_(std::move(check)), running_(running)
    {
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusOut && !running_) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                reason != Qt::MenuBarFocusReason) {
                // Shared by all fields: while one field pulls the focus back, another field's check
                // must not fire, or two empty port fields would hand the focus back and forth.
                running_ = true;
                check_();
                running_ = false;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> check_;
    bool &running_; // shared by the fields of one window
};

QPushButton *makeButton(QWidget *parent, const QString &objectName)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(objectName);
    return button;
}
} // namespace

LinkGroup::LinkGroup(MainWindow *window, CaptionBook &captions, QWidget *parent)
    : QGroupBox(parent), window_(window)
{
    setObjectName(QStringLiteral("linkGroup"));
    captions.addGroup(this, captionText("LinkGroup", "Link Type"));
    auto *grid = new QGridLayout(this);
    const char *radioNames[] = {"serialLinkRadio", "lanLinkRadio", "wanLinkRadio"};
    const ShownText radioCaptions[] = {captionText("LinkGroup", "COM"), captionText("LinkGroup", "LAN:"),
                                       captionText("LinkGroup", "Internet:")};
    for (int i = 0; i < 3; ++i) {
        radios_[i] = new QRadioButton(this);
        radios_[i]->setObjectName(QLatin1String(radioNames[i]));
        captions.addControl(radios_[i], radioCaptions[i]);
    }
    radios_[0]->setChecked(true);
    grid->addWidget(radios_[0], 0, 0);

    const char *prefixes[] = {"", "lan", "wan"};
    for (int row = 1; row <= 2; ++row) {
        const QString prefix = QLatin1String(prefixes[row]);
        const ShownText &rowName = radioCaptions[row];
        QLineEdit *ip = ipEdits_[row] = new QLineEdit(this);
        ip->setObjectName(prefix + QLatin1String("IpEdit"));
        QLineEdit *port = portEdits_[row] = new QLineEdit(this);
        port->setObjectName(prefix + QLatin1String("PortEdit"));
        port->setMaximumWidth(60);
        QPushButton *connectButton = connectButtons_[row] =
            makeButton(this, prefix + QLatin1String("ConnectButton"));
        auto *ipLabel = new QLabel(this);
        auto *portLabel = new QLabel(this);
        captions.addField(ipLabel, ip, captionText("LinkGroup", "IP"));
        captions.addField(portLabel, port, captionText("LinkGroup", "Port"));
        // Two rows share "IP" and "Port": name the fields by their row for screen readers, in
        // both languages (registered after the labels, so the row name wins).
        captions.addNamed(ip, ShownText::fixed(QStringLiteral("IP ")) + rowName);
        captions.addNamed(port, ShownText::fixed(QStringLiteral("Port ")) + rowName);
        captions.addRowButton(connectButton, captionText("LinkGroup", "Connect"), rowName);
        grid->addWidget(radios_[row], row, 0);
        grid->addWidget(ipLabel, row, 1);
        grid->addWidget(ip, row, 2);
        grid->addWidget(portLabel, row, 3);
        grid->addWidget(port, row, 4);
        grid->addWidget(connectButton, row, 5);
        connect(connectButton, &QPushButton::clicked, this, [this, row] { connectRow(row); });
        KeyFilter::install(ip, KeyFilterKind::Address);
        KeyFilter::install(port, KeyFilterKind::Digits);
        for (QWidget *w : std::initializer_list<QWidget *>{ip, port, connectButton})
            w->setEnabled(false);
    }
    targetIdButton_ = makeButton(this, QStringLiteral("targetIdButton"));
    captions.addControl(targetIdButton_, captionText("LinkGroup", "ID"));
    grid->addWidget(targetIdButton_, 2, 6);
    targetIdButton_->setEnabled(false);
    connect(targetIdButton_, &QPushButton::clicked, this, &LinkGroup::targetIdRequested);
    for (int i = 0; i < 3; ++i) {
        connect(radios_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                selectLink(i);
        });
    }

    // An empty address is stored as it is; the connect button refuses it later.
    AppSettings &settings = window->settings();
    new LeaveCheck(ipEdits_[1], leaveCheckRunning_,
                   [this, &settings] { settings.serverIp = ipEdits_[1]->text(); });
    new LeaveCheck(ipEdits_[2], leaveCheckRunning_,
                   [this, &settings] { settings.serverIp2 = ipEdits_[2]->text(); });
    auto portCheck = [this](QLineEdit *field, int &port) {
        const QString text = field->text();
        if (const std::optional<int> number = portNumber(text)) {
            port = *number;
            return;
        }
        Boxes::warning(window_, text.isEmpty() ? tr("Port can not be blank!") : invalidPortText());
        field->setFocus(Qt::OtherFocusReason);
    };
    new LeaveCheck(portEdits_[1], leaveCheckRunning_,
                   [portCheck, this, &settings] { portCheck(portEdits_[1], settings.tcpPort); });
    new LeaveCheck(portEdits_[2], leaveCheckRunning_,
                   [portCheck, this, &settings] { portCheck(portEdits_[2], settings.tcpPort2); });
}

void LinkGroup::selectLink(int linkType)
{
    window_->session().route.linkType = linkType;
    for (int row = 1; row <= 2; ++row) {
        for (QWidget *w :
             std::initializer_list<QWidget *>{ipEdits_[row], portEdits_[row], connectButtons_[row]})
            w->setEnabled(linkType == row);
    }
    targetIdButton_->setEnabled(linkType == 2);
}

void LinkGroup::connectRow(int linkType)
{
    const bool lan = linkType == 1;
    const QLineEdit *ipEdit = ipEdits_[linkType];
    const QLineEdit *portEdit = portEdits_[linkType];
    if (ipEdit->text().isEmpty() || portEdit->text().isEmpty()) {
        Boxes::warning(window_, tr("IP or Port can not be blank!"));
        return;
    }
    const std::optional<int> port = portNumber(portEdit->text());
    if (!port) {
        Boxes::warning(window_, invalidPortText());
        return;
    }
    AppSettings &settings = window_->settings();
    (lan ? settings.serverIp : settings.serverIp2) = ipEdit->text();
    (lan ? settings.tcpPort : settings.tcpPort2) = *port;
    window_->tcpLink().open(ipEdit->text(), *port);
}

void LinkGroup::applyLoadedSettings()
{
    const AppSettings &settings = window_->settings();
    ipEdits_[1]->setText(settings.serverIp);
    portEdits_[1]->setText(QString::number(settings.tcpPort));
    ipEdits_[2]->setText(settings.serverIp2);
    portEdits_[2]->setText(QString::number(settings.tcpPort2));

    const int saved = window_->session().route.linkType;
    if (saved < 0 || saved > 2) {
        // An unknown saved link selects none: every send is then refused by the dispatchers.
        for (QRadioButton *radio : radios_) {
            radio->setAutoExclusive(false);
            radio->setChecked(false);
            radio->setAutoExclusive(true);
        }
        return;
    }
    radios_[saved]->setChecked(true);
    selectLink(saved); // also when the button was already checked, as a click would
    if (saved != 0)
        connectRow(saved);
}
