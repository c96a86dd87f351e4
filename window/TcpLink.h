#pragma once

// The window's one TCP connection (LAN or relay server): its state in status panel 1, what it
// receives in the console as it comes, and whole replies, where the framer ends them, to the parser.

#include <QObject>

class MainWindow;
class TcpConnection;
class TcpReplyFramer;

class TcpLink final : public QObject {
    Q_OBJECT

public:
    explicit TcpLink(MainWindow *window);

    // Closes, takes host and port, starts connecting; they are kept for the reconnect on send.
    void open(const QString &host, int port);
    // Reconnects if needed; false, with the send error in view, when the bytes could not be handed over.
    bool deliver(const QByteArray &bytes);
    TcpConnection *connection() const { return connection_; }

Q_SIGNALS:
    void replyReceived(const QByteArray &reply);

private:
    void showState(const QString &state);
    void received(const QByteArray &chunk);

    MainWindow *window_;
    TcpConnection *connection_;
    TcpReplyFramer *framer_; // the parser gets whole replies, the console each read event
};
