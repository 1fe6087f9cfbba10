// The two events the window handles, the 100 ms refresh, and what an idle
// window costs: a list click or key shows the classification at once, the
// timer undoes any hand change, and a tick that changes nothing repaints
// nothing.
#include "expected_form.h"
#include "form_probe.h"
#include "main_form.h"

#include <QRandomGenerator>
#include <QTimer>
#include <QtTest>

#include <fstream>
#if defined(AMINO_UNDER_EMULATOR)
#include <malloc.h>
#endif
#include <memory>

namespace {

// Generous: the refresh comes every 100 ms, but a loaded machine may be slow.
constexpr int RestoreTimeout = 2000;

// The row the name list has selected, or -1.
int selectedRow(const MainForm &form)
{
    const QList<QListWidgetItem *> selected = form.List1[0]->selectedItems();
    return selected.isEmpty() ? -1 : form.List1[0]->row(selected.first());
}

// What the indicators must show for a row, or with none selected (-1).
const expected::Row &expectedFor(int row)
{
    return row < 0 ? expected::form().cleared : expected::form().rows.at(std::size_t(row));
}

QString expectedChecks(const MainForm &form)
{
    return QString::fromStdString(expectedFor(selectedRow(form)).checks);
}

int expectedOption(const MainForm &form)
{
    return expectedFor(selectedRow(form)).option;
}

// Counts paint events that reach a widget or any widget inside it.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *top)
    {
        watch(top);
        for (QWidget *child : top->findChildren<QWidget *>())
            watch(child);
    }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }

private:
    void watch(QWidget *widget) { widget->installEventFilter(this); }
};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool residentSizeIsMeaningful = false; // the sanitizer's quarantine grows by design
#else
constexpr bool residentSizeIsMeaningful = true;
#endif

long residentKilobytes()
{
#if defined(AMINO_UNDER_EMULATOR)
    // An emulator's translated code grows the process as new paths run: the
    // program's own heap is what a leak would grow.
    const struct mallinfo2 heap = mallinfo2();
    return long((heap.uordblks + heap.hblkhd) / 1024);
#else
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
#endif
}

} // namespace

class TestEvents : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void timerRunsEvery100ms();
    void staysClearUntilSomethingIsChosen();
    void keysShowTheClassificationAtOnce_data();
    void keysShowTheClassificationAtOnce();
    void mouseClickShowsAtOnce();
    void handChangeIsUndone_data();
    void handChangeIsUndone();
    void clickFromHiddenListsChangesNothing();
    void idleWindowRepaintsNothing();
    void hourOfTicks();

private:
    void select(int row);
    std::unique_ptr<MainForm> form;
};

void TestEvents::init()
{
    form = std::make_unique<MainForm>();
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

void TestEvents::cleanup()
{
    form.reset();
}

void TestEvents::select(int row)
{
    QTest::mouseClick(form->List1[0]->viewport(), Qt::LeftButton, {}, rowCentre(*form, row));
    QCOMPARE(form->List1[0]->currentRow(), row);
}

void TestEvents::timerRunsEvery100ms()
{
    QVERIFY(form->Timer1->isActive());
    QCOMPARE(form->Timer1->interval(), 100);
    QVERIFY(!form->Timer1->isSingleShot());

    // Timed from the ticks themselves, not from the test's start: on a slow
    // machine (a Raspberry Pi, an emulator) the window takes longer than a
    // tick to appear, and the first tick or two then come early to catch up.
    QElapsedTimer clock;
    clock.start();
    QList<qint64> ticks;
    QObject listener;
    connect(form->Timer1, &QTimer::timeout, &listener, [&] { ticks.append(clock.elapsed()); });
    QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 7, 5000);
    // Five intervals of 100 ms: not much sooner, and not absurdly later.
    const qint64 five = ticks[6] - ticks[1];
    QVERIFY2(five >= 450, qPrintable(QString::number(five)));
    QVERIFY2(five < 3000, qPrintable(QString::number(five)));
}

void TestEvents::staysClearUntilSomethingIsChosen()
{
    QSignalSpy ticks(form->Timer1, &QTimer::timeout);
    while (ticks.count() < 4) {
        QVERIFY(ticks.wait(RestoreTimeout));
        QCOMPARE(shownChecks(*form), QString::fromStdString(expectedFor(-1).checks));
        QCOMPARE(shownOption(*form), expectedFor(-1).option);
    }
}

void TestEvents::keysShowTheClassificationAtOnce_data()
{
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");

    QTest::newRow("Down") << 0 << int(Qt::Key_Down) << 0 << QString();
    QTest::newRow("Up") << 13 << int(Qt::Key_Up) << 0 << QString();
    QTest::newRow("End") << 0 << int(Qt::Key_End) << 0 << QString();
    QTest::newRow("Home") << 19 << int(Qt::Key_Home) << 0 << QString();
    QTest::newRow("Page Down") << 0 << int(Qt::Key_PageDown) << 0 << QString();
    QTest::newRow("Page Up") << 19 << int(Qt::Key_PageUp) << 0 << QString();
    // To the first name after it that starts with that letter.
    QTest::newRow("first letter") << 0 << int(Qt::Key_unknown) << 0 << QStringLiteral("Г");
    QTest::newRow("Ctrl+Space deselects")
        << 9 << int(Qt::Key_Space) << int(Qt::ControlModifier) << QStringLiteral(" ");
}

void TestEvents::keysShowTheClassificationAtOnce()
{
    QFETCH(int, startRow);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);

    select(startRow);
    const int before = form->List1[0]->currentRow();
    form->List1[0]->setFocus();
    QTest::sendKeyEvent(QTest::Click, form->List1[0], Qt::Key(key), text,
                        Qt::KeyboardModifiers(modifiers));
    // Before any tick could run: the list's own event shows it.
    QCOMPARE(shownChecks(*form), expectedChecks(*form));
    QCOMPARE(shownOption(*form), expectedOption(*form));

    const bool deselects = modifiers & Qt::ControlModifier;
    if (deselects)
        QCOMPARE(shownChecks(*form), QString::fromStdString(expectedFor(-1).checks));
    else
        QVERIFY(form->List1[0]->currentRow() != before);
    if (!text.isEmpty() && !deselects)
        QCOMPARE(form->List1[0]->currentItem()->text(),
                 QString::fromStdString(expectedFor(11).name));
}

void TestEvents::mouseClickShowsAtOnce()
{
    for (int row : {0, 9, 12, 19, 10}) {
        select(row);
        QCOMPARE(shownChecks(*form), QString::fromStdString(expectedFor(row).checks));
        QCOMPARE(shownOption(*form), expectedFor(row).option);
    }
}

void TestEvents::handChangeIsUndone_data()
{
    QTest::addColumn<int>("row"); // -1: nothing selected
    QTest::addColumn<QString>("indicator");

    QTest::newRow("Аланин, another check box") << 9 << "Check1_2";
    QTest::newRow("Аланин, its own check box") << 9 << "Check1_0";
    QTest::newRow("Аланин, another option") << 9 << "Option1_2";
    QTest::newRow("Лизин, заменими") << 0 << "Check1_0";
    QTest::newRow("Аргинин, незаменими") << 12 << "Check1_1";
    QTest::newRow("nothing selected, check box") << -1 << "Check1_1";
    QTest::newRow("nothing selected, option") << -1 << "Option1_3";
}

void TestEvents::handChangeIsUndone()
{
    QFETCH(int, row);
    QFETCH(QString, indicator);

    if (row >= 0)
        select(row);
    const QString checks = expectedChecks(*form);
    const int option = expectedOption(*form);

    auto *button = form->findChild<QAbstractButton *>(indicator);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    QVERIFY(shownChecks(*form) != checks || shownOption(*form) != option); // the click took

    QTRY_COMPARE_WITH_TIMEOUT(shownChecks(*form), checks, RestoreTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(shownOption(*form), option, RestoreTimeout);
}

void TestEvents::clickFromHiddenListsChangesNothing()
{
    select(0);
    const QString lysine = QString::fromStdString(expectedFor(0).checks);
    QCOMPARE(lysine[0], u'0');         // so that the hand change below shows
    form->Check1[0]->setChecked(true); // a hand change not yet undone
    form->List1_Click(1);
    form->List1_Click(2);
    form->List1_Click(-1);
    QCOMPARE(shownChecks(*form), QString(lysine).replace(0, 1, u'1'));
    form->List1_Click(0);
    QCOMPARE(shownChecks(*form), lysine);
}

void TestEvents::idleWindowRepaintsNothing()
{
    select(12);
    QTest::qWait(1000); // let the click and the selection settle
    PaintCounter paints(form.get());
    QSignalSpy ticks(form->Timer1, &QTimer::timeout);
    QTest::qWait(1000);
    QVERIFY2(ticks.count() >= 5, qPrintable(QString::number(ticks.count())));
    QCOMPARE(paints.count, 0);

    // The counter does see paints: a hand change and its undoing repaint.
    form->Check1[0]->setChecked(true);
    QTRY_VERIFY_WITH_TIMEOUT(paints.count > 0, RestoreTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(shownChecks(*form), QString::fromStdString(expectedFor(12).checks),
                              RestoreTimeout);

    // Only what changed is repainted when the selection moves.
    QTest::qWait(300);
    paints.count = 0;
    PaintCounter optionPaints(form->Option1[0]);
    form->List1[0]->setCurrentRow(13); // Аспарагин: same check boxes
    QTest::qWait(300);
    QVERIFY(paints.count > 0);
    QCOMPARE(optionPaints.count, 0);
}

void TestEvents::hourOfTicks()
{
    // An hour of ticks, driven directly, with a pupil busy in between.
    QRandomGenerator random(20261208);
    const int childrenBefore = int(form->findChildren<QObject *>().size());
    long residentBefore = 0;
    for (int tick = 0; tick < 36000; ++tick) {
        switch (random.bounded(8)) {
        case 0:
            form->List1[0]->setCurrentRow(random.bounded(20));
            break;
        case 1:
            form->List1[0]->clearSelection();
            break;
        case 2:
            form->Check1[random.bounded(3)]->toggle();
            break;
        case 3:
            form->Option1[random.bounded(4)]->setChecked(true);
            break;
        default:
            break; // most ticks find nothing changed
        }
        form->Timer1_Timer();
        if (shownChecks(*form) != expectedChecks(*form) ||
            shownOption(*form) != expectedOption(*form)) {
            QFAIL(qPrintable(QStringLiteral("tick %1: shows %2/%3, expected %4/%5")
                                 .arg(tick)
                                 .arg(shownChecks(*form))
                                 .arg(shownOption(*form))
                                 .arg(expectedChecks(*form))
                                 .arg(expectedOption(*form))));
        }
        if (tick == 1000)
            residentBefore = residentKilobytes();
    }
    QCOMPARE(int(form->findChildren<QObject *>().size()), childrenBefore);
    if (residentSizeIsMeaningful) {
        const long growth = residentKilobytes() - residentBefore;
        QVERIFY2(growth < 1024, qPrintable(QStringLiteral("grew by %1 kB").arg(growth)));
    }
}

QTEST_MAIN(TestEvents)
#include "test_events.moc"
