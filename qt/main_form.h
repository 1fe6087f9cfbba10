#pragma once

#include "widget_indicators.h"

#include <QWidget>

#include <array>

class QLabel;
class QPlainTextEdit;
class QTimer;

// The program's one window: a heading, three check boxes for the nutritional
// class, four option buttons for the residue class, the list of amino acids
// (with two hidden lists holding their codes) and the lesson text. A timer
// keeps the indicators in step with the list's selection.
class MainForm : public QWidget {
    Q_OBJECT

public:
    explicit MainForm(QWidget *parent = nullptr);

    // The caption a check box shows for a stored caption: without the
    // trailing line break, which a check box has no room to show.
    static QString shownCaption(const QString &caption);
    // The face every control of the window is drawn in.
    static QFont formFont();

    // Shows the classification of the selected row on the seven indicators.
    void ShowSelection();
    // Clears all seven indicators.
    void ClearIndicators();

    QLabel *const Label1;
    const std::array<QCheckBox *, amino::CheckBoxCount> Check1;
    const std::array<QRadioButton *, amino::OptionButtonCount> Option1;
    const std::array<QListWidget *, 3> List1;
    QPlainTextEdit *const Text1;
    QTimer *const Timer1;

public slots:
    // A list reports a change of its selection; only the name list counts.
    void List1_Click(int index);
    void Timer1_Timer();

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    // The fixed backgrounds, and caption colours that read on them in the
    // desktop's current scheme; again whenever the scheme changes.
    void applyColours();

    FormControls m_controls;
    bool m_applyingColours = false;
};
