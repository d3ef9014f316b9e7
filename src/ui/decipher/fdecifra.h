#pragma once

#include "cipher_text.h"
#include "key_search.h"
#include "reference_frequencies.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace tallivo {

class KeySlots;
class LetterBars;
class TextPane;
class MessageService;

// The workbench: one text, a key of one of three kinds (a shift, a substitution, a keyword),
// and the plaintext under that key, shown whole and kept up to date with every change of the
// key, with its bars against a language, its index of coincidence and its chi-squared. Each
// kind has the tools that find its key: the chi-squared of every shift; a proposal by rank;
// the period table, the Kasiski examination and the best letter of each column.
class FDecifra : public QWidget {
    Q_OBJECT

public:
    struct Language {
        QString name;
        ReferenceTable table;
    };

    // What the workbench works on: the name the window shows, the text, and what was found
    // of its periods while it was read.
    struct Work {
        QString name;
        std::shared_ptr<const CipherText> text;
        std::vector<double> coincidences; // periods 1 to 20
        KasiskiExamination kasiski;
    };

    explicit FDecifra(MessageService& messages, QWidget* parent = nullptr);

    // Works on work from now on, with an empty key.
    void SetWork(Work work);

    // The languages to compare with, current selected.
    void SetLanguages(const std::vector<Language>& languages, int current);

    // The plaintext as the pane shows it.
    QString PlainText() const;

    // The key as "Copia chiave" copies it: the shift, the substitution's key line or the keyword.
    QString KeyText() const;

private:
    enum Mode { Caesar, Substitution, Vigenere };

    QWidget* BuildCaesar();
    QWidget* BuildSubstitution();
    QWidget* BuildVigenere();
    void ShowLanguageFigures();
    void ShowPeriods();
    void SetKeyword(const std::vector<int>& shifts);
    void ShowColumn();
    void ApplyKey();
    QString Decode(const std::string& bytes) const;
    const ReferenceTable& Reference() const;
    bool eventFilter(QObject* watched, QEvent* event) override;

    MessageService& messages_;
    Work work_;
    bool utf8_ = true;
    unsigned char unassigned_ = 1;
    std::vector<Language> languages_;
    std::vector<int> shifts_{0};
    std::vector<std::vector<std::int32_t>> columns_;

    QLabel* lblTesto;
    QComboBox* cboLingua;
    QTabWidget* tabModi;
    QSpinBox* spnSpostamento;
    QPushButton* cmdMigliorSpostamento;
    QTableWidget* tblSpostamenti;
    KeySlots* grdChiave;
    QLineEdit* txtChiaveSostituzione;
    QLabel* lblSuggerimento;
    QPushButton* cmdProponi;
    QPushButton* cmdAzzera;
    QTableWidget* tblPeriodi;
    QTableWidget* tblRipetizioni;
    QSpinBox* spnPeriodo;
    QPushButton* cmdTrovaPeriodo;
    QLineEdit* txtParolaChiave;
    QLabel* lblSuggerimentoParola;
    QPushButton* cmdMigliorChiave;
    QSpinBox* spnColonna;
    QSpinBox* spnSpostamentoColonna;
    LetterBars* barsColonna;
    LetterBars* barsTesto;
    QLabel* lblFigure;
    TextPane* txtChiaro;
    QPushButton* cmdCopiaTesto;
    QPushButton* cmdCopiaChiave;
};

} // namespace tallivo
