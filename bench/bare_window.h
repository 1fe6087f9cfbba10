#pragma once

#include <QTimer>
#include <QWidget>

// The yardstick the program is measured against: a window of the same size
// with the same 100 ms timer, whose tick does nothing. Whatever the program
// costs beyond this is its own. Its figures come from the expected form
// (bench/CMakeLists.txt).
class BareWindow : public QWidget {
public:
    static constexpr int Width = AMINO_BARE_WIDTH;
    static constexpr int Height = AMINO_BARE_HEIGHT;
    static constexpr int TimerInterval = AMINO_BARE_INTERVAL; // milliseconds

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
