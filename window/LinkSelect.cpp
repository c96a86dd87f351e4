#include "window/MainWindow.h"

#include "window/KeyFilter.h"
#include "window/MessageBoxes.h"
#include "window/OptionsDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QFocusEvent>
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

QString invalidPortText(bool chinese)
{
    return InLanguage(chinese, QStringLiteral("Port must be a number from 1 to 65535!"),
                      QStringLiteral("端口必须是1到65535之间的数字！"));
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
} // namespace

void MainWindow::setUpLinkGroup()
{
    connect(serialLinkRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            selectLink(0);
    });
    connect(lanLinkRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            selectLink(1);
    });
    connect(wanLinkRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            selectLink(2);
    });
    connect(lanConnectButton, &QPushButton::clicked, this, [this] { connectLinkRow(1); });
    connect(wanConnectButton, &QPushButton::clicked, this, [this] { connectLinkRow(2); });
    connect(targetIdButton, &QPushButton::clicked, this, &MainWindow::openOptionsDialog);
    connect(targetIdAction, &QAction::triggered, this, &MainWindow::openOptionsDialog);

    KeyFilter::install(lanIpEdit, KeyFilterKind::Address);
    KeyFilter::install(wanIpEdit, KeyFilterKind::Address);
    KeyFilter::install(lanPortEdit, KeyFilterKind::Digits);
    KeyFilter::install(wanPortEdit, KeyFilterKind::Digits);

    // An empty address is stored as it is; the connect button refuses it later.
    new LeaveCheck(lanIpEdit, leaveCheckRunning_, [this] { settings_.serverIp = lanIpEdit->text(); });
    new LeaveCheck(wanIpEdit, leaveCheckRunning_, [this] { settings_.serverIp2 = wanIpEdit->text(); });
    auto portCheck = [this](QLineEdit *field, int &port) {
        const QString text = field->text();
        if (const std::optional<int> number = portNumber(text)) {
            port = *number;
            return;
        }
        Boxes::warning(this, text.isEmpty() ? inLanguage(QStringLiteral("Port can not be blank!"),
                                                         QStringLiteral("端口不能为空！"))
                                            : invalidPortText(chinese()));
        field->setFocus(Qt::OtherFocusReason);
    };
    new LeaveCheck(lanPortEdit, leaveCheckRunning_,
                   [portCheck, this] { portCheck(lanPortEdit, settings_.tcpPort); });
    new LeaveCheck(wanPortEdit, leaveCheckRunning_,
                   [portCheck, this] { portCheck(wanPortEdit, settings_.tcpPort2); });
}

void MainWindow::selectLink(int linkType)
{
    session_.route.linkType = linkType;
    for (QWidget *w : std::initializer_list<QWidget *>{lanIpEdit, lanPortEdit, lanConnectButton})
        w->setEnabled(linkType == 1);
    for (QWidget *w :
         std::initializer_list<QWidget *>{wanIpEdit, wanPortEdit, wanConnectButton, targetIdButton})
        w->setEnabled(linkType == 2);
}

void MainWindow::connectLinkRow(int linkType)
{
    const bool lan = linkType == 1;
    const QLineEdit *ipEdit = lan ? lanIpEdit : wanIpEdit;
    const QLineEdit *portEdit = lan ? lanPortEdit : wanPortEdit;
    if (ipEdit->text().isEmpty() || portEdit->text().isEmpty()) {
        Boxes::warning(this, inLanguage(QStringLiteral("IP or Port can not be blank!"),
                                        QStringLiteral("IP或Port不能为空值！")));
        return;
    }
    const std::optional<int> port = portNumber(portEdit->text());
    if (!port) {
        Boxes::warning(this, invalidPortText(chinese()));
        return;
    }
    (lan ? settings_.serverIp : settings_.serverIp2) = ipEdit->text();
    (lan ? settings_.tcpPort : settings_.tcpPort2) = *port;
    openTcp(ipEdit->text(), *port);
}

void MainWindow::openOptionsDialog()
{
    if (OptionsDialog *dialog = optionsDialog())
        dialog->exec();
}

void MainWindow::applyLoadedSettings()
{
    if (addQuotesCheck)
        addQuotesCheck->setChecked(settings_.addQuotes);
    lanIpEdit->setText(settings_.serverIp);
    lanPortEdit->setText(QString::number(settings_.tcpPort));
    wanIpEdit->setText(settings_.serverIp2);
    wanPortEdit->setText(QString::number(settings_.tcpPort2));

    QRadioButton *const radios[] = {serialLinkRadio, lanLinkRadio, wanLinkRadio};
    const int saved = session_.route.linkType;
    if (saved < 0 || saved > 2) {
        // An unknown saved link selects none: every send is then refused by the dispatchers.
        for (QRadioButton *radio : radios) {
            radio->setAutoExclusive(false);
            radio->setChecked(false);
            radio->setAutoExclusive(true);
        }
        return;
    }
    radios[saved]->setChecked(true);
    selectLink(saved); // also when the button was already checked, as a click would
    if (saved != 0)
        connectLinkRow(saved);
}
