#pragma once

#include <QString>
#include <QStringList>

// Every caption the window shows, in one place.
namespace FormTexts {

// The project's home page, shown at the start of the window title.
inline const QString HomePage = QStringLiteral("aminokiselini.example");

inline QString windowTitle()
{
    return HomePage + QStringLiteral("  Химия - незаменими аминокиселини");
}

inline const QString Heading = QStringLiteral("Вид аминокиселини и остатък");

// The first caption carries a trailing line break of its own; see
// MainForm::shownCaption().
inline const QStringList CheckCaptions = {
    QStringLiteral("заменими аминокиселини\r\n"),
    QStringLiteral("незаменими аминокиселини"),
    QStringLiteral("условнозаменими аминокиселини"),
};

inline const QStringList OptionCaptions = {
    QStringLiteral("неутрални с неполярен остатък"),
    QStringLiteral("неутрални със слабо полярен остатък"),
    QStringLiteral("с ациден остатък"),
    QStringLiteral("с основен остатък"),
};

// Names a screen reader announces for the controls without a caption.
inline const QString ListAccessibleName = QStringLiteral("Аминокиселини");
inline const QString TextAccessibleName = QStringLiteral("Обяснение");

} // namespace FormTexts
