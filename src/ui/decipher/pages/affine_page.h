#pragma once

#include "affine_solver.h"
#include "cipher_page.h"

class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tallivo {

// An affine key, x becoming a·x + b: a and b by hand (a only coprime with 26), Atbash at a
// button, and all 312 keys ranked by how much their plaintext reads as the language. Its key is
// written "a,b", e.g. "5,8".
class AffinePage : public CipherPage {
    Q_OBJECT

public:
    AffinePage(const PageContext& context, QWidget* parent = nullptr);

    QString Title() const override { return QStringLiteral("Affine"); }
    QString CipherName() const override { return QStringLiteral("affine"); }
    void SetText(const WorkText& text) override;
    void SetLanguage(const WorkLanguage& language) override;
    std::shared_ptr<const LetterMapping> Mapping() const override;
    std::vector<std::int32_t> PlainCounts() const override;
    QString KeyText() const override;
    std::optional<QString> SetKeyText(const QString& key) override;
    std::string Encrypt(std::string_view plain) const override;
    void RandomKey(std::mt19937_64& random, const KeyOptions& options) override;

    // The most letters, from the text's start, the ranking reads.
    static constexpr std::size_t kRankedLetters = 3000;

private:
    void SetKey(const AffineKey& key);
    void ReadSpins();
    void RankKeys();

    WorkText text_;
    WorkLanguage language_;
    AffineKey key_;
    std::vector<AffineCandidate> ranked_;

    QSpinBox* spnMoltiplicatore;
    QSpinBox* spnSpostamentoAffine;
    QPushButton* cmdAtbash;
    QPushButton* cmdMigliorChiave;
    QLabel* lblSuggerimentoAffine;
    QLabel* lblClassifica;
    QTableWidget* tblChiaviAffini;
};

} // namespace tallivo
