#pragma once

#include "form_handlers.h"
#include "widget_indicators.h"

#include <QWidget>

#include <array>

class QLabel;
class QPlainTextEdit;
class QTimer;

// The program's one window: a heading, three check boxes for the nutritional
// class, four option buttons for the residue class, the list of amino acids
// (with two hidden lists holding their codes) and the lesson text. A timer
// keeps the indicators in step with the list's selection: its ticks and the
// lists' clicks go to the handlers of FormHandlers.
class MainForm : public QWidget, public amino::FormHandlers<MainForm> {
    Q_OBJECT

public:
    explicit MainForm(QWidget *parent = nullptr);

    // The face every control of the window is drawn in.
    static QFont formFont();

    QLabel *const Label1;
    const std::array<QCheckBox *, amino::CheckBoxCount> Check1;
    const std::array<QRadioButton *, amino::OptionButtonCount> Option1;
    const std::array<QListWidget *, 3> List1;
    QPlainTextEdit *const Text1;
    QTimer *const Timer1;

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class amino::FormHandlers<MainForm>;
    WidgetIndicators indicators() const { return WidgetIndicators(m_controls); }

    void buildControls();
    // The fixed backgrounds, and caption colours that read on them in the
    // desktop's current scheme; again whenever the scheme changes.
    void applyColours();

    FormControls m_controls;
    bool m_applyingColours = false;
};
