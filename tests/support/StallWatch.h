#pragma once

// The longest gap between ticks of a short timer: how long the event loop could not react.

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

class StallWatch {
public:
    explicit StallWatch(int intervalMs)
    {
        timer_.setInterval(intervalMs);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { tick(); });
        clock_.start();
        timer_.start();
    }

    qint64 longestMs()
    {
        tick();
        return longest_;
    }

private:
    void tick() { longest_ = std::max(longest_, clock_.restart()); }

    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};
