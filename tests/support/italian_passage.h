#pragma once

#include <QByteArray>

// A passage of Italian written for the workbench's page tests, about 900 letters, with
// accents, capitals and punctuation, and no J.
inline QByteArray ItalianPassage() {
    return QByteArrayLiteral(
        "La mattina del mercato, la piazza del paese si riempiva di voci prima ancora che il sole "
        "arrivasse sui tetti. I contadini scendevano dalle colline con le ceste piene di "
        "pomodori, di fichi e di pane ancora caldo, e ognuno cercava il posto migliore sotto i "
        "portici. Il vecchio farmacista apriva le imposte e guardava la gente passare, contando "
        "a mente quante volte il campanile avrebbe suonato prima di mezzogiorno. I bambini "
        "correvano tra le bancarelle, rubavano una ciliegia qua e là e tornavano dalle madri con "
        "le mani rosse. Verso le dieci arrivava il postino in bicicletta: portava lettere dalla "
        "città, cartoline dal mare e, qualche volta, un pacco legato con lo spago che tutti "
        "volevano vedere aprire. Nessuno sapeva leggere bene la calligrafia della zia Teresa, "
        "così il maestro veniva chiamato a decifrare le sue frasi lunghe e piene di consigli. "
        "Quando il mercato finiva, restavano sulla pietra soltanto foglie di cavolo, qualche "
        "piuma e il profumo del caffè che usciva dal bar all'angolo, dove gli uomini discutevano "
        "del raccolto e della pioggia che non voleva venire.");
}
