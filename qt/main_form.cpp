#include "main_form.h"

#include "accessibility.h"
#include "amino_acid_table.h"
#include "app_icon.h"
#include "explanatory_text.h"
#include "form_layout.h"
#include "form_strings.h"
#include "form_texts.h"
#include "readable_colour.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {

template <typename Widget, std::size_t Count>
std::array<Widget *, Count> makeWidgets(QWidget *parent)
{
    std::array<Widget *, Count> widgets;
    for (auto &widget : widgets)
        widget = new Widget(parent);
    return widgets;
}

// Check boxes and option buttons fill with the Button role, the rest with
// Window: colour whichever role the widget paints its background with. Only
// the roles set here stay fixed; the others follow the desktop.
void setBackground(QWidget *widget, const QColor &colour, QPalette palette = {})
{
    palette.setColor(widget->backgroundRole(), colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A caption on a fixed background keeps the desktop's text colour where that
// reads on it; a dark scheme's light text would not. Styles draw captions
// with WindowText, and some with the widget's foreground role.
void setCaptionBackground(QWidget *widget, const QColor &colour)
{
    const QPalette desktop = QApplication::palette(widget);
    QPalette captions;
    // A disabled caption is meant to look faint; these are never disabled.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        for (const QPalette::ColorRole role : {QPalette::WindowText, widget->foregroundRole()}) {
            captions.setColor(group, role,
                              ReadableColour::textOn(colour, desktop.color(group, role)));
        }
    }
    setBackground(widget, colour, captions);
}

// The list and the text box keep the toolkit's own colours rather than
// inheriting the window's background.
void keepDefaultColours(QWidget *widget)
{
    setBackground(widget, QApplication::palette(widget).color(QPalette::Window));
    widget->setAutoFillBackground(false);
}

} // namespace

MainForm::MainForm(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      Label1(new QLabel(this)),
      Check1(makeWidgets<QCheckBox, amino::CheckBoxCount>(this)),
      Option1(makeWidgets<QRadioButton, amino::OptionButtonCount>(this)),
      List1(makeWidgets<QListWidget, 3>(this)),
      Text1(new QPlainTextEdit(this)),
      Timer1(new QTimer(this)),
      m_controls{List1, Check1, Option1, new QButtonGroup(this)}
{
    installAccessibility();
    buildControls();
    // Some desktops hand a new scheme to each widget in turn, overwriting the
    // controls' colours: watch them as well as the window.
    for (QObject *child : children()) {
        if (child->isWidgetType())
            child->installEventFilter(this);
    }

    // The handlers are FormHandlers', which is no QObject: reached through lambdas.
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    for (int index = 0; index < int(List1.size()); ++index) {
        connect(List1[index], &QListWidget::itemSelectionChanged, this,
                [this, index] { List1_Click(index); });
    }
    Timer1->start(FormLayout::TimerInterval);
}

QFont MainForm::formFont()
{
    QFont font(FormTexts::fromUtf8(amino::form::FontFamily), amino::form::FontPoints,
               QFont::Normal);
    font.setStyleHint(QFont::Serif);
    return font;
}

void MainForm::buildControls()
{
    using namespace FormLayout;

    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(FormTexts::windowTitle());
    setWindowIcon(appIcon());
    setFixedSize(ClientSize);

    setFont(formFont());

    Label1->setObjectName(QStringLiteral("Label1_0"));
    Label1->setText(FormTexts::Heading);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(HeadingGeometry);

    for (int i = 0; i < amino::CheckBoxCount; ++i) {
        Check1[i]->setObjectName(QStringLiteral("Check1_%1").arg(i));
        Check1[i]->setText(
            FormTexts::fromUtf8(amino::form::shownCaption(amino::form::CheckCaptions[i])));
        Check1[i]->setGeometry(CheckGeometry[i]);
    }

    for (int j = 0; j < amino::OptionButtonCount; ++j) {
        Option1[j]->setObjectName(QStringLiteral("Option1_%1").arg(j));
        Option1[j]->setText(FormTexts::OptionCaptions[j]);
        Option1[j]->setGeometry(OptionGeometry[j]);
        m_controls.optionGroup->addButton(Option1[j], j);
    }

    for (int k = 0; k < amino::AminoAcidTable::listCount; ++k) {
        QListWidget *list = List1[k];
        list->setObjectName(QStringLiteral("List1_%1").arg(k));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setGeometry(ListGeometry[k]);
        for (int row = 0; row < amino::AminoAcidTable::rowCount; ++row) {
            const std::string_view text = amino::AminoAcidTable::item(k, row);
            list->addItem(QString::fromUtf8(text.data(), qsizetype(text.size())));
        }
    }
    List1[0]->setAccessibleName(FormTexts::ListAccessibleName);
    // A list box scrolls up and down only, whatever the style's scroll bar
    // leaves of the longest name.
    List1[0]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The code lists hold data only: never shown, never focused.
    for (int k = 1; k < amino::AminoAcidTable::listCount; ++k) {
        List1[k]->setFocusPolicy(Qt::NoFocus);
        List1[k]->hide();
    }

    Text1->setObjectName(QStringLiteral("Text1_0"));
    Text1->setGeometry(TextGeometry);
    Text1->setAccessibleName(FormTexts::TextAccessibleName);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Pupils read the lesson but cannot erase it; the keyboard still moves
    // through it, so a screen reader can follow line by line.
    Text1->setReadOnly(true);
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text1->setTabChangesFocus(true);
    Text1->setFocusPolicy(Qt::StrongFocus);
    Text1->setPlainText(explanatoryText());

    Timer1->setObjectName(QStringLiteral("Timer1"));
    applyColours();

    setTabOrder(Text1, Check1[0]);
    setTabOrder(Check1[0], Check1[1]);
    setTabOrder(Check1[1], Check1[2]);
    setTabOrder(Check1[2], List1[0]);
    setTabOrder(List1[0], Option1[0]);
    setTabOrder(Option1[0], Option1[1]);
    setTabOrder(Option1[1], Option1[2]);
    setTabOrder(Option1[2], Option1[3]);
    Text1->setFocus();

    // Centred, frame and all: Windows knows the frame as soon as the window
    // exists; an X window manager adds its own later, around the client area.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        create();
        QRect frame(QPoint(), ClientSize.grownBy(windowHandle()->frameMargins()));
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void MainForm::applyColours()
{
    using namespace FormLayout;

    // Every palette set below raises PaletteChange, which leads back here.
    if (m_applyingColours)
        return;
    const QScopedValueRollback busy(m_applyingColours, true);

    setBackground(this, WindowColour);
    setCaptionBackground(Label1, HeadingColour);
    for (QCheckBox *box : Check1)
        setCaptionBackground(box, CheckColour);
    for (QRadioButton *button : Option1)
        setCaptionBackground(button, OptionColour);
    for (QListWidget *list : List1)
        keepDefaultColours(list);
    keepDefaultColours(Text1);
}

void MainForm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColours();
}

bool MainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        applyColours();
    return QWidget::eventFilter(watched, event);
}
