#include "links/channels/SerialChannel.h"

#include "links/ReplyGatherer.h"

SerialChannel::SerialChannel(const SerialSettings &settings, QObject *parent)
    : OpenChannel(parent), settings_(settings), link_(new SerialLink(this))
{
    connect(link_, &SerialLink::bytesSent, this, &OpenChannel::bytesSent);
    connect(link_, &SerialLink::bytesReceived, this, &OpenChannel::bytesReceived);
    connect(link_, &SerialLink::gone, this, &CommandChannel::linkLost);
    // A reply past the bound ends its row at once; the rest of it is dropped with it.
    static_assert(ReplyGatherer::kHeldBytes == kMaxReplyBytes);
    connect(link_->gatherer(), &ReplyGatherer::replyOverflowed, this, &CommandChannel::replyTooLong);
    connect(link_->gatherer(), &ReplyGatherer::replyComplete, this,
            [this](const QByteArray &reply, bool cut) {
                if (!cut)
                    Q_EMIT replyReceived(reply);
            });
}

bool SerialChannel::open(int, QString *reason)
{
    // A serial port opens at once or not at all: there is nothing to wait for.
    return link_->open(settings_, reason);
}

bool SerialChannel::sendCommand(const BuiltCommand &command)
{
    return link_->write(command.bytes);
}
