#pragma once

#include <QWidget>

class QPushButton;
class QTextBrowser;
class QUrl;

namespace tallivo {

// The guide: Italian pages compiled into the program, read offline in a browser that follows
// the desktop's palette and font, with Indietro, Avanti and Sommario. Escape and Ctrl+W close
// it. A link "tallivo:esempio/<nome>" does not navigate: it asks, through sampleRequested, for
// that sample text to be analysed and opened in the workbench.
class FGuida : public QWidget {
    Q_OBJECT

public:
    explicit FGuida(QWidget* parent = nullptr);

    // Shows a topic: a page of the guide, with an anchor after "#" ("decifra#vigenere"), or the
    // start page for an empty topic or a page the guide does not have. The topics F1 opens:
    // "finestra" (main window), "finestra#menu", "finestra#statistiche", "finestra#informazioni",
    // "decifra" and "decifra#<scheda>" (cesare, sostituzione, vigenere, affine, beaufort,
    // autochiave, trasposizione, playfair, che-cifrario, cifra), "esercizi", "insegnante".
    void ShowTopic(const QString& topic);

    // Returns the address of every page of the guide, the start page first.
    static QList<QUrl> Pages();

signals:
    // A sample link was followed: name is one of SampleTexts::Names() (or, for a link the guide
    // should not have, whatever it says).
    void sampleRequested(const QString& name);

private:
    void Follow(const QUrl& link);

    QTextBrowser* txtGuida;
    QPushButton* cmdIndietro;
    QPushButton* cmdAvanti;
    QPushButton* cmdSommario;
};

} // namespace tallivo
