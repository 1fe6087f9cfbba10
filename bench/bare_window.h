#pragma once

#include <QTimer>
#include <QWidget>

// The yardstick the program is measured against: a window of the same size
// with the same 100 ms timer, whose tick does nothing. Whatever the program
// costs beyond this is its own.
class BareWindow : public QWidget {
public:
    static constexpr int Width = 461;
    static constexpr int Height = 351;
    static constexpr int TimerInterval = 100; // milliseconds

    BareWindow()
    {
        setFixedSize(Width, Height);
        connect(&m_timer, &QTimer::timeout, this, [] {});
        m_timer.start(TimerInterval);
    }

    QTimer *timer() { return &m_timer; }

private:
    QTimer m_timer;
};
