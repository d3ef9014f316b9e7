#pragma once

#include "cipher_page.h"
#include "periodic_crib.h"

class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tallivo {

class LetterBars;

// A keyword, one key letter per column of letters: the period table and the Kasiski
// examination that find the period, the best letter of each column, a probable word slid along
// the text, and one column's bars to shift by hand. The keyword stays as the student typed it;
// the period decides how much of it is used (its first letters, and "a" past its end). The
// page works in one sense of the Vigenère family; Vigenère's own (c = p + k) here.
class VigenerePage : public CipherPage {
    Q_OBJECT

public:
    VigenerePage(const PageContext& context, QWidget* parent = nullptr);

    QString Title() const override { return QStringLiteral("Vigenère"); }
    QString CipherName() const override { return QStringLiteral("vigenere"); }
    void SetText(const WorkText& text) override;
    void SetPeriods(const std::shared_ptr<const PeriodFigures>& periods) override;
    void SetLanguage(const WorkLanguage& language) override;
    std::shared_ptr<const LetterMapping> Mapping() const override;
    std::vector<std::int32_t> PlainCounts() const override;
    QString KeyText() const override;
    std::optional<QString> SetKeyText(const QString& key) override;
    std::string Encrypt(std::string_view plain) const override;
    void RandomKey(std::mt19937_64& random, const KeyOptions& options) override;

    // Returns the key letters in use (0 = a): the keyword cut or filled with "a" to the period.
    std::vector<int> ShiftsInUse() const;

    // The most letters a probable word is slid along, from the text's start, and the most
    // placements listed.
    static constexpr std::size_t kCribLetters = 4000;
    static constexpr int kCribRows = 400;

protected:
    // A page of sense, for the other ciphers of the family.
    VigenerePage(const PageContext& context, PeriodicSense sense, QWidget* parent);

    PeriodicSense Sense() const { return sense_; }
    // Deciphers in sense from now on, with the same keyword.
    void SetSense(PeriodicSense sense);
    // The form the key's controls are in, for a row of the family's own.
    QFormLayout* Form() const { return form_; }
    // Reads a keyword as SetKeyText takes it and makes it the key in use; returns why not, with
    // also (if any) after the rule the keyword breaks.
    std::optional<QString> TakeKeyword(const QString& keyword, const QString& also = {});

private:
    void ShowPeriods();
    void FindThePeriod();
    // The keyword becomes key letters, as typed or as found; the period follows its length.
    void SetKeyword(const std::vector<int>& shifts);
    void SetPeriod(int period);
    void ShowKeyword();
    void ShowColumn();
    void SlideProbableWord();
    void ShowPlacements();
    void UsePlacement(int row);
    std::vector<ByteTable> DecryptTables() const;

    PeriodicSense sense_;
    WorkText text_;
    WorkLanguage language_;
    std::shared_ptr<const PeriodFigures> periods_;
    std::vector<int> keyword_{0};
    std::vector<std::vector<std::int32_t>> columns_;
    std::vector<CribPlacement> placements_; // as listed, one a row

    QFormLayout* form_;
    QTableWidget* tblPeriodi;
    QTableWidget* tblRipetizioni;
    QSpinBox* spnPeriodo;
    QPushButton* cmdTrovaPeriodo;
    QLabel* lblPeriodoTrovato;
    QLineEdit* txtParolaChiave;
    QLabel* lblSuggerimentoParola;
    QPushButton* cmdMigliorChiave;
    QSpinBox* spnColonna;
    QSpinBox* spnSpostamentoColonna;
    LetterBars* barsColonna;
    QLineEdit* txtParolaProbabile;
    QLabel* lblParolaProbabile;
    QTableWidget* tblParolaProbabile;
    QPushButton* cmdUsaPosizione;
};

} // namespace tallivo
