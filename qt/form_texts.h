#pragma once

#include "form_strings.h"

#include <QString>
#include <QStringList>

#include <string_view>

// The form's texts as the window's controls take them.
namespace FormTexts {

inline QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

template <std::size_t Count> QStringList fromUtf8(const std::array<std::string_view, Count> &texts)
{
    QStringList list;
    for (const std::string_view text : texts)
        list << fromUtf8(text);
    return list;
}

inline QString windowTitle()
{
    return QString::fromStdString(amino::form::windowTitle());
}

inline const QString Heading = fromUtf8(amino::form::Heading);
inline const QStringList CheckCaptions = fromUtf8(amino::form::CheckCaptions);
inline const QStringList OptionCaptions = fromUtf8(amino::form::OptionCaptions);
inline const QString ListAccessibleName = fromUtf8(amino::form::ListAccessibleName);
inline const QString TextAccessibleName = fromUtf8(amino::form::TextAccessibleName);

} // namespace FormTexts
