#pragma once

// The serial receive path: the port in use reports bytes, the gatherer puts them together into a
// reply by the quiet time, the console shows the reply while it comes, and the reply, once complete,
// goes on to the parser.

#include <QObject>

class ComPorts;
class MainWindow;
class ReplyGatherer;
class ReplyLines;
class SerialPortDialog;

class SerialReceive final : public QObject {
    Q_OBJECT

public:
    SerialReceive(MainWindow *window, ComPorts *ports, SerialPortDialog *portDialog);

    ReplyGatherer *gatherer() const { return gatherer_; }

Q_SIGNALS:
    // A whole reply (its first 64 KiB), its console lines ended.
    void replyReceived(const QByteArray &reply);

private:
    ReplyGatherer *gatherer_;
    ReplyLines *lines_; // the console lines of the reply being gathered
};
