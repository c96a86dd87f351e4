#include "window/WindowChannel.h"

#include "links/ComPorts.h"
#include "links/ReplyGatherer.h"
#include "protocol/ParameterCatalogue.h"
#include "window/CommandDispatch.h"
#include "window/MainWindow.h"
#include "window/ParameterActions.h"
#include "window/SerialPortDialog.h"

#include <QScopedValueRollback>

namespace {
QString unusableLinkText(const MainWindow &window)
{
    const auto text = [&window](const QString &english, const QString &chinese) {
        return window.inLanguage(english, chinese);
    };
    switch (window.session().route.linkType) {
    case 0:
        return text(QStringLiteral("the serial port could not be written"), QStringLiteral("串口无法写入"));
    case 1:
    case 2:
        return text(QStringLiteral("the TCP connection could not be used"),
                    QStringLiteral("TCP连接无法使用"));
    default:
        return text(QStringLiteral("no link is selected"), QStringLiteral("未选择通讯链路"));
    }
}
} // namespace

WindowChannel::WindowChannel(MainWindow *window) : CommandChannel(window), window_(window)
{
    connect(window, &MainWindow::replyArrived, this, &CommandChannel::replyReceived);
    connect(window, &MainWindow::commandSent, this, [this](int typeCode) {
        if (!sending_)
            Q_EMIT otherCommandSent(typeCode);
    });
}

void WindowChannel::setLineEndReplies(bool on)
{
    const int port = window_->portDialog()->comPort();
    window_->serialGatherer()->setLineEndGraceMs(on ? window_->serialPorts()->lineEndGraceMs(port) : 0);
}

bool WindowChannel::sendCommand(const BuiltCommand &command)
{
    const ParameterRow *row = FindParameterByCode(command.typeCode);
    const QScopedValueRollback<bool> sending(sending_, true);
    bool sent = false;
    if (row != nullptr && command.typeCode == row->readCode()) {
        sent = window_->parameterActions().readParameter(*row); // as its Read button: the fields empty first
    } else {
        const Caption caption = row != nullptr ? row->setCaption : Caption{};
        sent = window_->dispatch().sendSetCommand(command.bytes, command.typeCode, caption.cn, caption.en);
    }
    if (!sent)
        Q_EMIT linkLost(unusableLinkText(*window_));
    return sent;
}
