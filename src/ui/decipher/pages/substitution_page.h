#pragma once

#include "cipher_page.h"
#include "key_edits.h"
#include "probable_word.h"
#include "substitution_hint.h"
#include "substitution_key.h"
#include "substitution_text.h"
#include "text_figures.h"
#include "word_pattern.h"

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace tallivo {

class BackgroundJob;
class CryptogramView;
class KeySlots;
class SearchProgressRow;

// A general substitution, worked as on paper: the plaintext letter of each cipher letter in 26
// slots and as a line of 26 characters, the ciphertext with the plaintext under it, and the
// aids that teach how such a key is found. The text's commonest bigrams, trigrams, doubled
// letters and short words stand beside the language's; a letter's assignment can be locked
// (Ctrl+L), and every proposal, hint and completion keeps it; the words of the language with
// the pattern of a cipher word, and the places where a probable word fits, are listed and
// assigned with a pick; "Suggerisci" proposes the surest assignment with its reason, and
// "Completa" fills every open letter, on a worker thread. The tools work on the start of a long
// text only (kToolLimit bytes).
class SubstitutionPage : public CipherPage {
    Q_OBJECT

public:
    // How much of the text the cryptogram shows and the aids work on.
    static constexpr std::size_t kToolLimit = std::size_t{1} << 20;

    SubstitutionPage(const PageContext& context, QWidget* parent = nullptr);

    QString Title() const override { return QStringLiteral("Sostituzione"); }
    QString CipherName() const override { return QStringLiteral("sostituzione"); }
    void SetText(const WorkText& text) override;
    void SetLanguage(const WorkLanguage& language) override;
    std::shared_ptr<const LetterMapping> Mapping() const override;
    std::vector<std::int32_t> PlainCounts() const override;
    QString KeyText() const override;
    std::optional<QString> SetKeyText(const QString& key) override;
    // The key, then "|" and the locked cipher letters if there are any ("xy.…|aeq").
    QString State() const override;
    void RestoreState(const QString& state) override;
    std::string Encrypt(std::string_view plain) const override;
    void RandomKey(std::mt19937_64& random, const KeyOptions& options) override;

    const LetterLocks& Locks() const;

private:
    // Makes key and locks those in use; if either changed, shows them and says so (keyChanged).
    bool ApplyKey(const SubstitutionKey& key, const LetterLocks& locks);
    // Shows the key in use everywhere it shows and drops what it made stale.
    void ShowKey();
    void ReadKeyLine(const QString& text);
    // The cipher letter whose slot is chosen (0 = a).
    int ChosenLetter() const;
    void ChooseLetter(int cipher);
    void ToggleLock();
    void Swap();
    void Propose();
    void AssignTyped(int cipher, int plain);
    void ShowFigures();
    void ShowPatterns();
    void ShowProbableWord();
    void PickPattern(int row);
    void PickFit(int row);
    void Suggest();
    void ApplyHint();
    void Complete();
    QString HintSentence(const SubstitutionHint& hint) const;
    void Tell(const QString& text, bool announced = false);

    MessageService& messages_;
    WorkText text_;
    WorkLanguage language_;
    std::shared_ptr<const SubstitutionText> letters_;
    TextFigures figures_; // of letters_
    std::optional<SubstitutionHint> hint_;
    std::vector<PatternMatch> patterns_;
    std::vector<ProbableWordFit> fits_;
    BackgroundJob* job_;
    bool awaited_ = false; // a hint or a completion is on its way

    KeySlots* grdChiave;
    QPushButton* cmdBlocca;
    QComboBox* cboScambiaCon;
    QPushButton* cmdScambia;
    QLineEdit* txtChiaveSostituzione;
    QPushButton* cmdProponi;
    QPushButton* cmdAzzera;
    QLabel* lblSuggerimento;
    QLabel* lblLimite;
    CryptogramView* viewCrittogramma;
    QTableWidget* tblLingua;
    QPushButton* cmdSuggerisci;
    QPushButton* cmdApplica;
    QPushButton* cmdCompleta;
    QLabel* lblAiuto;
    SearchProgressRow* prgRicerca;
    QLineEdit* txtParolaCifrata;
    QCheckBox* chkSoloBloccate;
    QListWidget* lstSchemi;
    QLabel* lblSchemi;
    QLineEdit* txtParolaProbabile;
    QListWidget* lstPosizioni;
    QLabel* lblParola;
    QAction* actBlocca;
};

} // namespace tallivo
