#pragma once

#include "cipher_page.h"
#include "playfair_key.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace tallivo {

class BackgroundJob;
class SearchProgressRow;

// Pairs of letters through a 5 x 5 square of the alphabet, I standing for J: the square built
// from a keyword or set letter by letter in its grid, applied at once, and found by simulated
// annealing on the quadgrams. Enciphering gives the letters alone, in capitals.
//
// The key as text: the square's 25 letters row by row ("PLAYFIREXMBCDGHKNOQSTUVWZ"); a keyword
// is read too, the rest of the alphabet following its letters.
class PlayfairPage : public CipherPage {
    Q_OBJECT

public:
    // The letters of the ciphertext the search works on: enough for the square to show, and a
    // long text takes no longer.
    static constexpr std::size_t kSearchedLetters = 800;

    PlayfairPage(const PageContext& context, QWidget* parent = nullptr);
    ~PlayfairPage() override;

    QString Title() const override { return QStringLiteral("Playfair"); }
    QString CipherName() const override { return QStringLiteral("playfair"); }
    void SetText(const WorkText& text) override;
    void SetLanguage(const WorkLanguage& language) override;
    std::shared_ptr<const LetterMapping> Mapping() const override;
    std::vector<std::int32_t> PlainCounts() const override;
    QString KeyText() const override;
    std::optional<QString> SetKeyText(const QString& key) override;
    std::string Encrypt(std::string_view plain) const override;
    bool EncryptKeepsLayout() const override { return false; }
    void RandomKey(std::mt19937_64& random, const KeyOptions& options) override;
    void SetEnciphering(bool enciphering) override;

    // Puts letter (a..z, J as I) into the square's cell (0..24, row by row); the letter that
    // was there takes the letter's old cell. Returns false, changing nothing, for no letter.
    bool PutLetter(int cell, QChar letter);
    // Swaps the letters of two cells.
    void SwapCells(int first, int second);

private:
    // Makes key the key in use and shows it; keyChanged follows.
    void UseKey(const PlayfairKey& key);
    void ShowSquare();
    void ReadKeyword(const QString& text);
    void CellEdited(QTableWidgetItem* item);
    void FindBestKey();

    WorkText text_;
    WorkLanguage language_;
    PlayfairKey key_;
    // The ciphertext's letters taken two by two, as Playfair reads them (J as I), counted by
    // pair (first * 26 + second), and its odd last letter if any (-1 for none): the plaintext's
    // counts under any square without reading the text again.
    std::vector<std::int64_t> pairCounts_;
    int oddLetter_ = -1;
    std::uint64_t searches_ = 0; // each search of a text starts from other squares
    BackgroundJob* searchJob_;

    QLineEdit* txtParolaChiave;
    QTableWidget* tblQuadrato;
    QPushButton* cmdScambia;
    QPushButton* cmdMigliorChiave;
    QLabel* lblSuggerimento;
    QLabel* lblRegole;
    SearchProgressRow* prgRicerca;
};

} // namespace tallivo
