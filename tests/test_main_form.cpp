// The window as a pupil sees it: geometry, colours, font, captions, lists,
// lesson text, focus order, icon, accessibility, and the display procedures
// acting on the real widgets.
#include "expected_form.h"
#include "explanatory_text.h"
#include "form_probe.h"
#include "form_texts.h"
#include "main_form.h"
#include "readable_colour.h"

#include <QAccessible>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <set>

namespace {

QString fromJson(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

QColor colourOf(const expected::Control &control)
{
    if (!control.colour)
        return {};
    const auto [red, green, blue] = *control.colour;
    return QColor(red, green, blue);
}

QWidget *control(MainForm &form, const QString &name)
{
    return name == form.objectName() ? &form : form.findChild<QWidget *>(name);
}

// Rows of the widget's own picture that hold dark (text) pixels, right of `left`.
std::pair<int, int> inkRows(QWidget *widget, int left)
{
    const QImage image = widget->grab().toImage();
    int top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = left; x < image.width(); ++x) {
            if (image.pixelColor(x, y).lightness() < 100) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return {top, bottom};
}

QRect buttonContents(QAbstractButton *button, QStyle::SubElement element)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    return button->style()->subElementRect(element, &option, button);
}

// The colours a desktop with a dark scheme hands the program.
QPalette darkPalette()
{
    QPalette dark = QApplication::palette();
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(42, 42, 42));
    dark.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::ButtonText, Qt::white);
    return dark;
}

// Puts the application's palette back however the test ends.
struct PaletteRestorer {
    const QPalette saved = QApplication::palette();
    ~PaletteRestorer() { QApplication::setPalette(saved); }
};

// Of the pixels in `area`, the one that stands out most from `background`:
// where a caption is drawn, the colour of its glyphs.
QColor strongestInk(const QImage &picture, const QRect &area, const QColor &background)
{
    QColor ink = background;
    double best = 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            const double contrast = ReadableColour::contrastRatio(pixel, background);
            if (contrast > best) {
                best = contrast;
                ink = pixel;
            }
        }
    }
    return ink;
}

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void font();
    void geometryAndColour_data();
    void geometryAndColour();
    void captions();
    void captionsFit();
    void firstCheckCaptionShowsNoLineBreak();
    void captionsAndMarksReadOnAnyDesktop_data();
    void captionsAndMarksReadOnAnyDesktop();
    void nameList();
    void codeListsStayHidden();
    void lessonTextLines();
    void lessonTextIsShownReadOnlyAndScrolls();
    void focusStartsInTextAndFollowsTabOrder();
    void startsClear();
    void showSelectionOnWidgets_data();
    void showSelectionOnWidgets();
    void ctrlClickDeselectClearsEverything();
    void clearIndicatorsClearsHandChanges();
    void icon();
    void iconShowsEachRendering_data();
    void iconShowsEachRendering();
    void accessibility();

private:
    std::unique_ptr<MainForm> form;
};

void TestMainForm::init()
{
    form = std::make_unique<MainForm>();
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

void TestMainForm::cleanup()
{
    form.reset();
}

void TestMainForm::window()
{
    const expected::Form &want = expected::form();
    QCOMPARE(form->windowTitle(), fromJson(want.title));
    QCOMPARE(form->size(), QSize(want.client[0], want.client[1]));
    // Fixed: the layout never moves.
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(form->windowFlags() & Qt::WindowCloseButtonHint);

    // Centred on the screen it opens on, with the frame the window system
    // gives it.
    const QRect screen = form->screen()->availableGeometry();
    const QRect frame = form->frameGeometry();
    QVERIFY2(qAbs(frame.center().x() - screen.center().x()) <= 1 &&
                 qAbs(frame.center().y() - screen.center().y()) <= 1,
             qPrintable(QStringLiteral("frame centred at %1,%2 on a screen centred at %3,%4")
                            .arg(frame.center().x())
                            .arg(frame.center().y())
                            .arg(screen.center().x())
                            .arg(screen.center().y())));
}

void TestMainForm::font()
{
    const expected::Form &want = expected::form();
    const QFont font = form->font();
    QCOMPARE(font.family(), fromJson(want.fontFamily));
    QCOMPARE(font.pointSize(), want.fontPoints);
    QCOMPARE(int(font.weight()), want.fontWeight); // Qt's weights are CSS's since Qt 6
    QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());

    // What is really drawn: Times New Roman, or its metric twin on Linux.
    const QString drawn = QFontInfo(font).family();
    QVERIFY2(drawn == fromJson(want.fontFamily) || drawn == "Liberation Serif", qPrintable(drawn));
    QVERIFY(QFontDatabase::writingSystems(drawn).contains(QFontDatabase::Cyrillic));
    QCOMPARE(QFontInfo(font).pixelSize(), want.fontPixels);

    for (QWidget *child : form->findChildren<QWidget *>())
        QVERIFY2(child->font() == font, qPrintable(child->objectName()));
}

void TestMainForm::geometryAndColour_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QColor>("colour"); // invalid: the toolkit's own

    for (const expected::Control &control : expected::form().controls) {
        const auto [left, top, width, height] = control.rect;
        QTest::newRow(control.name.c_str())
            << fromJson(control.name) << QRect(left, top, width, height) << colourOf(control);
    }
}

void TestMainForm::geometryAndColour()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    QFETCH(QColor, colour);

    QWidget *widget = control(*form, name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), rect);
    if (!colour.isValid() || !widget->isVisible())
        return;

    // A pixel of the window's picture, near the right edge where no text is.
    const QImage picture = form->grab().toImage();
    QCOMPARE(picture.pixelColor(rect.right() - 2, rect.center().y()), colour);
    QCOMPARE(picture.pixelColor(rect.left() + 1, rect.top() + 1), colour);
}

void TestMainForm::captions()
{
    for (const expected::Control &wanted : expected::form().controls) {
        if (wanted.text.empty())
            continue;
        QWidget *widget = control(*form, fromJson(wanted.name));
        QVERIFY2(widget, wanted.name.c_str());
        const auto *label = qobject_cast<QLabel *>(widget);
        const auto *button = qobject_cast<QAbstractButton *>(widget);
        QVERIFY2(label || button, wanted.name.c_str());
        QCOMPARE(label ? label->text() : button->text(), fromJson(wanted.text));
    }
    QCOMPARE(form->Label1->alignment(), Qt::AlignCenter);
}

void TestMainForm::captionsFit()
{
    const QFontMetrics metrics(form->font());
    for (QCheckBox *box : form->Check1) {
        const QRect room = buttonContents(box, QStyle::SE_CheckBoxContents);
        QVERIFY2(metrics.horizontalAdvance(box->text()) <= room.width(), qPrintable(box->text()));
        QVERIFY(metrics.height() <= box->height());
    }
    for (QRadioButton *button : form->Option1) {
        const QRect room = buttonContents(button, QStyle::SE_RadioButtonContents);
        QVERIFY2(metrics.horizontalAdvance(button->text()) <= room.width(),
                 qPrintable(button->text()));
        QVERIFY(metrics.height() <= button->height());
    }
    QVERIFY(metrics.horizontalAdvance(form->Label1->text()) <= form->Label1->width());
    QVERIFY(metrics.height() <= form->Label1->height());
    for (int row = 0; row < form->List1[0]->count(); ++row) {
        const QString name = form->List1[0]->item(row)->text();
        QVERIFY2(metrics.horizontalAdvance(name) <= form->List1[0]->viewport()->width(),
                 qPrintable(name));
    }
}

void TestMainForm::firstCheckCaptionShowsNoLineBreak()
{
    // The caption is stored with a line break of its own...
    QVERIFY(FormTexts::CheckCaptions[0].endsWith(QStringLiteral("\r\n")));
    // ...which must not push its text off the line the other two sit on.
    const int textLeft = buttonContents(form->Check1[0], QStyle::SE_CheckBoxContents).left();
    const auto first = inkRows(form->Check1[0], textLeft);
    const auto second = inkRows(form->Check1[1], textLeft);
    const auto third = inkRows(form->Check1[2], textLeft);
    QVERIFY(first.second > first.first); // there is text at all
    // Same letters above the line in all three; the first two have no descenders.
    QVERIFY2(
        qAbs(first.first - second.first) <= 1 && qAbs(first.first - third.first) <= 1,
        qPrintable(
            QStringLiteral("tops %1, %2, %3").arg(first.first).arg(second.first).arg(third.first)));
    QVERIFY2(qAbs(first.second - second.second) <= 1,
             qPrintable(QStringLiteral("bottoms %1, %2").arg(first.second).arg(second.second)));
}

void TestMainForm::captionsAndMarksReadOnAnyDesktop_data()
{
    QTest::addColumn<QPalette>("opened"); // the desktop's colours when the window opens
    QTest::addColumn<QPalette>("shown");  // and while it is looked at
    // Some desktops hand the new colours to every widget, not just to the application.
    QTest::addColumn<bool>("toEveryWidget");

    const QPalette light = QApplication::palette();
    // Readable on the green backgrounds, not on the orange heading.
    QPalette grey = light;
    grey.setColor(QPalette::WindowText, QColor(96, 96, 96));
    QTest::newRow("light") << light << light << false;
    QTest::newRow("light, grey text") << grey << grey << false;
    QTest::newRow("dark") << darkPalette() << darkPalette() << false;
    // What the window chose for the first scheme must not stick.
    QTest::newRow("turns dark while open") << grey << darkPalette() << false;
    QTest::newRow("turns light while open") << darkPalette() << grey << false;
    QTest::newRow("turns dark, every widget told") << grey << darkPalette() << true;
}

void TestMainForm::captionsAndMarksReadOnAnyDesktop()
{
    QFETCH(QPalette, opened);
    QFETCH(QPalette, shown);
    QFETCH(bool, toEveryWidget);
    // The measure itself: black on white, and a grey just short of the mark.
    QCOMPARE(ReadableColour::contrastRatio(Qt::black, Qt::white), 21.0);
    QVERIFY(qAbs(ReadableColour::contrastRatio(QColor(0x77, 0x77, 0x77), Qt::white) - 4.48) < 0.01);

    const PaletteRestorer restorer;
    QApplication::setPalette(opened);
    form = std::make_unique<MainForm>();
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QApplication::setPalette(shown);
    if (toEveryWidget) {
        // The window first, then its controls, each overwritten whole.
        form->setPalette(shown);
        for (QWidget *widget : form->findChildren<QWidget *>())
            widget->setPalette(shown);
    }
    QTRY_COMPARE(form->palette().color(QPalette::Base), shown.color(QPalette::Base));

    // The list and the lesson keep the desktop's colours.
    for (QWidget *widget : {form->List1[0]->viewport(), form->Text1->viewport()}) {
        const QImage picture = widget->grab().toImage();
        QCOMPARE(picture.pixelColor(picture.width() - 2, picture.height() - 2),
                 shown.color(QPalette::Base));
    }

    // Captions: sampled where the glyphs are drawn, and the role they are
    // drawn with.
    struct Caption {
        QWidget *widget;
        QRect area;
        QColor background; // fixed, whatever the desktop
    };
    const auto band = [](QWidget *widget) {
        return colourOf(expected::form().control(widget->objectName().toStdString()));
    };
    QList<Caption> captions = {{form->Label1, form->Label1->rect(), band(form->Label1)}};
    for (QCheckBox *box : form->Check1)
        captions.append({box, buttonContents(box, QStyle::SE_CheckBoxContents), band(box)});
    for (QRadioButton *button : form->Option1) {
        captions.append(
            {button, buttonContents(button, QStyle::SE_RadioButtonContents), band(button)});
    }
    for (const auto &[widget, area, fixed] : captions) {
        const QImage picture = widget->grab().toImage();
        const QColor background = picture.pixelColor(picture.width() - 2, picture.height() / 2);
        QCOMPARE(background, fixed);
        const QColor ink = strongestInk(picture, area, background);
        const QColor role = widget->palette().color(QPalette::WindowText);
        const QString figures = QStringLiteral("%1: ink %2 on %3, %4:1")
                                    .arg(widget->objectName(), ink.name(), background.name())
                                    .arg(ReadableColour::contrastRatio(ink, background), 0, 'f', 2);
        QVERIFY2(ReadableColour::contrastRatio(ink, background) >= 4.5, qPrintable(figures));
        QVERIFY2(ReadableColour::contrastRatio(role, background) >= 4.5, qPrintable(figures));
        QVERIFY2(ink == role, qPrintable(figures + " painted with " + role.name()));
        // The desktop's own colour, exactly, wherever it reads.
        const QColor desktop = shown.color(QPalette::WindowText);
        QCOMPARE(role, ReadableColour::contrastRatio(desktop, background) >= 4.5
                           ? desktop
                           : QColor(Qt::black));
    }

    // The tick and the dot stand out from the box and the circle they fill.
    QList<std::pair<QAbstractButton *, QRect>> indicators;
    for (QCheckBox *box : form->Check1)
        indicators.append({box, buttonContents(box, QStyle::SE_CheckBoxIndicator)});
    for (QRadioButton *button : form->Option1)
        indicators.append({button, buttonContents(button, QStyle::SE_RadioButtonIndicator)});
    // The refresh would undo a hand-set mark before a fading one settles.
    form->Timer1->stop();
    for (const auto &[button, rect] : indicators) {
        form->ClearIndicators();
        const QImage clear = button->grab(rect).toImage();
        button->setChecked(true);
        // Some styles (Windows') fade the mark in: take it once it has settled.
        QImage marked;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                const QImage before = button->grab(rect).toImage();
                QTest::qWait(50);
                marked = button->grab(rect).toImage();
                return marked != clear && marked == before;
            }(),
            3000);
        form->ClearIndicators();
        const QColor fill = clear.pixelColor(clear.rect().center());
        double strongest = 1;
        for (int y = 0; y < clear.height(); ++y) {
            for (int x = 0; x < clear.width(); ++x) {
                if (marked.pixel(x, y) != clear.pixel(x, y)) {
                    strongest = std::max(
                        strongest, ReadableColour::contrastRatio(marked.pixelColor(x, y), fill));
                }
            }
        }
        QVERIFY2(strongest >= 3, qPrintable(QStringLiteral("%1: mark %2:1 on %3")
                                                .arg(button->objectName())
                                                .arg(strongest, 0, 'f', 2)
                                                .arg(fill.name())));
    }
}

void TestMainForm::nameList()
{
    const auto &rows = expected::form().rows;
    QListWidget *list = form->List1[0];
    QVERIFY(list->isVisible());
    QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(list->count(), int(rows.size()));
    for (int row = 0; row < list->count(); ++row)
        QCOMPARE(list->item(row)->text(), fromJson(rows[row].name));
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(!list->isSortingEnabled());
    QVERIFY(!list->horizontalScrollBar()->isVisible());
}

void TestMainForm::codeListsStayHidden()
{
    for (int k = 1; k <= 2; ++k) {
        QListWidget *codes = form->List1[k];
        QVERIFY(!codes->isVisible());
        QVERIFY(!codes->isVisibleTo(form.get()));
        QCOMPARE(codes->focusPolicy(), Qt::NoFocus);
        const auto &rows = expected::form().rows;
        QCOMPARE(codes->count(), int(rows.size()));
        for (int row = 0; row < codes->count(); ++row) {
            const auto &code = k == 1 ? rows[row].nutrition : rows[row].residue;
            QCOMPARE(codes->item(row)->text(), fromJson(code));
        }
    }
    // Where the hidden lists overlap the visible one, the window shows the
    // visible list's rows exactly as it draws them.
    const QRect overlap(392, 80, 28, 100); // rows only, left of the scroll bar
    const QRect inList = overlap.translated(-form->List1[0]->pos());
    const auto picture = [](QWidget *widget, const QRect &rect) {
        return widget->grab(rect).toImage().convertToFormat(QImage::Format_RGB32);
    };
    QCOMPARE(picture(form.get(), overlap), picture(form->List1[0], inList));
    QCOMPARE(form->childAt(overlap.center()), form->List1[0]->viewport());
}

void TestMainForm::lessonTextLines()
{
    // The text the window is given, line by line, then whole: every line
    // ended the same way, and nothing after the last.
    const expected::Form &want = expected::form();
    const QString lesson = explanatoryText();
    QStringList lines = lesson.split(fromJson(want.lessonLineEnd));
    QCOMPARE(lines.takeLast(), QString());
    QStringList wanted;
    for (const std::string &line : want.lesson)
        wanted << fromJson(line);
    QCOMPARE(lines, wanted);
    QCOMPARE(lesson, fromJson(want.lessonText()));
}

void TestMainForm::lessonTextIsShownReadOnlyAndScrolls()
{
    QPlainTextEdit *text = form->Text1;
    const QString shown = text->toPlainText();
    // Every stored line is its own line on screen, with no stray carriage return.
    QVERIFY(!shown.contains(u'\r'));
    const auto lines = qsizetype(expected::form().lesson.size());
    QCOMPARE(shown.split(u'\n').mid(0, lines),
             explanatoryText().split(fromJson(expected::form().lessonLineEnd)).mid(0, lines));

    QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(text->verticalScrollBar()->isVisible());
    QVERIFY(text->verticalScrollBar()->maximum() > 0);

    // Pupils cannot erase the lesson, but can move through it with the keyboard.
    text->setFocus();
    QTest::keyClicks(text, QStringLiteral("abc"));
    QTest::keyClick(text, Qt::Key_Delete);
    QTest::keyClick(text, Qt::Key_Backspace);
    QTest::keyClick(text, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(text->toPlainText(), shown);
    QCOMPARE(text->verticalScrollBar()->value(), 0);
    QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
    QVERIFY(text->verticalScrollBar()->value() > 0);
    QVERIFY(text->viewport()->rect().contains(text->cursorRect()));
    QVERIFY(text->textCursor().atEnd());
    QTest::keyClick(text, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(text->verticalScrollBar()->value(), 0);
}

void TestMainForm::focusStartsInTextAndFollowsTabOrder()
{
    QCOMPARE(QApplication::focusWidget(), form->Text1);

    const QList<QWidget *> chain = {
        form->Text1,      form->Check1[0],  form->Check1[1],  form->Check1[2],  form->List1[0],
        form->Option1[0], form->Option1[1], form->Option1[2], form->Option1[3],
    };
    QList<QWidget *> order; // the form's own controls, in focus-chain order
    QWidget *widget = form->Text1;
    do {
        if (widget->parentWidget() == form.get() && widget->focusPolicy() != Qt::NoFocus)
            order << widget;
        widget = widget->nextInFocusChain();
    } while (widget != form->Text1);
    QCOMPARE(order, chain);

    // The option buttons are one stop, as in any radio group: Tab enters the
    // group once and the arrow keys move within it.
    auto tabs = [](int count) {
        QList<QWidget *> visited;
        for (int step = 0; step < count; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget();
        }
        return visited;
    };
    QCOMPARE(tabs(6), (QList<QWidget *>{form->Check1[0], form->Check1[1], form->Check1[2],
                                        form->List1[0], form->Option1[0], form->Text1}));
    QTest::keyClick(form->Text1, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), form->Option1[0]);
    QTest::keyClick(form->Option1[0], Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), form->Option1[1]);

    // The hidden code lists are never reached.
    const QList<QWidget *> all = tabs(20);
    QVERIFY(!all.contains(form->List1[1]) && !all.contains(form->List1[2]));
}

void TestMainForm::startsClear()
{
    QCOMPARE(form->List1[0]->selectedItems().size(), 0);
    QCOMPARE(shownChecks(*form), fromJson(expected::form().cleared.checks));
    QCOMPARE(shownOption(*form), expected::form().cleared.option);
    QVERIFY(form->Timer1->isActive());
}

void TestMainForm::showSelectionOnWidgets_data()
{
    QTest::addColumn<int>("row");
    for (int row : {0, 9, 10, 12, 13, 16})
        QTest::newRow(expected::form().rows[row].name.c_str()) << row;
}

void TestMainForm::showSelectionOnWidgets()
{
    QFETCH(int, row);
    const expected::Row &want = expected::form().rows[row];

    // Start from a state that owes nothing to the selection.
    for (QCheckBox *box : form->Check1)
        box->setChecked(true);
    form->Option1[(want.option + 1) % 4]->setChecked(true);

    const QSignalBlocker quiet(form->List1[0]); // only the direct call below may show it
    form->List1[0]->setCurrentRow(row);
    QCOMPARE(shownChecks(*form), QString("111"));

    form->ShowSelection();
    QCOMPARE(shownChecks(*form), fromJson(want.checks));
    QCOMPARE(shownOption(*form), want.option);
}

void TestMainForm::ctrlClickDeselectClearsEverything()
{
    const expected::Form &want = expected::form();
    QListWidget *list = form->List1[0];
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(*form, 0));
    QCOMPARE(shownChecks(*form), fromJson(want.rows[0].checks));
    QCOMPARE(shownOption(*form), want.rows[0].option);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(*form, 0));
    QVERIFY(list->selectedItems().isEmpty());
    QCOMPARE(list->currentRow(), 0); // still current, no longer selected
    form->ShowSelection();
    QCOMPARE(shownChecks(*form), fromJson(want.cleared.checks));
    QCOMPARE(shownOption(*form), want.cleared.option);
}

void TestMainForm::clearIndicatorsClearsHandChanges()
{
    for (QCheckBox *box : form->Check1)
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QTest::mouseClick(form->Option1[2], Qt::LeftButton, {}, QPoint(8, 9));
    QCOMPARE(shownChecks(*form), QString("111"));
    QCOMPARE(shownOption(*form), 2);

    form->ClearIndicators();
    QCOMPARE(shownChecks(*form), fromJson(expected::form().cleared.checks));
    QCOMPARE(shownOption(*form), expected::form().cleared.option);
}

void TestMainForm::icon()
{
    QVERIFY(!form->windowIcon().isNull());
    QVERIFY(form->windowIcon().availableSizes().contains(QSize(32, 32)));

    const QImage image(QStringLiteral(":/icons/aminokiselini-32.png"));
    QCOMPARE(image.size(), QSize(32, 32));
    QCOMPARE(image.format(), QImage::Format_Indexed8);
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    QVERIFY(colours.size() > 8);            // a picture, not a blank square
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0); // transparent around the burger

    // The larger renderings are the same picture.
    const QImage large = QImage(QStringLiteral(":/icons/aminokiselini-256.png"))
                             .scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_ARGB32);
    const QImage small = image.convertToFormat(QImage::Format_ARGB32);
    int far = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            far += qAbs(qGray(large.pixel(x, y)) - qGray(small.pixel(x, y))) > 64 ? 1 : 0;
    QVERIFY2(far < 32 * 32 / 10, qPrintable(QString::number(far)));
}

void TestMainForm::iconShowsEachRendering_data()
{
    QTest::addColumn<int>("size");
    for (int size : {32, 48, 64})
        QTest::addRow("%d", size) << size;
}

// The program decodes its icon itself; what the window hands to the desktop
// must be each file's picture, pixel for pixel, as the toolkit reads it.
void TestMainForm::iconShowsEachRendering()
{
    QFETCH(int, size);
    QVERIFY(form->windowIcon().availableSizes().contains(QSize(size, size)));
    const QImage shown = form->windowIcon()
                             .pixmap(QSize(size, size))
                             .toImage()
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage file = QImage(QStringLiteral(":/icons/aminokiselini-%1.png").arg(size))
                            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(shown.size(), QSize(size, size));
    QCOMPARE(shown, file);
}

void TestMainForm::accessibility()
{
    auto describe = [](QWidget *widget) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
        return face;
    };

    QAccessibleInterface *window = describe(form.get());
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), form->windowTitle());

    QAccessibleInterface *heading = describe(form->Label1);
    QCOMPARE(heading->role(), QAccessible::StaticText);
    QCOMPARE(heading->text(QAccessible::Name), form->Label1->text());

    const expected::Form &want = expected::form();
    const int row = 12; // Аргинин: two checks and an option
    const expected::Row &arginine = want.rows[row];
    form->List1[0]->setCurrentRow(row);
    for (int i = 0; i < amino::CheckBoxCount; ++i) {
        QAccessibleInterface *box = describe(form->Check1[i]);
        QCOMPARE(box->role(), QAccessible::CheckBox);
        QCOMPARE(box->text(QAccessible::Name), form->Check1[i]->text());
        QCOMPARE(bool(box->state().checked), arginine.checks[i] == '1');
    }
    for (int j = 0; j < amino::OptionButtonCount; ++j) {
        QAccessibleInterface *button = describe(form->Option1[j]);
        QCOMPARE(button->role(), QAccessible::RadioButton);
        QCOMPARE(button->text(QAccessible::Name), form->Option1[j]->text());
        QCOMPARE(bool(button->state().checked), j == arginine.option);
    }

    QAccessibleInterface *list = describe(form->List1[0]);
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->text(QAccessible::Name), fromJson(want.control("List1_0").accessibleName));
    QCOMPARE(list->childCount(), int(want.rows.size()));
    QAccessibleInterface *selected = list->child(row);
    QCOMPARE(selected->text(QAccessible::Name), fromJson(arginine.name));
    QVERIFY(selected->state().selected);
    QVERIFY(!list->child(0)->state().selected);

    QAccessibleInterface *text = describe(form->Text1);
    QCOMPARE(text->role(), QAccessible::EditableText);
    QCOMPARE(text->text(QAccessible::Name), fromJson(want.control("Text1_0").accessibleName));
    QVERIFY(text->state().readOnly);
    form->Text1->setFocus();
    QVERIFY(text->state().focused);

    for (int k = 1; k <= 2; ++k) {
        QAccessibleInterface *codes = describe(form->List1[k]);
        QVERIFY(codes->state().invisible);
        for (int child = 0; child < codes->childCount(); ++child)
            QVERIFY(codes->child(child)->state().invisible);
    }
    QVERIFY(!list->state().invisible);
}

QTEST_MAIN(TestMainForm)
#include "test_main_form.moc"
