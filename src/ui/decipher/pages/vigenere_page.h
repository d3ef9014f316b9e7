#pragma once

#include "cipher_page.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tallivo {

class LetterBars;

// A keyword, one shift per column of letters: the period table and the Kasiski examination
// that find the period, the best letter of each column, and one column's bars to shift by
// hand. The keyword stays as the student typed it; the period decides how much of it is used
// (its first letters, and "a" past its end).
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

    // Returns the shifts in use: the keyword cut or filled with "a" to the period.
    std::vector<int> ShiftsInUse() const;

private:
    void ShowPeriods();
    // The keyword becomes shifts, as typed or as found; the period follows its length.
    void SetKeyword(const std::vector<int>& shifts);
    void SetPeriod(int period);
    void ShowKeyword();
    void ShowColumn();

    WorkText text_;
    WorkLanguage language_;
    std::shared_ptr<const PeriodFigures> periods_;
    std::vector<int> keyword_{0};
    std::vector<std::vector<std::int32_t>> columns_;

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
};

} // namespace tallivo
