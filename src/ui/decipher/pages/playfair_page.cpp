#include "playfair_page.h"

#include "background_job.h"
#include "page_widgets.h"
#include "playfair_solver.h"
#include "search_progress_row.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tallivo {

namespace {

constexpr int kSide = PlayfairKey::kSide;

QString KeyRule() {
    return QStringLiteral("La chiave è una parola chiave di lettere a–z (J vale I), da cui si "
                          "costruisce il quadrato, o le 25 lettere del quadrato riga per riga.");
}

// Returns the letter (0 = a, J as I) that c stands for in the square, or -1.
int SquareLetter(QChar c) {
    const char16_t u = c.toLower().unicode();
    if (u < u'a' || u > u'z') {
        return -1;
    }
    const int letter = u - u'a';
    return letter == PlayfairKey::kJ ? PlayfairKey::kI : letter;
}

} // namespace

PlayfairPage::PlayfairPage(const PageContext&, QWidget* parent)
    : CipherPage(parent)
    , pairCounts_(26 * 26, 0)
    , searchJob_(new BackgroundJob(this)) {
    setObjectName(QStringLiteral("pagPlayfair"));
    txtParolaChiave = MakeLine(this, "txtParolaPlayfair", QStringLiteral("Parola chiave"));
    txtParolaChiave->setToolTip(QStringLiteral("Le lettere della parola, ognuna una volta, poi il "
                                               "resto dell'alfabeto, riga per riga"));
    cmdMigliorChiave =
        MakeButton(this, "cmdMigliorChiavePlayfair", QStringLiteral("&Miglior chiave"));
    cmdMigliorChiave->setAccessibleName(QStringLiteral("Miglior chiave"));
    cmdMigliorChiave->setToolTip(QStringLiteral("Cerca il quadrato il cui testo in chiaro somiglia "
                                                "di più alla lingua; può richiedere qualche "
                                                "secondo"));

    tblQuadrato = new QTableWidget(kSide, kSide, this);
    tblQuadrato->setObjectName(QStringLiteral("tblQuadrato"));
    tblQuadrato->setAccessibleName(QStringLiteral("Quadrato della chiave"));
    tblQuadrato->setAccessibleDescription(
        QStringLiteral("Scrivere una lettera in una casella la scambia con la casella dove si "
                       "trovava."));
    tblQuadrato->setTabKeyNavigation(false);
    tblQuadrato->setEditTriggers(QAbstractItemView::DoubleClicked |
                                 QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);
    tblQuadrato->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tblQuadrato->horizontalHeader()->setVisible(false);
    tblQuadrato->verticalHeader()->setVisible(false);
    const int cell = tblQuadrato->fontMetrics().height() * 2;
    tblQuadrato->horizontalHeader()->setDefaultSectionSize(cell);
    tblQuadrato->verticalHeader()->setDefaultSectionSize(cell);
    tblQuadrato->setFixedSize(cell * kSide + 2 * tblQuadrato->frameWidth(),
                              cell * kSide + 2 * tblQuadrato->frameWidth());
    tblQuadrato->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tblQuadrato->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    cmdScambia = MakeButton(this, "cmdScambia", QStringLiteral("Sc&ambia"));
    cmdScambia->setAccessibleName(QStringLiteral("Scambia le due caselle scelte"));
    cmdScambia->setToolTip(QStringLiteral("Scambia le lettere delle due caselle scelte nel "
                                          "quadrato"));

    lblSuggerimento = MakeHint(this, "lblSuggerimentoPlayfair");
    lblRegole = new QLabel(this);
    lblRegole->setObjectName(QStringLiteral("lblRegole"));
    lblRegole->setWordWrap(true);
    prgRicerca = new SearchProgressRow(this);
    prgRicerca->setObjectName(QStringLiteral("prgRicercaPlayfair"));

    auto* form = new QFormLayout;
    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(txtParolaChiave, 1);
    keyRow->addWidget(cmdMigliorChiave);
    form->addRow(MakeBuddyLabel(this, QStringLiteral("&Parola chiave:"), txtParolaChiave), keyRow);
    auto* squareRow = new QHBoxLayout;
    squareRow->addWidget(tblQuadrato);
    auto* squareSide = new QVBoxLayout;
    auto* swapRow = new QHBoxLayout;
    swapRow->addWidget(cmdScambia);
    swapRow->addStretch(1);
    squareSide->addLayout(swapRow);
    squareSide->addWidget(lblRegole);
    squareSide->addStretch(1);
    squareRow->addLayout(squareSide, 1);
    form->addRow(MakeBuddyLabel(this, QStringLiteral("&Quadrato:"), tblQuadrato), squareRow);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(lblSuggerimento);
    layout->addWidget(prgRicerca);
    layout->addStretch(1);

    connect(txtParolaChiave, &QLineEdit::textEdited, this, &PlayfairPage::ReadKeyword);
    connect(tblQuadrato, &QTableWidget::itemChanged, this, &PlayfairPage::CellEdited);
    connect(cmdScambia, &QPushButton::clicked, this, [this] {
        const QList<QTableWidgetItem*> chosen = tblQuadrato->selectedItems();
        if (chosen.size() != 2) {
            lblSuggerimento->setText(QStringLiteral("Scegli due caselle del quadrato da "
                                                    "scambiare (Ctrl+clic o Maiusc+frecce)."));
            return;
        }
        SwapCells(chosen[0]->row() * kSide + chosen[0]->column(),
                  chosen[1]->row() * kSide + chosen[1]->column());
    });
    connect(cmdMigliorChiave, &QPushButton::clicked, this, &PlayfairPage::FindBestKey);

    SetEnciphering(false);
    ShowSquare();
}

PlayfairPage::~PlayfairPage() = default;

void PlayfairPage::SetEnciphering(bool enciphering) {
    lblRegole->setText(
        enciphering
            ? QStringLiteral("Cifrando, J diventa I; una X separa due lettere uguali che "
                             "cadrebbero nella stessa coppia (una Q se le lettere sono due X) e "
                             "completa l'ultima coppia se le lettere sono dispari. Il testo "
                             "cifrato è di sole lettere maiuscole, in gruppi di cinque: spazi e "
                             "punteggiatura si perdono.")
            : QStringLiteral("Le lettere si decifrano a coppie; il testo in chiaro ha I al posto "
                             "di J e tiene le X (o Q) che il cifrante aveva aggiunto tra due "
                             "lettere uguali o in fondo."));
}

void PlayfairPage::SetText(const WorkText& text) {
    searchJob_->Stop();
    text_ = text;
    key_ = PlayfairKey();
    searches_ = 0;
    std::fill(pairCounts_.begin(), pairCounts_.end(), 0);
    oddLetter_ = -1;
    if (text_.text) {
        const std::vector<std::uint8_t>& letters = text_.text->letters();
        std::size_t i = 0;
        for (; i + 1 < letters.size(); i += 2) {
            ++pairCounts_[std::size_t(letters[i]) * 26 + letters[i + 1]];
        }
        oddLetter_ = i < letters.size() ? int(letters[i]) : -1;
    }
    lblSuggerimento->clear();
    ShowSquare();
}

void PlayfairPage::SetLanguage(const WorkLanguage& language) {
    language_ = language;
}

void PlayfairPage::UseKey(const PlayfairKey& key) {
    key_ = key;
    lblSuggerimento->clear();
    ShowSquare();
    emit keyChanged();
}

void PlayfairPage::ShowSquare() {
    const QSignalBlocker quiet(tblQuadrato);
    for (int cell = 0; cell < PlayfairKey::kCells; ++cell) {
        const QString letter(QChar(char16_t(u'A' + key_.square()[std::size_t(cell)])));
        QTableWidgetItem* item = tblQuadrato->item(cell / kSide, cell % kSide);
        if (item == nullptr) {
            item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            tblQuadrato->setItem(cell / kSide, cell % kSide, item);
        }
        item->setText(letter);
        item->setData(Qt::AccessibleTextRole, QStringLiteral("Riga %1, colonna %2: %3")
                                                  .arg(cell / kSide + 1)
                                                  .arg(cell % kSide + 1)
                                                  .arg(letter));
    }
    // The keyword as typed stays while it makes this square.
    const Parsed<PlayfairKey> typed = PlayfairKey::Parse(txtParolaChiave->text().toStdString());
    // A square from elsewhere (found, drawn, edited, given by an exercise) shows as its letters.
    if (!typed.ok() || !(typed.key() == key_)) {
        txtParolaChiave->setText(QString::fromStdString(key_.Text()));
    }
}

void PlayfairPage::ReadKeyword(const QString& text) {
    const Parsed<PlayfairKey> parsed = PlayfairKey::Parse(text.toStdString());
    if (!parsed.ok()) {
        lblSuggerimento->setText(KeyErrorText(parsed.error(), KeyRule()));
        return;
    }
    UseKey(parsed.key());
}

bool PlayfairPage::PutLetter(int cell, QChar letter) {
    const int wanted = SquareLetter(letter);
    if (wanted < 0 || cell < 0 || cell >= PlayfairKey::kCells) {
        return false;
    }
    const auto& square = key_.square();
    const auto from =
        int(std::find(square.begin(), square.end(), std::uint8_t(wanted)) - square.begin());
    SwapCells(cell, from);
    return true;
}

void PlayfairPage::SwapCells(int first, int second) {
    std::array<std::uint8_t, PlayfairKey::kCells> square = key_.square();
    std::swap(square[std::size_t(first)], square[std::size_t(second)]);
    UseKey(PlayfairKey(square));
    emit announce(QStringLiteral("Scambiate %1 e %2")
                      .arg(QChar(char16_t(u'A' + square[std::size_t(second)])))
                      .arg(QChar(char16_t(u'A' + square[std::size_t(first)]))));
}

void PlayfairPage::CellEdited(QTableWidgetItem* item) {
    const QString text = item->text().trimmed();
    const int cell = item->row() * kSide + item->column();
    if (text.size() != 1 || !PutLetter(cell, text.front())) {
        ShowSquare(); // the cell shows its letter again
        lblSuggerimento->setText(
            KeyErrorText(text.isEmpty() ? KeyError::Empty : KeyError::NotALetter,
                         QStringLiteral("Una casella del quadrato prende una lettera a–z, che "
                                        "si scambia con la casella dove era.")));
    }
}

void PlayfairPage::FindBestKey() {
    if (const std::optional<QString> refusal = SearchRefusal(text_)) {
        lblSuggerimento->setText(*refusal);
        return;
    }
    lblSuggerimento->clear();
    const std::shared_ptr<const CipherText> text = text_.text;
    const LanguageModel* model = &ScoringModel(language_);
    PlayfairSearch search;
    search.seed = ++searches_;
    searchJob_->Start<Found<PlayfairKey>>(
        [text, model, search](std::stop_token stop, const BackgroundJob::Progress& progress) {
            const std::vector<std::uint8_t>& letters = text->letters();
            const std::span<const std::uint8_t> searched(
                letters.data(), std::min(letters.size(), kSearchedLetters) & ~std::size_t{1});
            return SolvePlayfair(searched, *model, search, stop, progress);
        },
        [this, model](Found<PlayfairKey> found) {
            UseKey(found.key);
            const std::size_t letters =
                std::min(text_.text->letters().size(), kSearchedLetters) & ~std::size_t{1};
            const double perQuadgram = found.score / double(std::max<std::size_t>(letters, 4) - 3);
            // Annealing may end far from the square: a plaintext well below the language's
            // level says so, and another search starts from other squares.
            if (perQuadgram < LanguageQuadgramLevel(*model) - 0.5) {
                lblSuggerimento->setText(
                    QStringLiteral("Il testo in chiaro non somiglia ancora alla lingua: premi di "
                                   "nuovo «Miglior chiave», che riparte da altri quadrati."));
            }
            emit announce(QStringLiteral("Miglior chiave: %1").arg(KeyText()));
        });
    prgRicerca->Watch(searchJob_, QStringLiteral("Ricerca del quadrato…"));
}

std::shared_ptr<const LetterMapping> PlayfairPage::Mapping() const {
    if (!text_.text) {
        return std::make_shared<MovedLettersMapping>([] { return std::vector<std::uint8_t>(); });
    }
    return std::make_shared<MovedLettersMapping>(
        [text = text_.text, key = key_] { return key.DecryptLetters(text->letters()); });
}

std::vector<std::int32_t> PlayfairPage::PlainCounts() const {
    // Each pair the text holds deciphered once, in one pass over at most 26 x 26 pairs.
    std::vector<std::uint8_t> pairs;
    std::vector<std::int64_t> times;
    for (std::size_t pair = 0; pair < pairCounts_.size(); ++pair) {
        if (pairCounts_[pair] > 0) {
            pairs.push_back(std::uint8_t(pair / 26));
            pairs.push_back(std::uint8_t(pair % 26));
            times.push_back(pairCounts_[pair]);
        }
    }
    const std::vector<std::uint8_t> plain = key_.DecryptLetters(pairs);
    std::vector<std::int32_t> counts(26, 0);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        counts[plain[i]] += std::int32_t(times[i / 2]);
    }
    if (oddLetter_ >= 0) {
        ++counts[std::size_t(oddLetter_)]; // a letter without a partner stays as it is
    }
    return counts;
}

QString PlayfairPage::KeyText() const {
    return QString::fromStdString(key_.Text());
}

std::optional<QString> PlayfairPage::SetKeyText(const QString& key) {
    const Parsed<PlayfairKey> parsed = PlayfairKey::Parse(key.toStdString());
    if (!parsed.ok()) {
        return KeyErrorText(parsed.error(), KeyRule());
    }
    txtParolaChiave->setText(key.trimmed()); // a keyword given shows as it was written
    UseKey(parsed.key());
    return std::nullopt;
}

std::string PlayfairPage::Encrypt(std::string_view plain) const {
    return key_.Encrypt(plain);
}

void PlayfairPage::RandomKey(std::mt19937_64& random, const KeyOptions&) {
    UseKey(PlayfairKey::Random(random));
}

} // namespace tallivo
