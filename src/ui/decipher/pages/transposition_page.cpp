#include "transposition_page.h"

#include "background_job.h"
#include "columnar_solver.h"
#include "page_widgets.h"
#include "rail_fence_solver.h"
#include "search_progress_row.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace tallivo {

namespace {

// A columnar key is judged by the first rows of its plaintext, about this many letters: enough
// to tell the right order, and a long text costs no more than a short one.
constexpr std::size_t kScoredLetters = 2000;

// What a key of the page is, for a sentence about a key that does not fit.
QString KeyRule() {
    return QStringLiteral("La chiave per colonne è una parola di %1–%2 lettere o i numeri delle "
                          "colonne nell'ordine di lettura, per esempio «3 1 4 2»; quella della "
                          "staccionata è «staccionata» e i binari, da %3 a %4, per esempio "
                          "«staccionata 3».")
        .arg(TranspositionPage::kFewestColumns)
        .arg(TranspositionPage::kMostColumns)
        .arg(RailFenceKey::kFewest)
        .arg(RailFenceKey::kMost);
}

const QString kRailFenceWord = QStringLiteral("staccionata");

} // namespace

TranspositionPage::TranspositionPage(const PageContext&, QWidget* parent)
    : CipherPage(parent)
    , searchJob_(new BackgroundJob(this)) {
    setObjectName(QStringLiteral("pagTrasposizione"));

    optColonne = new QRadioButton(QStringLiteral("Per &colonne"), this);
    optColonne->setObjectName(QStringLiteral("optColonne"));
    optColonne->setAccessibleName(QStringLiteral("Trasposizione per colonne"));
    optColonne->setChecked(true);
    optStaccionata = new QRadioButton(QStringLiteral("&Staccionata"), this);
    optStaccionata->setObjectName(QStringLiteral("optStaccionata"));
    optStaccionata->setAccessibleName(QStringLiteral("Staccionata"));
    cmdMigliorChiave =
        MakeButton(this, "cmdMigliorChiaveTrasposizione", QStringLiteral("&Miglior chiave"));
    cmdMigliorChiave->setAccessibleName(QStringLiteral("Miglior chiave"));
    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(optColonne);
    modeRow->addWidget(optStaccionata);
    modeRow->addStretch(1);
    modeRow->addWidget(cmdMigliorChiave);

    // By columns: how many, their order as text, and the grid to reorder them in.
    auto* columnsPage = new QWidget(this);
    columnsPage->setObjectName(QStringLiteral("pagColonne"));
    spnColonne = MakeSpin(columnsPage, "spnColonne", QStringLiteral("Numero di colonne"),
                          kFewestColumns, kMostColumns);
    txtOrdine = MakeLine(columnsPage, "txtOrdine", QStringLiteral("Ordine delle colonne"));
    txtOrdine->setToolTip(QStringLiteral("Il numero d'ordine di lettura di ogni colonna, da "
                                         "sinistra, per esempio «3 1 4 2», o una parola chiave"));
    chkSoloColonne =
        new QCheckBox(QStringLiteral("Cerca solo con &questo numero di colonne"), columnsPage);
    chkSoloColonne->setObjectName(QStringLiteral("chkSoloColonne"));
    chkSoloColonne->setAccessibleName(QStringLiteral("Cerca solo con questo numero di colonne"));
    tblGriglia = new QTableWidget(0, 0, columnsPage);
    tblGriglia->setObjectName(QStringLiteral("tblGriglia"));
    tblGriglia->setAccessibleName(QStringLiteral("Griglia delle colonne"));
    tblGriglia->setAccessibleDescription(
        QStringLiteral("Ogni colonna porta in testa il suo numero d'ordine di lettura. Alt+Freccia "
                       "sinistra e Alt+Freccia destra spostano la colonna scelta."));
    tblGriglia->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblGriglia->setSelectionBehavior(QAbstractItemView::SelectColumns);
    tblGriglia->setSelectionMode(QAbstractItemView::SingleSelection);
    tblGriglia->setTabKeyNavigation(false);
    tblGriglia->verticalHeader()->setVisible(false);
    tblGriglia->horizontalHeader()->setSectionsMovable(true);
    tblGriglia->horizontalHeader()->setDefaultSectionSize(tblGriglia->fontMetrics().height() * 2);
    tblGriglia->verticalHeader()->setDefaultSectionSize(tblGriglia->fontMetrics().height() + 4);
    tblGriglia->installEventFilter(this);
    lblGriglia = new QLabel(columnsPage);
    lblGriglia->setObjectName(QStringLiteral("lblGriglia"));
    lblGriglia->setWordWrap(true);
    cmdSinistra = MakeButton(columnsPage, "cmdSinistra", QStringLiteral("Sposta a sinistr&a"));
    cmdSinistra->setAccessibleName(QStringLiteral("Sposta la colonna a sinistra"));
    cmdSinistra->setToolTip(QStringLiteral("Sposta la colonna scelta a sinistra (Alt+Freccia "
                                           "sinistra nella griglia)"));
    cmdDestra = MakeButton(columnsPage, "cmdDestra", QStringLiteral("Sposta a d&estra"));
    cmdDestra->setAccessibleName(QStringLiteral("Sposta la colonna a destra"));
    cmdDestra->setToolTip(QStringLiteral("Sposta la colonna scelta a destra (Alt+Freccia destra "
                                         "nella griglia)"));
    auto* columnsForm = new QFormLayout;
    columnsForm->addRow(
        MakeBuddyLabel(columnsPage, QStringLiteral("Numero di co&lonne:"), spnColonne), spnColonne);
    columnsForm->addRow(
        MakeBuddyLabel(columnsPage, QStringLiteral("O&rdine delle colonne:"), txtOrdine),
        txtOrdine);
    columnsForm->addRow(chkSoloColonne);
    auto* moveRow = new QHBoxLayout;
    moveRow->addWidget(cmdSinistra);
    moveRow->addWidget(cmdDestra);
    moveRow->addStretch(1);
    auto* keySide = new QVBoxLayout;
    keySide->addLayout(columnsForm);
    keySide->addLayout(moveRow);
    keySide->addWidget(lblGriglia);
    keySide->addStretch(1);
    auto* gridSide = new QVBoxLayout;
    gridSide->addWidget(MakeBuddyLabel(
        columnsPage, QStringLiteral("&Prime righe della griglia,\ncome nel testo in chiaro:"),
        tblGriglia));
    gridSide->addWidget(tblGriglia, 1);
    auto* columnsLayout = new QHBoxLayout(columnsPage);
    columnsLayout->setContentsMargins(0, 0, 0, 0);
    columnsLayout->addLayout(keySide, 1);
    columnsLayout->addLayout(gridSide);

    // The rail fence: how many rails, and every number of rails ranked.
    auto* railsPage = new QWidget(this);
    railsPage->setObjectName(QStringLiteral("pagStaccionata"));
    spnBinari = MakeSpin(railsPage, "spnBinari", QStringLiteral("Binari"), RailFenceKey::kFewest,
                         RailFenceKey::kMost);
    tblBinari = MakeTable(railsPage, "tblBinari", QStringLiteral("Binari per punteggio"),
                          {QStringLiteral("Binari"), QStringLiteral("Punteggio per quadrigramma")});
    auto* railsForm = new QFormLayout;
    railsForm->addRow(MakeBuddyLabel(railsPage, QStringLiteral("&Binari:"), spnBinari), spnBinari);
    auto* railsNote = new QLabel(
        QStringLiteral("Il testo è scritto a zig-zag su e giù per i binari e letto binario per "
                       "binario. «Miglior chiave» prova da %1 a %2 binari e li mette in ordine di "
                       "punteggio: più alto, più il testo somiglia alla lingua.")
            .arg(RailFenceKey::kFewest)
            .arg(RailFenceKey::kMost),
        railsPage);
    railsNote->setObjectName(QStringLiteral("lblNotaStaccionata"));
    railsNote->setWordWrap(true);
    railsForm->addRow(railsNote);
    auto* railsLayout = new QVBoxLayout(railsPage);
    railsLayout->setContentsMargins(0, 0, 0, 0);
    railsLayout->addLayout(railsForm);
    railsLayout->addWidget(tblBinari, 1);

    stkModo = new QStackedWidget(this);
    stkModo->setObjectName(QStringLiteral("stkTrasposizione"));
    stkModo->addWidget(columnsPage);
    stkModo->addWidget(railsPage);
    lblSuggerimento = MakeHint(this, "lblSuggerimentoTrasposizione");
    prgRicerca = new SearchProgressRow(this);
    prgRicerca->setObjectName(QStringLiteral("prgRicercaTrasposizione"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(modeRow);
    layout->addWidget(stkModo, 1);
    layout->addWidget(lblSuggerimento);
    layout->addWidget(prgRicerca);

    connect(optStaccionata, &QRadioButton::toggled, this, [this](bool railFence) {
        ShowMode(railFence);
        emit keyChanged();
    });
    connect(spnColonne, &QSpinBox::valueChanged, this, [this](int columns) {
        // Another number of columns starts from them read left to right.
        std::vector<int> order(std::size_t(columns), 0);
        std::iota(order.begin(), order.end(), 0);
        UseColumnar(ColumnarKey(order));
    });
    connect(txtOrdine, &QLineEdit::textEdited, this, &TranspositionPage::ReadOrderLine);
    connect(cmdSinistra, &QPushButton::clicked, this,
            [this] { MoveColumn(tblGriglia->currentColumn(), -1); });
    connect(cmdDestra, &QPushButton::clicked, this,
            [this] { MoveColumn(tblGriglia->currentColumn(), 1); });
    connect(tblGriglia->horizontalHeader(), &QHeaderView::sectionMoved, this,
            &TranspositionPage::TakeDraggedOrder);
    connect(spnBinari, &QSpinBox::valueChanged, this,
            [this](int rails) { UseRailFence(RailFenceKey(rails)); });
    connect(tblBinari, &QTableWidget::cellActivated, this, [this](int row, int) {
        if (row >= 0 && std::size_t(row) < rankedRails_.size()) {
            spnBinari->setValue(rankedRails_[std::size_t(row)]);
        }
    });
    connect(cmdMigliorChiave, &QPushButton::clicked, this, &TranspositionPage::FindBestKey);

    ShowMode(false);
    ShowColumnar();
}

TranspositionPage::~TranspositionPage() = default;

bool TranspositionPage::IsRailFence() const {
    return optStaccionata->isChecked();
}

void TranspositionPage::SetText(const WorkText& text) {
    searchJob_->Stop();
    text_ = text;
    columnar_ = ColumnarKey();
    railFence_ = RailFenceKey();
    rankedRails_.clear();
    tblBinari->setRowCount(0);
    lblSuggerimento->clear();
    SetQuietly(spnBinari, railFence_.rails());
    ShowColumnar();
}

void TranspositionPage::SetLanguage(const WorkLanguage& language) {
    language_ = language;
}

void TranspositionPage::ShowMode(bool railFence) {
    stkModo->setCurrentIndex(railFence ? 1 : 0);
    lblSuggerimento->clear();
}

void TranspositionPage::UseColumnar(const ColumnarKey& key) {
    columnar_ = key;
    lblSuggerimento->clear();
    ShowColumnar();
    if (IsRailFence()) {
        optColonne->setChecked(true); // keyChanged follows
        return;
    }
    emit keyChanged();
}

void TranspositionPage::UseRailFence(const RailFenceKey& key) {
    railFence_ = key;
    lblSuggerimento->clear();
    SetQuietly(spnBinari, key.rails());
    if (!IsRailFence()) {
        optStaccionata->setChecked(true); // keyChanged follows
        return;
    }
    emit keyChanged();
}

void TranspositionPage::ShowColumnar() {
    SetQuietly(spnColonne, int(columnar_.columns()));
    // The student's own writing of the key (a keyword) stays while it means the same key.
    const Parsed<ColumnarKey> typed = ColumnarKey::Parse(txtOrdine->text().toStdString());
    if (!typed.ok() || !(typed.key() == columnar_)) {
        txtOrdine->setText(QString::fromStdString(columnar_.Text()));
    }
    ShowGrid();
}

std::vector<int> TranspositionPage::Ranks() const {
    std::vector<int> ranks(columnar_.columns());
    for (std::size_t k = 0; k < columnar_.columns(); ++k) {
        ranks[std::size_t(columnar_.order()[k])] = int(k) + 1;
    }
    return ranks;
}

void TranspositionPage::ShowGrid() {
    const int current = tblGriglia->currentColumn();
    const std::vector<int> ranks = Ranks();
    const int columns = int(ranks.size());
    std::vector<std::span<const std::uint8_t>> letters;
    std::size_t rows = 0;
    if (text_.text) {
        letters = columnar_.Columns(text_.text->letters());
        for (const std::span<const std::uint8_t> column : letters) {
            rows = std::max(rows, column.size());
        }
    }
    const int shown = int(std::min<std::size_t>(rows, kShownRows));
    tblGriglia->clear();
    tblGriglia->setColumnCount(columns);
    tblGriglia->setRowCount(shown);
    QStringList headers;
    for (const int rank : ranks) {
        headers << QString::number(rank);
    }
    tblGriglia->setHorizontalHeaderLabels(headers);
    for (int column = 0; column < columns; ++column) {
        QTableWidgetItem* header = tblGriglia->horizontalHeaderItem(column);
        const QString read = QStringLiteral("Colonna %1, letta per %2ª")
                                 .arg(column + 1)
                                 .arg(ranks[std::size_t(column)]);
        header->setData(Qt::AccessibleTextRole, read);
        header->setToolTip(read + QStringLiteral(": trascinala per spostarla"));
    }
    for (int column = 0; column < int(letters.size()); ++column) {
        const std::span<const std::uint8_t> cells = letters[std::size_t(column)];
        for (int row = 0; row < shown && std::size_t(row) < cells.size(); ++row) {
            auto* item =
                new QTableWidgetItem(QString(QChar(char16_t(u'A' + cells[std::size_t(row)]))));
            item->setTextAlignment(Qt::AlignCenter);
            tblGriglia->setItem(row, column, item);
        }
    }
    // As wide as its columns, the rest of the row left to the key.
    tblGriglia->setFixedWidth(tblGriglia->horizontalHeader()->length() +
                              2 * tblGriglia->frameWidth() +
                              tblGriglia->verticalScrollBar()->sizeHint().width());
    if (current >= 0 && current < columns && shown > 0) {
        tblGriglia->setCurrentCell(0, current);
    }
    lblGriglia->setText(rows > std::size_t(shown)
                            ? QStringLiteral("Righe mostrate: %1 su %2.").arg(shown).arg(rows)
                            : QString());
}

void TranspositionPage::MoveColumn(int place, int by) {
    const std::vector<int> ranks = Ranks();
    const int to = place + by;
    if (place < 0 || place >= int(ranks.size())) {
        lblSuggerimento->setText(QStringLiteral("Scegli prima una colonna della griglia."));
        return;
    }
    if (to < 0 || to >= int(ranks.size())) {
        return; // already at the edge
    }
    std::vector<int> order(ranks.size());
    for (std::size_t column = 0; column < ranks.size(); ++column) {
        const std::size_t from = column == std::size_t(place) ? std::size_t(to)
                                 : column == std::size_t(to)  ? std::size_t(place)
                                                              : column;
        order[std::size_t(ranks[from] - 1)] = int(column);
    }
    UseColumnar(ColumnarKey(order));
    if (tblGriglia->rowCount() > 0) {
        tblGriglia->setCurrentCell(0, to);
    }
    emit announce(QStringLiteral("Colonna %1 spostata: ordine %2")
                      .arg(ranks[std::size_t(place)])
                      .arg(KeyText()));
}

void TranspositionPage::TakeDraggedOrder() {
    QHeaderView* header = tblGriglia->horizontalHeader();
    const std::vector<int> ranks = Ranks();
    std::vector<int> order(ranks.size());
    for (int place = 0; place < int(ranks.size()); ++place) {
        order[std::size_t(ranks[std::size_t(header->logicalIndex(place))] - 1)] = place;
    }
    {
        // The grid is drawn anew in the order taken: its header goes back to its places.
        const QSignalBlocker quiet(header);
        for (int column = 0; column < int(ranks.size()); ++column) {
            header->moveSection(header->visualIndex(column), column);
        }
    }
    UseColumnar(ColumnarKey(order));
}

void TranspositionPage::ReadOrderLine(const QString& text) {
    const Parsed<ColumnarKey> parsed = ColumnarKey::Parse(text.toStdString());
    if (!parsed.ok()) {
        lblSuggerimento->setText(KeyErrorText(parsed.error(), KeyRule()));
        return;
    }
    if (parsed.key().columns() > std::size_t(kMostColumns)) {
        lblSuggerimento->setText(KeyErrorText(KeyError::TooLong, KeyRule()));
        return;
    }
    UseColumnar(parsed.key());
}

bool TranspositionPage::eventFilter(QObject* watched, QEvent* event) {
    // Alt+Left and Alt+Right move the chosen column of the grid.
    if (watched == tblGriglia && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & Qt::AltModifier) &&
            (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right)) {
            MoveColumn(tblGriglia->currentColumn(), key->key() == Qt::Key_Left ? -1 : 1);
            return true;
        }
    }
    return CipherPage::eventFilter(watched, event);
}

void TranspositionPage::FindBestKey() {
    if (const std::optional<QString> refusal = SearchRefusal(text_)) {
        lblSuggerimento->setText(*refusal);
        return;
    }
    lblSuggerimento->clear();
    const std::shared_ptr<const CipherText> text = text_.text;
    const LanguageModel* model = &ScoringModel(language_);
    if (IsRailFence()) {
        searchJob_->Start<std::vector<std::pair<int, double>>>(
            [text, model](std::stop_token, const BackgroundJob::Progress&) {
                const std::size_t quadgrams = std::max<std::size_t>(1, text->letters().size() - 3);
                std::vector<std::pair<int, double>> ranking;
                for (const Found<RailFenceKey>& found : RankRailFences(text->letters(), *model)) {
                    ranking.emplace_back(found.key.rails(), found.score / double(quadgrams));
                }
                return ranking;
            },
            [this, model](std::vector<std::pair<int, double>> ranking) {
                ShowRanking(ranking);
                UseRailFence(RailFenceKey(ranking.front().first));
                // What the scores are measured against: running text of the language.
                lblSuggerimento->setText(
                    QStringLiteral("Un testo in %1 ha in media %2 per quadrigramma.")
                        .arg(language_.name.toLower(), Decimal(LanguageQuadgramLevel(*model), 3)));
                emit announce(QStringLiteral("Miglior chiave: %1 binari").arg(railFence_.rails()));
            });
    } else {
        ColumnarSearch search;
        if (chkSoloColonne->isChecked()) {
            search.fewest = search.most = spnColonne->value();
        } else {
            search.fewest = kFewestColumns;
            search.most = kMostColumns;
        }
        search.scoredLetters = kScoredLetters;
        searchJob_->Start<ColumnarKey>(
            [text, model, search](std::stop_token stop, const BackgroundJob::Progress& progress) {
                return SolveColumnar(text->letters(), *model, search, stop, progress).key;
            },
            [this](ColumnarKey key) {
                UseColumnar(key);
                emit announce(QStringLiteral("Miglior chiave: %1 colonne, ordine %2")
                                  .arg(key.columns())
                                  .arg(KeyText()));
            });
    }
    prgRicerca->Watch(searchJob_, QStringLiteral("Ricerca della miglior chiave…"));
}

void TranspositionPage::ShowRanking(const std::vector<std::pair<int, double>>& ranking) {
    rankedRails_.clear();
    tblBinari->setRowCount(int(ranking.size()));
    for (int row = 0; row < int(ranking.size()); ++row) {
        const auto [rails, score] = ranking[std::size_t(row)];
        rankedRails_.push_back(rails);
        const bool best = row == 0;
        SetCell(tblBinari, row, 0,
                best ? QStringLiteral("%1 — migliore").arg(rails) : QString::number(rails), best);
        SetCell(tblBinari, row, 1, Decimal(score, 3), best);
    }
}

std::shared_ptr<const LetterMapping> TranspositionPage::Mapping() const {
    if (!text_.text) {
        return std::make_shared<MovedLettersMapping>([] { return std::vector<std::uint8_t>(); });
    }
    const std::shared_ptr<const CipherText> text = text_.text;
    if (IsRailFence()) {
        return std::make_shared<MovedLettersMapping>(
            [text, key = railFence_] { return key.DecryptLetters(text->letters()); });
    }
    return std::make_shared<MovedLettersMapping>(
        [text, key = columnar_] { return key.DecryptLetters(text->letters()); });
}

std::vector<std::int32_t> TranspositionPage::PlainCounts() const {
    // The letters only move: the plaintext counts them as the ciphertext does.
    return text_.text ? text_.text->counts() : std::vector<std::int32_t>(26, 0);
}

QString TranspositionPage::KeyText() const {
    return IsRailFence() ? kRailFenceWord + QLatin1Char(' ') + QString::number(railFence_.rails())
                         : QString::fromStdString(columnar_.Text());
}

std::optional<QString> TranspositionPage::SetKeyText(const QString& key) {
    const QString trimmed = key.trimmed();
    if (trimmed.startsWith(kRailFenceWord, Qt::CaseInsensitive)) {
        const Parsed<RailFenceKey> parsed =
            RailFenceKey::Parse(trimmed.mid(kRailFenceWord.size()).toStdString());
        if (!parsed.ok()) {
            return KeyErrorText(parsed.error(), KeyRule());
        }
        UseRailFence(parsed.key());
        return std::nullopt;
    }
    const Parsed<ColumnarKey> parsed = ColumnarKey::Parse(trimmed.toStdString());
    if (!parsed.ok()) {
        return KeyErrorText(parsed.error(), KeyRule());
    }
    if (parsed.key().columns() > std::size_t(kMostColumns)) {
        return KeyErrorText(KeyError::TooLong, KeyRule());
    }
    UseColumnar(parsed.key());
    return std::nullopt;
}

std::string TranspositionPage::Encrypt(std::string_view plain) const {
    std::string cipher;
    if (IsRailFence()) {
        railFence_.Encrypt(plain, cipher);
    } else {
        columnar_.Encrypt(plain, cipher);
    }
    return cipher;
}

void TranspositionPage::RandomKey(std::mt19937_64& random, const KeyOptions& options) {
    if (IsRailFence()) {
        UseRailFence(options.length > 0
                         ? RailFenceKey(std::clamp(options.length, RailFenceKey::kFewest,
                                                   RailFenceKey::kMost))
                         : RailFenceKey::Random(RailFenceKey::kFewest, 10, random));
        return;
    }
    const int columns =
        options.length > 0 ? std::clamp(options.length, kFewestColumns, kMostColumns) : 6;
    UseColumnar(ColumnarKey::Random(std::size_t(columns), random));
}

} // namespace tallivo
