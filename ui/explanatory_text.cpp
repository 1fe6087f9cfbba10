#include "explanatory_text.h"

#include "amino_acid_table.h"
#include "form_texts.h"

#include <QStringList>

QString explanatoryText()
{
    using amino::AminoAcidTable;

    QStringList lines = {
        QStringLiteral(
            "Протеиногенните аминокиселини изграждат белтъците на всички живи организми."),
        QStringLiteral(
            "Разглежданите 20 аминокиселини се делят на заменими (3 бр.), незаменими (9 бр.) "
            "и условнозаменими (8 бр.)."),
        QStringLiteral("Растенията и микроорганизмите могат да синтезират всички аминокиселини."),
        QStringLiteral("Животните си набавят незаменимите аминокиселини с храната."),
        QStringLiteral("Условнозаменимите аминокиселини са незаменими само в особени случаи "
                       "(при болни, бременни майки, малки деца)."),
        QStringLiteral("Разглеждани аминокиселини:"),
    };
    for (int row = 0; row < AminoAcidTable::rowCount; ++row) {
        const std::string_view name = AminoAcidTable::item(AminoAcidTable::Names, row);
        lines << QString::fromUtf8(name.data(), qsizetype(name.size()));
    }
    lines << QStringLiteral(
        "Според свойствата на остатъка си тези аминокиселини се делят на четири "
        "основни категории:");
    for (qsizetype code = 0; code < FormTexts::OptionCaptions.size(); ++code) {
        const bool last = code == FormTexts::OptionCaptions.size() - 1;
        lines << FormTexts::OptionCaptions[code] + (last ? u'.' : u';');
    }
    lines << QStringLiteral("Задача: да се създаде проект, който свързва химията и информатиката.")
          << QStringLiteral(
                 "Аминокиселините са подредени в списък и при посочване на ред от него "
                 "автоматично се отбелязват съответното поле за отметка и съответният "
                 "бутон за избор: полетата за отметка показват дали аминокиселината е "
                 "заменима или незаменима, а бутоните за избор – вида на нейния остатък.")
          << QStringLiteral("Прочетете повече за свойствата на аминокиселините.");

    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}
