// The window as a pupil sees it: geometry, colours, font, captions, lists,
// lesson text, focus order, icon, accessibility, and the display procedures
// acting on the real widgets.
#include "expected_table.h"
#include "explanatory_text.h"
#include "form_probe.h"
#include "form_texts.h"
#include "main_form.h"

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
    QCOMPARE(form->windowTitle(),
             QStringLiteral("aminokiselini.example  Химия - незаменими аминокиселини"));
    QCOMPARE(form->size(), QSize(461, 351));
    // Fixed: the layout never moves.
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(form->windowFlags() & Qt::WindowCloseButtonHint);

    // Centred on the screen it opens on (give or take the frame).
    const QRect screen = form->screen()->availableGeometry();
    QVERIFY(qAbs(form->geometry().center().x() - screen.center().x()) <= 4);
    QVERIFY(qAbs(form->geometry().center().y() - screen.center().y()) <= 4);
}

void TestMainForm::font()
{
    const QFont font = form->font();
    QCOMPARE(font.family(), QStringLiteral("Times New Roman"));
    QCOMPARE(font.pointSize(), 12);
    QCOMPARE(font.weight(), QFont::Normal);
    QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());

    // What is really drawn: Times New Roman, or its metric twin on Linux.
    const QString drawn = QFontInfo(font).family();
    QVERIFY2(drawn == "Times New Roman" || drawn == "Liberation Serif", qPrintable(drawn));
    QVERIFY(QFontDatabase::writingSystems(drawn).contains(QFontDatabase::Cyrillic));
    QCOMPARE(QFontInfo(font).pixelSize(), 16); // 12 points at 96 dots per inch

    for (QWidget *child : form->findChildren<QWidget *>())
        QVERIFY2(child->font() == font, qPrintable(child->objectName()));
}

void TestMainForm::geometryAndColour_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QColor>("colour"); // invalid: the toolkit's own

    const QColor heading(255, 192, 128), check(128, 255, 128), option(0, 255, 0);
    QTest::newRow("heading") << "Label1_0" << QRect(64, 0, 305, 25) << heading;
    QTest::newRow("check 0") << "Check1_0" << QRect(16, 32, 257, 25) << check;
    QTest::newRow("check 1") << "Check1_1" << QRect(16, 56, 257, 25) << check;
    QTest::newRow("check 2") << "Check1_2" << QRect(16, 80, 257, 25) << check;
    QTest::newRow("option 0") << "Option1_0" << QRect(16, 120, 281, 19) << option;
    QTest::newRow("option 1") << "Option1_1" << QRect(16, 144, 281, 19) << option;
    QTest::newRow("option 2") << "Option1_2" << QRect(16, 168, 281, 19) << option;
    QTest::newRow("option 3") << "Option1_3" << QRect(16, 192, 281, 19) << option;
    QTest::newRow("list") << "List1_0" << QRect(320, 48, 121, 137) << QColor();
    QTest::newRow("nutrition codes") << "List1_1" << QRect(392, 72, 49, 137) << QColor();
    QTest::newRow("residue codes") << "List1_2" << QRect(408, 80, 49, 137) << QColor();
    QTest::newRow("text") << "Text1_0" << QRect(8, 224, 449, 121) << QColor();
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
    QCOMPARE(form->Label1->text(), QStringLiteral("Вид аминокиселини и остатък"));
    QCOMPARE(form->Label1->alignment(), Qt::AlignCenter);
    QCOMPARE(form->Check1[0]->text(), QStringLiteral("заменими аминокиселини"));
    QCOMPARE(form->Check1[1]->text(), QStringLiteral("незаменими аминокиселини"));
    QCOMPARE(form->Check1[2]->text(), QStringLiteral("условнозаменими аминокиселини"));
    QCOMPARE(form->Option1[0]->text(), QStringLiteral("неутрални с неполярен остатък"));
    QCOMPARE(form->Option1[1]->text(), QStringLiteral("неутрални със слабо полярен остатък"));
    QCOMPARE(form->Option1[2]->text(), QStringLiteral("с ациден остатък"));
    QCOMPARE(form->Option1[3]->text(), QStringLiteral("с основен остатък"));
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

void TestMainForm::nameList()
{
    QListWidget *list = form->List1[0];
    QVERIFY(list->isVisible());
    QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(list->count(), 20);
    for (int row = 0; row < 20; ++row)
        QCOMPARE(list->item(row)->text(), QString::fromUtf8(ExpectedTable[row].name));
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(!list->isSortingEnabled());
}

void TestMainForm::codeListsStayHidden()
{
    for (int k = 1; k <= 2; ++k) {
        QListWidget *codes = form->List1[k];
        QVERIFY(!codes->isVisible());
        QVERIFY(!codes->isVisibleTo(form.get()));
        QCOMPARE(codes->focusPolicy(), Qt::NoFocus);
        QCOMPARE(codes->count(), 20);
        for (int row = 0; row < 20; ++row) {
            const char *code = k == 1 ? ExpectedTable[row].nutrition : ExpectedTable[row].residue;
            QCOMPARE(codes->item(row)->text(), QString::fromLatin1(code));
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
    const QString text = explanatoryText();
    QCOMPARE(text.count(QStringLiteral("\r\n")), 34);
    QVERIFY(text.endsWith(QStringLiteral("\r\n")));
    QCOMPARE(text.count(u'\n'), 34); // no bare line feeds
    QCOMPARE(text.count(u'\r'), 34); // nor bare carriage returns

    QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.takeLast(), QString()); // after the last line's break
    QCOMPARE(lines.size(), 34);
    for (const QString &line : lines)
        QVERIFY(!line.trimmed().isEmpty());

    QVERIFY(lines[1].contains(QStringLiteral("(3 бр.)")));
    QVERIFY(lines[1].contains(QStringLiteral("(9 бр.)")));
    QVERIFY(lines[1].contains(QStringLiteral("(8 бр.)")));
    QCOMPARE(lines[5], QStringLiteral("Разглеждани аминокиселини:"));
    for (int row = 0; row < 20; ++row)
        QCOMPARE(lines[6 + row], QString::fromUtf8(ExpectedTable[row].name));
    QVERIFY(lines[26].endsWith(u':'));
    QCOMPARE(lines[27], QStringLiteral("неутрални с неполярен остатък;"));
    QCOMPARE(lines[28], QStringLiteral("неутрални със слабо полярен остатък;"));
    QCOMPARE(lines[29], QStringLiteral("с ациден остатък;"));
    QCOMPARE(lines[30], QStringLiteral("с основен остатък."));
}

void TestMainForm::lessonTextIsShownReadOnlyAndScrolls()
{
    QPlainTextEdit *text = form->Text1;
    const QString shown = text->toPlainText();
    // Every stored line is its own line on screen, with no stray carriage return.
    QVERIFY(!shown.contains(u'\r'));
    QCOMPARE(shown.split(u'\n').mid(0, 34),
             explanatoryText().split(QStringLiteral("\r\n")).mid(0, 34));

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
    QCOMPARE(shownChecks(*form), QString(ClearChecks));
    QCOMPARE(shownOption(*form), NoOption);
    QVERIFY(form->Timer1->isActive());
}

void TestMainForm::showSelectionOnWidgets_data()
{
    QTest::addColumn<int>("row");
    for (int row : {0, 9, 10, 12, 13, 16})
        QTest::newRow(ExpectedTable[row].name) << row;
}

void TestMainForm::showSelectionOnWidgets()
{
    QFETCH(int, row);
    const ExpectedRow &expected = ExpectedTable[row];

    // Start from a state that owes nothing to the selection.
    for (QCheckBox *box : form->Check1)
        box->setChecked(true);
    form->Option1[(expected.option + 1) % 4]->setChecked(true);

    const QSignalBlocker quiet(form->List1[0]); // only the direct call below may show it
    form->List1[0]->setCurrentRow(row);
    QCOMPARE(shownChecks(*form), QString("111"));

    form->ShowSelection();
    QCOMPARE(shownChecks(*form), QString::fromLatin1(expected.checks));
    QCOMPARE(shownOption(*form), expected.option);
}

void TestMainForm::ctrlClickDeselectClearsEverything()
{
    QListWidget *list = form->List1[0];
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(*form, 0));
    QCOMPARE(shownChecks(*form), QString("010"));
    QCOMPARE(shownOption(*form), 3);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(*form, 0));
    QVERIFY(list->selectedItems().isEmpty());
    QCOMPARE(list->currentRow(), 0); // still current, no longer selected
    form->ShowSelection();
    QCOMPARE(shownChecks(*form), QString(ClearChecks));
    QCOMPARE(shownOption(*form), NoOption);
}

void TestMainForm::clearIndicatorsClearsHandChanges()
{
    for (QCheckBox *box : form->Check1)
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QTest::mouseClick(form->Option1[2], Qt::LeftButton, {}, QPoint(8, 9));
    QCOMPARE(shownChecks(*form), QString("111"));
    QCOMPARE(shownOption(*form), 2);

    form->ClearIndicators();
    QCOMPARE(shownChecks(*form), QString(ClearChecks));
    QCOMPARE(shownOption(*form), NoOption);
}

void TestMainForm::icon()
{
    QVERIFY(!form->windowIcon().isNull());
    QVERIFY(form->windowIcon().availableSizes().contains(QSize(32, 32)));

    const QImage image(QStringLiteral(":/icons/aminokiselini-32.png"));
    QCOMPARE(image.size(), QSize(32, 32));
    QCOMPARE(image.format(), QImage::Format_Indexed8);
    QVERIFY(image.colorCount() <= 256);
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

    form->List1[0]->setCurrentRow(12); // Аргинин: checks 1 and 2, option 3
    for (int i = 0; i < amino::CheckBoxCount; ++i) {
        QAccessibleInterface *box = describe(form->Check1[i]);
        QCOMPARE(box->role(), QAccessible::CheckBox);
        QCOMPARE(box->text(QAccessible::Name), form->Check1[i]->text());
        QCOMPARE(bool(box->state().checked), i != 0);
    }
    for (int j = 0; j < amino::OptionButtonCount; ++j) {
        QAccessibleInterface *button = describe(form->Option1[j]);
        QCOMPARE(button->role(), QAccessible::RadioButton);
        QCOMPARE(button->text(QAccessible::Name), form->Option1[j]->text());
        QCOMPARE(bool(button->state().checked), j == 3);
    }

    QAccessibleInterface *list = describe(form->List1[0]);
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Аминокиселини"));
    QCOMPARE(list->childCount(), 20);
    QAccessibleInterface *arginine = list->child(12);
    QCOMPARE(arginine->text(QAccessible::Name), QStringLiteral("Аргинин"));
    QVERIFY(arginine->state().selected);
    QVERIFY(!list->child(0)->state().selected);

    QAccessibleInterface *text = describe(form->Text1);
    QCOMPARE(text->role(), QAccessible::EditableText);
    QCOMPARE(text->text(QAccessible::Name), QStringLiteral("Обяснение"));
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
