#include "explanatory_text.h"

#include "form_strings.h"

QString explanatoryText()
{
    return QString::fromStdString(amino::form::lessonText());
}
