#include "form_strings.h"

#include "amino_acid_table.h"

namespace amino::form {

std::string windowTitle()
{
    return std::string(HomePage) + "  Химия - незаменими аминокиселини";
}

std::string_view shownCaption(std::string_view caption)
{
    while (caption.ends_with('\n') || caption.ends_with('\r'))
        caption.remove_suffix(1);
    return caption;
}

std::string lessonText()
{
    std::string text;
    const auto line = [&text](std::string_view words, std::string_view end = {}) {
        text.append(words).append(end).append("\r\n");
    };

    line("Протеиногенните аминокиселини изграждат белтъците на всички живи организми.");
    line("Разглежданите 20 аминокиселини се делят на заменими (3 бр.), незаменими (9 бр.) "
         "и условнозаменими (8 бр.).");
    line("Растенията и микроорганизмите могат да синтезират всички аминокиселини.");
    line("Животните си набавят незаменимите аминокиселини с храната.");
    line("Условнозаменимите аминокиселини са незаменими само в особени случаи "
         "(при болни, бременни майки, малки деца).");
    line("Разглеждани аминокиселини:");
    for (int row = 0; row < AminoAcidTable::rowCount; ++row)
        line(AminoAcidTable::item(AminoAcidTable::Names, row));
    line("Според свойствата на остатъка си тези аминокиселини се делят на четири "
         "основни категории:");
    for (std::size_t code = 0; code < OptionCaptions.size(); ++code)
        line(OptionCaptions[code], code + 1 == OptionCaptions.size() ? "." : ";");
    line("Задача: да се създаде проект, който свързва химията и информатиката.");
    line("Аминокиселините са подредени в списък и при посочване на ред от него "
         "автоматично се отбелязват съответното поле за отметка и съответният "
         "бутон за избор: полетата за отметка показват дали аминокиселината е "
         "заменима или незаменима, а бутоните за избор – вида на нейния остатък.");
    line("Прочетете повече за свойствата на аминокиселините.");
    return text;
}

} // namespace amino::form
