// Counts the paint events a window receives while it sits idle with its
// timer ticking, which cannot be seen from outside the process.
//   idle_paints [--bare] [--seconds N]
// Without --bare it measures the program's window with the first row of the
// list selected; with --bare, the bare window. Prints key=value lines.

#include "bare_window.h"
#include "form_layout.h"
#include "main_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListWidget>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>

static_assert(BareWindow::Width == FormLayout::ClientSize.width() &&
                  BareWindow::Height == FormLayout::ClientSize.height(),
              "the bare window must keep the program's size");
static_assert(BareWindow::TimerInterval == FormLayout::TimerInterval,
              "the bare window must tick as often as the program");

namespace {

// Where a widget sits inside its window, for telling which one was painted.
QString widgetPath(const QWidget *widget)
{
    QString path;
    for (const QWidget *w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        const QString name = w->objectName().isEmpty()
                                 ? QString::fromLatin1(w->metaObject()->className())
                                 : w->objectName();
        path = path.isEmpty() ? name : name + u'/' + path;
    }
    return path;
}

// Sees every event the application delivers and counts the paint events that
// reach the window or any widget inside it while counting is on.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(const QWidget *window) : m_window(window) {}

    void start()
    {
        m_total = 0;
        m_byWidget.clear();
        m_counting = true;
    }
    void stop() { m_counting = false; }
    long total() const { return m_total; }
    const std::map<QString, long> &byWidget() const { return m_byWidget; }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (m_counting && event->type() == QEvent::Paint && watched->isWidgetType()) {
            const auto *widget = static_cast<const QWidget *>(watched);
            if (widget == m_window || m_window->isAncestorOf(widget)) {
                ++m_total;
                ++m_byWidget[widgetPath(widget)];
            }
        }
        return false;
    }

private:
    const QWidget *m_window;
    bool m_counting = false;
    long m_total = 0;
    std::map<QString, long> m_byWidget;
};

void runFor(int milliseconds)
{
    QEventLoop loop;
    // A coarse timer may end the period up to 5 % early.
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

QString breakdown(const PaintCounter &counter)
{
    QStringList entries;
    for (const auto &[path, count] : counter.byWidget())
        entries << QStringLiteral("%1:%2").arg(path).arg(count);
    return entries.isEmpty() ? QStringLiteral("-") : entries.join(u',');
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const bool bare = arguments.contains(QStringLiteral("--bare"));
    int seconds = 10;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--seconds"));
        at >= 0 && at + 1 < arguments.size())
        seconds = arguments.at(at + 1).toInt();
    if (seconds < 1) {
        std::fprintf(stderr, "idle_paints: --seconds needs a whole number of at least 1\n");
        return 2;
    }

    std::unique_ptr<QWidget> window;
    QTimer *timer = nullptr;
    std::function<void()> poke; // a change a pupil could make, to prove the counter sees it
    MainForm *form = nullptr;
    if (bare) {
        auto bareWindow = std::make_unique<BareWindow>();
        timer = bareWindow->timer();
        poke = [w = bareWindow.get()] {
            w->update();
        };
        window = std::move(bareWindow);
    } else {
        auto mainForm = std::make_unique<MainForm>();
        form = mainForm.get();
        timer = form->Timer1;
        poke = [form] {
            form->Check1[0]->click();
        };
        window = std::move(mainForm);
    }

    PaintCounter counter(window.get());
    app.installEventFilter(&counter);
    long ticks = 0;
    QObject::connect(timer, &QTimer::timeout, window.get(), [&ticks] { ++ticks; });

    window->show();
    // As a click on the window would: it becomes the active one, once the
    // server has mapped it.
    runFor(500);
    window->activateWindow();
    if (form) {
        // As a click on the row would: the list takes the focus and the row.
        form->List1[0]->setFocus(Qt::MouseFocusReason);
        form->List1[0]->setCurrentRow(0);
        if (form->List1[0]->selectedItems().isEmpty()) {
            std::fprintf(stderr, "idle_paints: could not select the first row\n");
            return 1;
        }
    }
    runFor(1000);

    QElapsedTimer clock;
    counter.start();
    ticks = 0;
    clock.start();
    runFor(seconds * 1000);
    counter.stop();
    const double idleSeconds = double(clock.elapsed()) / 1000.0;
    const long idlePaints = counter.total();
    const long idleTicks = ticks;
    const QString idleBreakdown = breakdown(counter);
    const bool active = window->isActiveWindow();
    const QWidget *focus = QApplication::focusWidget();

    QTimer poker;
    QObject::connect(&poker, &QTimer::timeout, poke);
    counter.start();
    clock.restart();
    poker.start(100);
    runFor(1000);
    poker.stop();
    counter.stop();
    const double forcedSeconds = double(clock.elapsed()) / 1000.0;
    const long forcedPaints = counter.total();

    std::printf("window=%s\n", bare ? "bare" : "aminokiselini");
    std::printf("idle_seconds=%.3f\n", idleSeconds);
    std::printf("idle_paints=%ld\n", idlePaints);
    std::printf("idle_paints_per_s=%.2f\n", double(idlePaints) / idleSeconds);
    std::printf("idle_ticks_per_s=%.2f\n", double(idleTicks) / idleSeconds);
    std::printf("idle_painted=%s\n", qPrintable(idleBreakdown));
    std::printf("idle_active=%d\n", active ? 1 : 0);
    std::printf("idle_focus=%s\n", focus ? qPrintable(widgetPath(focus)) : "-");
    std::printf("forced_paints=%ld\n", forcedPaints);
    std::printf("forced_paints_per_s=%.2f\n", double(forcedPaints) / forcedSeconds);
    std::printf("forced_painted=%s\n", qPrintable(breakdown(counter)));

    // A counter that saw nothing while the window was being changed proves
    // nothing about the idle figure either.
    if (forcedPaints == 0) {
        std::fprintf(stderr, "idle_paints: no paint seen while changing the window\n");
        return 1;
    }
    if (idleTicks == 0) {
        std::fprintf(stderr, "idle_paints: the timer never ticked\n");
        return 1;
    }
    return 0;
}
