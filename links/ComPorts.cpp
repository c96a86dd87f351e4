#include "links/ComPorts.h"

#include <QFileInfo>
#include <memory>

ComPorts::ComPorts(QObject *parent) : QObject(parent) {}

SerialLink *ComPorts::held(int port) const
{
    return PortMap::validPort(port) ? links_[size_t(port)] : nullptr;
}

SerialLink *ComPorts::live(int port)
{
    SerialLink *link = held(port);
    return link != nullptr && link->stillOpen() ? link : nullptr;
}

void ComPorts::release(int port)
{
    SerialLink *&link = links_[size_t(port)];
    link->close();
    link->deleteLater(); // may be inside one of its own signals
    link = nullptr;
}

bool ComPorts::isOpen(int port)
{
    return live(port) != nullptr;
}

SerialLink::Refusal ComPorts::open(int port, const QString &path)
{
    if (!PortMap::validPort(port))
        return SerialLink::Refusal::NoDevice;
    if (live(port) != nullptr)
        return SerialLink::Refusal::InUse;
    if (held(port) != nullptr)
        release(port); // its device vanished
    // The lock file catches a second open of the same path, not of a symlink to it.
    const QString device = QFileInfo(path).canonicalFilePath();
    for (int other = 1; other <= kComPortCount; ++other) {
        if (!device.isEmpty() && live(other) != nullptr &&
            QFileInfo(links_[size_t(other)]->device()).canonicalFilePath() == device)
            return SerialLink::Refusal::InUse;
    }
    auto link = std::make_unique<SerialLink>(nullptr, SerialLink::Reader::Owner);
    QString reason;
    if (!link->openDevice(path, &reason))
        return link->refusal();
    connect(link.get(), &SerialLink::bytesWaiting, this, [this, port] { Q_EMIT bytesWaiting(port); });
    link->setParent(this);
    links_[size_t(port)] = link.release();
    return SerialLink::Refusal::None;
}

ComPorts::Result ComPorts::configure(int port, const SerialSettings &settings)
{
    SerialLink *link = live(port);
    if (link == nullptr)
        return Result::NotOpen;
    QString reason;
    if (link->configure(settings, &reason))
        return Result::Ok;
    return link->isOpen() ? Result::Failed : Result::NotOpen;
}

ComPorts::Result ComPorts::write(int port, const QByteArray &bytes)
{
    SerialLink *link = live(port);
    if (link == nullptr)
        return Result::NotOpen;
    if (link->write(bytes))
        return Result::Ok;
    return link->isOpen() ? Result::Failed : Result::NotOpen;
}

QByteArray ComPorts::takeWaiting(int port)
{
    SerialLink *link = held(port);
    return link != nullptr && link->isOpen() ? link->takeWaiting() : QByteArray();
}

ComPorts::Result ComPorts::close(int port)
{
    if (held(port) == nullptr)
        return Result::NotOpen;
    release(port);
    return Result::Ok;
}
