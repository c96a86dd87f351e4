#pragma once

// SIGINT and SIGTERM as a request to stop, seen by the event loop: a long run ends after the work in
// hand instead of mid-write. A second signal ends the program at once, as it would without this.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

class StopSignals final : public QObject {
    Q_OBJECT

public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

    bool requested() const { return requested_; }

Q_SIGNALS:
    void stopRequested();

private:
    void drain();

    std::unique_ptr<QSocketNotifier> notifier_; // goes before its descriptor closes
    bool requested_ = false;
};
