#pragma once

// Turns SIGTERM and SIGINT into a normal return from the event loop, so that destructors run and
// the pty symlink is removed.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

class SignalQuit : public QObject {
    Q_OBJECT
public:
    explicit SignalQuit(QObject *parent);
    ~SignalQuit() override;

private:
    void drain();

    std::unique_ptr<QSocketNotifier> m_notifier;
};
