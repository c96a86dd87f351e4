#include "links/channels/SerialChannel.h"

#include "links/DeviceGroup.h"
#include "links/ReplyGatherer.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <unistd.h>

namespace {
bool mayOpen(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
}
} // namespace

bool ParseSerialFormat(const QString &text, SerialSettings &settings)
{
    static const QRegularExpression form(QStringLiteral("^([5-8])([NEOMS])(1|1\\.5|2)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    settings.dataBits = static_cast<QSerialPort::DataBits>(match.captured(1).toInt());
    switch (match.captured(2).toUpper().at(0).toLatin1()) {
    case 'E':
        settings.parity = QSerialPort::EvenParity;
        break;
    case 'O':
        settings.parity = QSerialPort::OddParity;
        break;
    case 'M':
        settings.parity = QSerialPort::MarkParity;
        break;
    case 'S':
        settings.parity = QSerialPort::SpaceParity;
        break;
    default:
        settings.parity = QSerialPort::NoParity;
        break;
    }
    const QString stop = match.captured(3);
    settings.stopBits = stop == QLatin1String("2")     ? QSerialPort::TwoStop
                        : stop == QLatin1String("1.5") ? QSerialPort::OneAndHalfStop
                                                       : QSerialPort::OneStop;
    return true;
}

SerialChannel::SerialChannel(const SerialSettings &settings, bool chinese, QObject *parent)
    : OpenChannel(chinese, parent), settings_(settings), port_(new QSerialPort(this)),
      gatherer_(new ReplyGatherer([this] { return takeWaiting(); }, ReplyGatherer::Clock(), this))
{
    connect(port_, &QSerialPort::readyRead, gatherer_, &ReplyGatherer::readWaiting);
    connect(port_, &QSerialPort::errorOccurred, this, &SerialChannel::onError);
    // A reply past the bound ends its row at once; the rest of it is dropped with it.
    static_assert(ReplyGatherer::kHeldBytes == kMaxReplyBytes);
    connect(gatherer_, &ReplyGatherer::replyOverflowed, this, &CommandChannel::replyTooLong);
    connect(gatherer_, &ReplyGatherer::replyComplete, this, [this](const QByteArray &reply, bool cut) {
        if (!cut)
            Q_EMIT replyReceived(reply);
    });
}

bool SerialChannel::open(int, QString *reason)
{
    // A serial port opens at once or not at all: there is nothing to wait for.
    port_->setPortName(settings_.device);
    if (!port_->open(QIODevice::ReadWrite)) {
        *reason = openFailure();
        return false;
    }
    const struct {
        bool ok;
        QString english;
        QString chinese;
    } steps[] = {
        {port_->setBaudRate(settings_.baudRate), QStringLiteral("baud rate"), QStringLiteral("波特率")},
        {port_->setDataBits(settings_.dataBits), QStringLiteral("data bits"), QStringLiteral("数据位")},
        {port_->setParity(settings_.parity), QStringLiteral("parity"), QStringLiteral("校验位")},
        {port_->setStopBits(settings_.stopBits), QStringLiteral("stop bits"), QStringLiteral("停止位")},
        {port_->setFlowControl(QSerialPort::NoFlowControl), QStringLiteral("flow control"),
         QStringLiteral("流控")},
    };
    for (const auto &step : steps) {
        if (!step.ok) {
            *reason = settingFailure(say(step.english, step.chinese));
            port_->close();
            return false;
        }
    }
    return true;
}

QString SerialChannel::openFailure() const
{
    const QString &device = settings_.device;
    switch (port_->error()) {
    case QSerialPort::DeviceNotFoundError:
        return say(QStringLiteral("no such serial device: %1").arg(device),
                   QStringLiteral("没有这个串口设备：%1").arg(device));
    case QSerialPort::PermissionError:
        if (QFileInfo::exists(device) && !mayOpen(device)) {
            // Group membership is read at login, so joining takes effect only in a new session.
            const QString group =
                DeviceGroup(device).isEmpty() ? QStringLiteral("dialout") : DeviceGroup(device);
            return say(
                QStringLiteral("permission denied on %1: add yourself to the group \"%2\" (sudo usermod "
                               "-aG %2 $USER), then log out and log in again")
                    .arg(device, group),
                QStringLiteral("无权打开%1：请把自己加入组“%2”（sudo usermod -aG %2 $USER），"
                               "然后注销并重新登录")
                    .arg(device, group));
        }
        return say(QStringLiteral("%1 is in use by another program").arg(device),
                   QStringLiteral("%1正被另一个程序使用").arg(device));
    default:
        return say(QStringLiteral("cannot open %1: %2"), QStringLiteral("无法打开%1：%2"))
            .arg(device, port_->errorString());
    }
}

QString SerialChannel::settingFailure(const QString &what) const
{
    return say(QStringLiteral("%1 does not take the %2: %3"), QStringLiteral("%1不接受该%2设置：%3"))
        .arg(settings_.device, what, port_->errorString());
}

bool SerialChannel::sendCommand(const BuiltCommand &command)
{
    if (!port_->isOpen())
        return false;
    if (port_->write(command.bytes) != command.bytes.size())
        return false;
    Q_EMIT bytesSent(command.bytes);
    return true;
}

QByteArray SerialChannel::takeWaiting()
{
    const QByteArray bytes = port_->isOpen() ? port_->readAll() : QByteArray();
    if (!bytes.isEmpty())
        Q_EMIT bytesReceived(bytes);
    return bytes;
}

void SerialChannel::onError(QSerialPort::SerialPortError error)
{
    // An unplugged adapter or a closed pseudo-terminal: the port stays "open" until it is closed here.
    if (error != QSerialPort::ResourceError || !port_->isOpen())
        return;
    port_->close();
    Q_EMIT linkLost(say(QStringLiteral("the serial port %1 is gone (unplugged, or its other end closed)"),
                        QStringLiteral("串口%1已断开（被拔出，或另一端已关闭）"))
                        .arg(settings_.device));
}
