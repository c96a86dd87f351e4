#include "window/WindowChannel.h"

#include "links/ComPorts.h"
#include "links/ReplyGatherer.h"
#include "protocol/ParameterCatalogue.h"
#include "window/CommandDispatch.h"
#include "window/MainWindow.h"
#include "window/ParameterActions.h"
#include "window/SerialPortDialog.h"

#include <QCoreApplication>
#include <QScopedValueRollback>

namespace {
QString unusableLinkText(const MainWindow &window)
{
    const auto text = [](const char *english) {
        return QCoreApplication::translate("WindowChannel", english);
    };
    switch (window.session().route.linkType) {
    case 0:
        return text(QT_TRANSLATE_NOOP("WindowChannel", "the serial port could not be written"));
    case 1:
    case 2:
        return text(QT_TRANSLATE_NOOP("WindowChannel", "the TCP connection could not be used"));
    default:
        return text(QT_TRANSLATE_NOOP("WindowChannel", "no link is selected"));
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
        const ShownText caption =
            row != nullptr ? ShownText::translated(kSetCaptionContext, row->setCaption) : ShownText();
        sent = window_->dispatch().sendSetCommand(command.bytes, command.typeCode, caption);
    }
    if (!sent)
        Q_EMIT linkLost(unusableLinkText(*window_));
    return sent;
}
