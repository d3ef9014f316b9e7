#include "substitution_page.h"

#include "background_job.h"
#include "cryptogram_view.h"
#include "key_mapping.h"
#include "key_slots.h"
#include "message_service.h"
#include "page_widgets.h"
#include "search_progress_row.h"
#include "substitution_solver.h"
#include "text_figures.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tallivo {

namespace {

// Rows of the table that sets the text beside the language.
constexpr int kFigureRows = 10;
// Words with a pattern, and places of a probable word, listed at most.
constexpr std::size_t kListed = 200;

QChar Upper(int letter) {
    return QChar(char16_t(u'A' + letter));
}

QChar Lower(int letter) {
    return QChar(char16_t(u'a' + letter));
}

// The letters of text, which is letters a-z or A-Z only, as 0..25; nothing for anything else.
std::string Latin(const QString& text) {
    const QByteArray latin = text.toLatin1();
    return QString::fromLatin1(latin) == text ? latin.toStdString() : std::string("\x01");
}

// "al 3º posto", "all'8º posto": a rank as Italian says it.
QString AtRank(int rank) {
    // The ordinals read with a vowel first: ottavo, undicesimo, and the eighties and eight
    // hundreds.
    const bool vowel =
        rank == 8 || rank == 11 || (rank >= 80 && rank < 90) || (rank >= 800 && rank < 900);
    return (vowel ? QStringLiteral("all'%1º posto") : QStringLiteral("al %1º posto")).arg(rank);
}

// What key makes of cipher letters written in capitals: "·" for an open one.
QString Deciphered(const std::string& cipher, const SubstitutionKey& key) {
    QString plain;
    for (const char c : cipher) {
        const int letter = LetterIndex(static_cast<unsigned char>(c));
        const int assigned = letter < 0 ? SubstitutionKey::kNone : key.PlainOf(letter);
        plain += assigned == SubstitutionKey::kNone ? QChar(0x00B7) : Lower(assigned);
    }
    return plain;
}

QString Assignments(const std::vector<Assignment>& assignments) {
    QStringList parts;
    for (const Assignment& a : assignments) {
        parts << QStringLiteral("%1→%2").arg(Upper(a.cipher)).arg(Lower(a.plain));
    }
    return parts.join(QStringLiteral(" "));
}

// The text's words of 1 to 3 letters together, commonest first.
std::vector<TextFigure> ShortWords(const TextFigures& figures) {
    std::vector<TextFigure> words;
    for (const auto& list : figures.shortWords) {
        words.insert(words.end(), list.begin(), list.end());
    }
    std::stable_sort(words.begin(), words.end(),
                     [](const TextFigure& a, const TextFigure& b) { return a.count > b.count; });
    return words;
}

std::vector<LanguageModel::Ranked> ShortWords(const LanguageModel& model) {
    std::vector<LanguageModel::Ranked> words;
    for (int length = 1; length <= 3; ++length) {
        words.insert(words.end(), model.ShortWords(length).begin(), model.ShortWords(length).end());
    }
    std::stable_sort(words.begin(), words.end(),
                     [](const auto& a, const auto& b) { return a.percent > b.percent; });
    return words;
}

// What a finished completion reports.
struct Completion {
    SolveResult solved;
    double before = 0.0; // the score of the key it started from
};

} // namespace

SubstitutionPage::SubstitutionPage(const PageContext& context, QWidget* parent)
    : CipherPage(parent)
    , messages_(context.messages)
    , job_(new BackgroundJob(this)) {
    setObjectName(QStringLiteral("pagSostituzione"));
    grdChiave = new KeySlots(this);
    grdChiave->setObjectName(QStringLiteral("grdChiave"));
    grdChiave->setAccessibleName(QStringLiteral("Lettere in chiaro per lettera cifrata"));
    cmdBlocca = MakeButton(this, "cmdBlocca", QStringLiteral("B&locca / sblocca"));
    cmdBlocca->setToolTip(QStringLiteral("Blocca o sblocca la lettera scelta (Ctrl+L)"));
    cboScambiaCon = new QComboBox(this);
    cboScambiaCon->setObjectName(QStringLiteral("cboScambiaCon"));
    cboScambiaCon->setAccessibleName(QStringLiteral("Lettera cifrata con cui scambiare"));
    for (int letter = 0; letter < 26; ++letter) {
        cboScambiaCon->addItem(QString(Upper(letter)));
    }
    cboScambiaCon->setCurrentIndex(1);
    cmdScambia = MakeButton(this, "cmdScambia", QStringLiteral("Scambia con"));
    cmdScambia->setToolTip(
        QStringLiteral("Scambia in un passo le lettere in chiaro della lettera scelta e di "
                       "quella indicata accanto"));
    txtChiaveSostituzione =
        MakeLine(this, "txtChiaveSostituzione", QStringLiteral("Chiave di sostituzione"));
    txtChiaveSostituzione->setText(QString::fromStdString(grdChiave->key().Text()));
    lblSuggerimento = MakeHint(this, "lblSuggerimento");
    cmdProponi = MakeButton(this, "cmdProponi", QStringLiteral("&Proponi per frequenza"));
    cmdAzzera = MakeButton(this, "cmdAzzera", QStringLiteral("A&zzera chiave"));
    lblLimite = MakeHint(this, "lblLimite");
    lblLimite->hide();
    viewCrittogramma = new CryptogramView(this);
    viewCrittogramma->setObjectName(QStringLiteral("viewCrittogramma"));
    viewCrittogramma->setMinimumSize(320, 200);
    viewCrittogramma->SetChosenLetter(0); // the slot chosen at first
    tblLingua =
        MakeTable(this, "tblLingua", QStringLiteral("Il testo accanto alla lingua"),
                  {QStringLiteral("Bigrammi\ndel testo"), QStringLiteral("della\nlingua"),
                   QStringLiteral("Trigrammi\ndel testo"), QStringLiteral("della\nlingua"),
                   QStringLiteral("Doppie\ndel testo"), QStringLiteral("della\nlingua"),
                   QStringLiteral("Parole brevi\ndel testo"), QStringLiteral("della\nlingua")});
    tblLingua->setRowCount(kFigureRows);
    tblLingua->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblLingua->setMinimumHeight(tblLingua->horizontalHeader()->sizeHint().height() +
                                kFigureRows * tblLingua->verticalHeader()->defaultSectionSize() +
                                tblLingua->horizontalScrollBar()->sizeHint().height() +
                                2 * tblLingua->frameWidth());
    cmdSuggerisci = MakeButton(this, "cmdSuggerisci", QStringLiteral("&Suggerisci"));
    cmdSuggerisci->setAccessibleName(QStringLiteral("Suggerisci"));
    cmdApplica = MakeButton(this, "cmdApplica", QStringLiteral("Applica"));
    cmdApplica->setAccessibleName(QStringLiteral("Applica il suggerimento"));
    cmdApplica->setAutoDefault(true); // Enter on it applies
    cmdApplica->setEnabled(false);
    cmdCompleta = MakeButton(this, "cmdCompleta", QStringLiteral("Co&mpleta"));
    cmdCompleta->setAccessibleName(QStringLiteral("Completa"));
    lblAiuto = MakeHint(this, "lblAiuto");
    lblAiuto->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    prgRicerca = new SearchProgressRow(this);
    txtParolaCifrata = MakeLine(this, "txtParolaCifrata", QStringLiteral("Parola cifrata"));
    chkSoloBloccate = new QCheckBox(QStringLiteral("Rispetta solo le lettere bloccate"), this);
    chkSoloBloccate->setObjectName(QStringLiteral("chkSoloBloccate"));
    lstSchemi = new QListWidget(this);
    lstSchemi->setObjectName(QStringLiteral("lstSchemi"));
    lstSchemi->setAccessibleName(QStringLiteral("Parole con lo stesso schema"));
    lblSchemi = MakeHint(this, "lblSchemi");
    txtParolaProbabile = MakeLine(this, "txtParolaProbabile", QStringLiteral("Parola probabile"));
    lstPosizioni = new QListWidget(this);
    lstPosizioni->setObjectName(QStringLiteral("lstPosizioni"));
    lstPosizioni->setAccessibleName(QStringLiteral("Posizioni della parola probabile"));
    lblParola = MakeHint(this, "lblParola");
    actBlocca = new QAction(QStringLiteral("Blocca o sblocca la lettera"), this);
    actBlocca->setObjectName(QStringLiteral("actBlocca"));
    actBlocca->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    actBlocca->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(actBlocca);

    // The 26 slots take the page's whole width, so that a large desktop font still shows them all;
    // what acts on them comes in the row below.
    auto* slotsRow = new QHBoxLayout;
    slotsRow->addWidget(grdChiave);
    slotsRow->addStretch(1);
    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(
        MakeBuddyLabel(this, QStringLiteral("&Chiave di sostituzione:"), txtChiaveSostituzione));
    keyRow->addWidget(txtChiaveSostituzione, 1);
    auto* toolsRow = new QHBoxLayout;
    toolsRow->addWidget(cmdBlocca);
    toolsRow->addWidget(cmdScambia);
    toolsRow->addWidget(cboScambiaCon);
    toolsRow->addStretch(1);
    toolsRow->addWidget(cmdProponi);
    toolsRow->addWidget(cmdAzzera);
    auto* work = new QVBoxLayout;
    work->addWidget(MakeBuddyLabel(
        this, QStringLiteral("C&rittogramma (in chiaro sotto ogni lettera):"), viewCrittogramma));
    work->addWidget(lblLimite);
    work->addWidget(viewCrittogramma, 1);
    work->addWidget(tblLingua);

    auto* aids = new QGroupBox(QStringLiteral("Aiuti"), this);
    auto* aidButtons = new QHBoxLayout;
    aidButtons->addWidget(cmdSuggerisci);
    aidButtons->addWidget(cmdApplica);
    aidButtons->addWidget(cmdCompleta);
    aidButtons->addStretch(1);
    auto* aidLayout = new QVBoxLayout(aids);
    aidLayout->addLayout(aidButtons);
    aidLayout->addWidget(lblAiuto);
    aidLayout->addWidget(prgRicerca);
    auto* patterns = new QGroupBox(QStringLiteral("Schema di una parola"), this);
    auto* patternLayout = new QVBoxLayout(patterns);
    patternLayout->addWidget(
        MakeBuddyLabel(this, QStringLiteral("Parol&a cifrata:"), txtParolaCifrata));
    patternLayout->addWidget(txtParolaCifrata);
    patternLayout->addWidget(chkSoloBloccate);
    patternLayout->addWidget(lstSchemi, 1);
    patternLayout->addWidget(lblSchemi);
    auto* probable = new QGroupBox(QStringLiteral("Parola probabile"), this);
    auto* probableLayout = new QVBoxLayout(probable);
    probableLayout->addWidget(
        MakeBuddyLabel(this, QStringLiteral("Parola pro&babile:"), txtParolaProbabile));
    probableLayout->addWidget(txtParolaProbabile);
    probableLayout->addWidget(lstPosizioni, 1);
    probableLayout->addWidget(lblParola);
    auto* side = new QVBoxLayout;
    side->addWidget(aids);
    side->addWidget(patterns, 1);
    side->addWidget(probable, 1);
    auto* body = new QHBoxLayout;
    body->addLayout(work, 3);
    body->addLayout(side, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeBuddyLabel(
        this, QStringLiteral("L&ettera in chiaro per ogni lettera cifrata (A–Z):"), grdChiave));
    layout->addLayout(slotsRow);
    layout->addLayout(keyRow);
    layout->addLayout(toolsRow);
    layout->addWidget(lblSuggerimento);
    layout->addLayout(body, 1);

    connect(grdChiave, &KeySlots::edited, this, [this] {
        ShowKey();
        emit keyChanged();
    });
    connect(grdChiave, &KeySlots::lockedTyped, this, [this](int cipher) {
        Tell(QStringLiteral("%1 è bloccata: sbloccala (Ctrl+L) per cambiarla.").arg(Upper(cipher)));
    });
    connect(grdChiave, &QTableWidget::currentCellChanged, this,
            [this](int, int column) { viewCrittogramma->SetChosenLetter(column); });
    connect(txtChiaveSostituzione, &QLineEdit::textEdited, this, &SubstitutionPage::ReadKeyLine);
    connect(cmdProponi, &QPushButton::clicked, this, &SubstitutionPage::Propose);
    connect(cmdAzzera, &QPushButton::clicked, this,
            [this] { ApplyKey(SubstitutionKey(), LetterLocks{}); });
    connect(cmdBlocca, &QPushButton::clicked, this, &SubstitutionPage::ToggleLock);
    connect(actBlocca, &QAction::triggered, this, &SubstitutionPage::ToggleLock);
    connect(cmdScambia, &QPushButton::clicked, this, &SubstitutionPage::Swap);
    connect(viewCrittogramma, &CryptogramView::letterChosen, this, &SubstitutionPage::ChooseLetter);
    connect(viewCrittogramma, &CryptogramView::wordChosen, this, [this](const QString& word) {
        txtParolaCifrata->setText(word);
        ShowPatterns();
    });
    connect(viewCrittogramma, &CryptogramView::assignRequested, this,
            &SubstitutionPage::AssignTyped);
    connect(txtParolaCifrata, &QLineEdit::textEdited, this, &SubstitutionPage::ShowPatterns);
    connect(chkSoloBloccate, &QCheckBox::toggled, this, &SubstitutionPage::ShowPatterns);
    connect(lstSchemi, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { PickPattern(lstSchemi->row(item)); });
    connect(txtParolaProbabile, &QLineEdit::textEdited, this, &SubstitutionPage::ShowProbableWord);
    connect(lstPosizioni, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { PickFit(lstPosizioni->row(item)); });
    connect(cmdSuggerisci, &QPushButton::clicked, this, &SubstitutionPage::Suggest);
    connect(cmdApplica, &QPushButton::clicked, this, &SubstitutionPage::ApplyHint);
    connect(cmdCompleta, &QPushButton::clicked, this, &SubstitutionPage::Complete);
    connect(job_, &BackgroundJob::finished, this, [this] {
        // Stopped by "Annulla" or by a change of key before it said anything.
        if (awaited_) {
            awaited_ = false;
            lblAiuto->setText(QStringLiteral("Ricerca interrotta: la chiave resta com'è."));
        }
    });
    ShowKey();
}

const LetterLocks& SubstitutionPage::Locks() const {
    return grdChiave->locks();
}

int SubstitutionPage::ChosenLetter() const {
    return std::clamp(grdChiave->currentColumn(), 0, 25);
}

void SubstitutionPage::ChooseLetter(int cipher) {
    grdChiave->setCurrentCell(0, cipher);
    viewCrittogramma->SetChosenLetter(cipher);
}

void SubstitutionPage::Tell(const QString& text, bool announced) {
    lblSuggerimento->setText(text);
    if (announced) {
        emit announce(text);
    }
}

bool SubstitutionPage::ApplyKey(const SubstitutionKey& key, const LetterLocks& locks) {
    if (key == grdChiave->key() && locks == grdChiave->locks()) {
        return false;
    }
    grdChiave->SetKey(key);
    grdChiave->SetLocks(locks);
    ShowKey();
    emit keyChanged();
    return true;
}

void SubstitutionPage::ShowKey() {
    const SubstitutionKey& key = grdChiave->key();
    const QString line = QString::fromStdString(key.Text());
    if (txtChiaveSostituzione->text().toLower() != line) {
        txtChiaveSostituzione->setText(line);
    }
    lblSuggerimento->clear();
    viewCrittogramma->SetKey(key, Locks());
    // A hint or a completion worked out for another key no longer fits.
    job_->Stop();
    hint_.reset();
    cmdApplica->setEnabled(false);
    ShowFigures();
    ShowPatterns();
    ShowProbableWord();
}

void SubstitutionPage::ReadKeyLine(const QString& text) {
    // Only 26 characters, each an ASCII letter or ".", make a key; anything else keeps the key
    // in use and says why.
    const QByteArray latin = text.toLatin1();
    const std::optional<SubstitutionKey> key = QString::fromLatin1(latin) == text
                                                   ? SubstitutionKey::FromText(latin.toStdString())
                                                   : std::nullopt;
    if (!key) {
        // Characters as the student sees them: one for a character outside the BMP too.
        const qsizetype characters = text.toUcs4().size();
        lblSuggerimento->setText(
            characters != 26
                ? QStringLiteral("La chiave ha %1: ne servono 26, la lettera in chiaro per a, "
                                 "b, … z, con «.» per una lettera non assegnata. La chiave in "
                                 "uso non cambia.")
                      .arg(characters == 1 ? QStringLiteral("1 carattere")
                                           : QStringLiteral("%1 caratteri").arg(characters))
                : QStringLiteral("Solo lettere a–z e «.» per una lettera non assegnata. La "
                                 "chiave in uso non cambia."));
        return;
    }
    // A letter keeps its lock only while the key typed keeps its assignment.
    LetterLocks locks = Locks();
    for (int cipher = 0; cipher < 26; ++cipher) {
        locks[std::size_t(cipher)] =
            locks[std::size_t(cipher)] && key->PlainOf(cipher) == grdChiave->key().PlainOf(cipher);
    }
    ApplyKey(*key, locks);
}

void SubstitutionPage::ToggleLock() {
    const int cipher = ChosenLetter();
    LetterLocks locks = Locks();
    bool& locked = locks[std::size_t(cipher)];
    if (!locked && grdChiave->key().PlainOf(cipher) == SubstitutionKey::kNone) {
        Tell(QStringLiteral("%1 non ha ancora una lettera in chiaro: assegnagliela, poi "
                            "bloccala.")
                 .arg(Upper(cipher)));
        return;
    }
    locked = !locked;
    ApplyKey(grdChiave->key(), locks);
    Tell(locked ? QStringLiteral("%1 → %2 bloccata: proposte, suggerimenti e completamenti "
                                 "la lasciano com'è.")
                      .arg(Upper(cipher))
                      .arg(Lower(grdChiave->key().PlainOf(cipher)))
                : QStringLiteral("%1 sbloccata.").arg(Upper(cipher)),
         true);
}

void SubstitutionPage::Swap() {
    const int first = ChosenLetter();
    const int second = cboScambiaCon->currentIndex();
    SubstitutionKey key = grdChiave->key();
    if (first == second) {
        Tell(QStringLiteral("Scegli due lettere cifrate diverse: quella nelle caselle e quella "
                            "accanto a «Scambia con»."));
        return;
    }
    if (!SwapAssignments(key, Locks(), first, second)) {
        Tell(QStringLiteral("%1 o %2 è bloccata: sbloccala per scambiarle.")
                 .arg(Upper(first))
                 .arg(Upper(second)));
        return;
    }
    ApplyKey(key, Locks());
}

void SubstitutionPage::Propose() {
    if (!text_.text) {
        return;
    }
    FrequencyFill fill = FrequencyFill::ReplaceUnlocked;
    if (HasUnlockedAssignments(grdChiave->key(), Locks())) {
        const int answer = messages_.Ask(
            this,
            QStringLiteral("La chiave ha già delle assegnazioni. Vuoi sostituirle con la "
                           "proposta per frequenza (le lettere bloccate restano) o assegnare "
                           "solo le lettere ancora libere?"),
            QStringLiteral("Proponi per frequenza"),
            {QStringLiteral("Sostituisci"), QStringLiteral("Solo le libere"),
             QStringLiteral("Annulla")});
        if (answer != 0 && answer != 1) {
            return;
        }
        fill = answer == 0 ? FrequencyFill::ReplaceUnlocked : FrequencyFill::OnlyUnassigned;
    }
    ApplyKey(
        ProposeByFrequency(text_.text->counts(), language_.table, grdChiave->key(), Locks(), fill),
        Locks());
}

void SubstitutionPage::AssignTyped(int cipher, int plain) {
    ChooseLetter(cipher);
    if (Locks()[std::size_t(cipher)]) {
        Tell(QStringLiteral("%1 è bloccata: sbloccala (Ctrl+L) per cambiarla.").arg(Upper(cipher)));
        return;
    }
    SubstitutionKey key = grdChiave->key();
    if (plain < 0) {
        key.Assign(cipher, SubstitutionKey::kNone);
    } else {
        const Assignment assignment{cipher, plain};
        key = ApplyAssignments(key, Locks(), std::span(&assignment, 1));
        if (key.PlainOf(cipher) != plain) {
            Tell(QStringLiteral("«%1» è di una lettera bloccata: sbloccala per darla a %2.")
                     .arg(Lower(plain))
                     .arg(Upper(cipher)));
            return;
        }
    }
    ApplyKey(key, Locks());
}

void SubstitutionPage::ShowFigures() {
    tblLingua->clearContents();
    if (!letters_) {
        return;
    }
    const SubstitutionKey& key = grdChiave->key();
    const TextFigures& figures = figures_;
    const auto textColumn = [&](int column, const std::vector<TextFigure>& list) {
        for (int row = 0; row < kFigureRows && std::size_t(row) < list.size(); ++row) {
            const TextFigure& figure = list[std::size_t(row)];
            SetCell(tblLingua, row, column,
                    QStringLiteral("%1 %2 → %3")
                        .arg(QString::fromStdString(figure.letters))
                        .arg(figure.count)
                        .arg(Deciphered(figure.letters, key)));
        }
    };
    const auto languageColumn = [&](int column, const std::vector<LanguageModel::Ranked>& list) {
        for (int row = 0; row < kFigureRows && std::size_t(row) < list.size(); ++row) {
            const LanguageModel::Ranked& ranked = list[std::size_t(row)];
            SetCell(tblLingua, row, column,
                    QStringLiteral("%1 %2 %").arg(QString::fromStdString(ranked.text),
                                                  Decimal(ranked.percent, 2)));
        }
    };
    textColumn(0, figures.bigrams);
    textColumn(2, figures.trigrams);
    textColumn(4, figures.doubled);
    if (letters_->hasWordSpaces()) {
        textColumn(6, ShortWords(figures));
    } else {
        SetCell(tblLingua, 0, 6, QStringLiteral("(testo senza spazi)"));
    }
    if (language_.model != nullptr) {
        const LanguageModel& model = *language_.model;
        languageColumn(1, model.CommonestBigrams());
        languageColumn(3, model.CommonestTrigrams());
        languageColumn(5, model.DoubledLetters());
        languageColumn(7, ShortWords(model));
    } else {
        for (const int column : {1, 3, 5, 7}) {
            SetCell(tblLingua, 0, column, QStringLiteral("(nessun dato)"));
        }
    }
}

void SubstitutionPage::ShowPatterns() {
    lstSchemi->clear();
    patterns_.clear();
    lblSchemi->clear();
    const QString word = txtParolaCifrata->text().trimmed();
    if (word.isEmpty() || !letters_) {
        return;
    }
    if (language_.model == nullptr) {
        lblSchemi->setText(QStringLiteral("Gli schemi servono l'elenco di parole di una lingua: "
                                          "scegli l'italiano o l'inglese."));
        return;
    }
    PatternMatches found = MatchWordPattern(
        Latin(word), grdChiave->key(), Locks(),
        chkSoloBloccate->isChecked() ? PatternConsistency::WithLocks : PatternConsistency::WithKey,
        *language_.model, kListed);
    switch (found.status) {
    case PatternMatches::Status::Empty:
        return;
    case PatternMatches::Status::NotLetters:
        lblSchemi->setText(QStringLiteral("Una parola cifrata ha solo lettere a–z."));
        return;
    case PatternMatches::Status::NoMatch:
        lblSchemi->setText(QStringLiteral("Nessuna parola dell'elenco ha lo schema di «%1» e si "
                                          "accorda con %2.")
                               .arg(word.toUpper(), chkSoloBloccate->isChecked()
                                                        ? QStringLiteral("le lettere bloccate")
                                                        : QStringLiteral("le assegnazioni fatte")));
        return;
    case PatternMatches::Status::Found:
        break;
    }
    patterns_ = std::move(found.matches);
    for (const PatternMatch& match : patterns_) {
        auto* item = new QListWidgetItem(QStringLiteral("%1 (%2 volte)  %3")
                                             .arg(QString::fromStdString(match.word))
                                             .arg(match.count)
                                             .arg(Assignments(match.assignments)),
                                         lstSchemi);
        item->setData(Qt::AccessibleTextRole, item->text());
    }
    lblSchemi->setText(
        QStringLiteral("%1 parole con lo schema di «%2», le più frequenti prima: Invio o doppio "
                       "clic ne assegna le lettere.")
            .arg(patterns_.size())
            .arg(word.toUpper()));
}

void SubstitutionPage::PickPattern(int row) {
    if (row < 0 || std::size_t(row) >= patterns_.size()) {
        return;
    }
    const PatternMatch match = patterns_[std::size_t(row)];
    ApplyKey(ApplyAssignments(grdChiave->key(), Locks(), match.assignments), Locks());
    Tell(QStringLiteral("Assegnate le lettere di «%1».").arg(QString::fromStdString(match.word)),
         true);
}

void SubstitutionPage::ShowProbableWord() {
    lstPosizioni->clear();
    fits_.clear();
    lblParola->clear();
    const QString word = txtParolaProbabile->text().trimmed();
    if (word.isEmpty() || !letters_) {
        return;
    }
    ProbableWordFits found =
        FindProbableWord(*letters_, Latin(word), grdChiave->key(), Locks(), kListed);
    const std::size_t length = std::size_t(word.size());
    switch (found.status) {
    case ProbableWordFits::Status::Empty:
        return;
    case ProbableWordFits::Status::NotLetters:
        lblParola->setText(QStringLiteral("«%1» ha caratteri che non sono lettere a–z: scrivi la "
                                          "parola con le sole lettere, senza spazi né accenti. "
                                          "La chiave non cambia.")
                               .arg(word));
        return;
    case ProbableWordFits::Status::LongerThanText:
        lblParola->setText(QStringLiteral("«%1» ha %2 lettere, più delle %3 del testo: non può "
                                          "starci. La chiave non cambia.")
                               .arg(word)
                               .arg(length)
                               .arg(letters_->letters().size()));
        return;
    case ProbableWordFits::Status::NoFit:
        lblParola->setText(
            (letters_->hasWordSpaces()
                 ? QStringLiteral("Nessuna parola cifrata di %1 lettere ha lo schema di «%2» "
                                  "senza contraddire le lettere bloccate.")
                 : QStringLiteral("In nessun punto del testo %1 lettere di fila hanno lo schema "
                                  "di «%2» senza contraddire le lettere bloccate."))
                .arg(length)
                .arg(word) +
            QStringLiteral(" La chiave non cambia."));
        return;
    case ProbableWordFits::Status::Found:
        break;
    }
    fits_ = std::move(found.fits);
    const std::vector<std::uint8_t>& letters = letters_->letters();
    for (const ProbableWordFit& fit : fits_) {
        std::string cipher;
        for (std::size_t i = 0; i < length; ++i) {
            cipher += char('A' + letters[fit.letter + i]);
        }
        auto* item = new QListWidgetItem(
            QStringLiteral("lettera %1: %2  %3 (%4 già, %5 cambiano)")
                .arg(fit.letter + 1)
                .arg(QString::fromStdString(cipher), Assignments(fit.assignments))
                .arg(fit.agreeing)
                .arg(fit.changing),
            lstPosizioni);
        item->setData(Qt::AccessibleTextRole, item->text());
    }
    lblParola->setText(QStringLiteral("«%1» può stare in %2%3: Invio o doppio clic ne applica le "
                                      "assegnazioni.")
                           .arg(word)
                           .arg(found.total == 1 ? QStringLiteral("1 punto")
                                                 : QStringLiteral("%1 punti").arg(found.total))
                           .arg(found.total > fits_.size()
                                    ? QStringLiteral(" (elencati i primi %1)").arg(fits_.size())
                                    : QString()));
}

void SubstitutionPage::PickFit(int row) {
    if (row < 0 || std::size_t(row) >= fits_.size()) {
        return;
    }
    const ProbableWordFit fit = fits_[std::size_t(row)];
    viewCrittogramma->SetCaret(viewCrittogramma->OffsetOfLetter(fit.letter));
    ApplyKey(ApplyAssignments(grdChiave->key(), Locks(), fit.assignments), Locks());
    Tell(QStringLiteral("«%1» messa alla lettera %2.")
             .arg(txtParolaProbabile->text().trimmed())
             .arg(fit.letter + 1),
         true);
}

QString SubstitutionPage::HintSentence(const SubstitutionHint& hint) const {
    switch (hint.status) {
    case SubstitutionHint::Status::NoLetters:
        return QStringLiteral("Il testo non ha lettere: nessun suggerimento.");
    case SubstitutionHint::Status::KeyAgrees:
        return QStringLiteral("Ogni lettera non bloccata ha già la lettera che la soluzione le "
                              "dà: nessun suggerimento.");
    case SubstitutionHint::Status::Stopped:
        return QStringLiteral("Ricerca annullata.");
    case SubstitutionHint::Status::Found:
        break;
    }
    const HintReason& why = hint.reason;
    const QString cipher = QString::fromStdString(why.cipher);
    const QString plain = QString::fromStdString(why.plain);
    const QString language = language_.name.toLower();
    const QString times =
        why.count == 1 ? QStringLiteral("1 volta") : QStringLiteral("%1 volte").arg(why.count);
    QString sentence;
    if (why.evidence == HintReason::Evidence::Letter) {
        sentence = QStringLiteral("La lettera %1 è %2 per frequenza nel testo (%3); in %4 %5 "
                                  "c'è «%6» (%7 %).")
                       .arg(cipher, AtRank(why.textRank), times, language, AtRank(why.languageRank),
                            plain, Decimal(why.languagePercent, 1));
    } else {
        QString kind;
        switch (why.evidence) {
        case HintReason::Evidence::ShortWord:
            kind = QStringLiteral("La parola di %1 lettere").arg(why.cipher.size());
            break;
        case HintReason::Evidence::Trigram:
            kind = QStringLiteral("Il trigramma");
            break;
        case HintReason::Evidence::Doubled:
            kind = QStringLiteral("La doppia");
            break;
        default:
            kind = QStringLiteral("Il bigramma");
            break;
        }
        sentence = QStringLiteral("%1 «%2» è %3 nel testo (%4): probabilmente è «%5», %6 in %7 "
                                  "(%8 %).")
                       .arg(kind, cipher, AtRank(why.textRank), times, plain,
                            AtRank(why.languageRank), language, Decimal(why.languagePercent, 2));
    }
    const Assignment& a = hint.assignment;
    sentence += QStringLiteral(" Quindi %1 → %2").arg(Upper(a.cipher)).arg(Lower(a.plain));
    if (hint.replaces != SubstitutionKey::kNone) {
        sentence += QStringLiteral(", al posto di «%1»").arg(Lower(hint.replaces));
    }
    if (hint.takenFrom != SubstitutionKey::kNone) {
        sentence += QStringLiteral(", e «%1» non è più di %2")
                        .arg(Lower(a.plain))
                        .arg(Upper(hint.takenFrom));
    }
    sentence += QStringLiteral(". Con un'altra lettera il punteggio del testo (logaritmo della "
                               "probabilità dei suoi quadrigrammi) scenderebbe di almeno %1. "
                               "Invio o «Applica» la assegna.")
                    .arg(Decimal(hint.margin, 1));
    return sentence;
}

void SubstitutionPage::Suggest() {
    if (!letters_ || language_.model == nullptr) {
        lblAiuto->setText(QStringLiteral("I suggerimenti servono i dati di una lingua: scegli "
                                         "l'italiano o l'inglese."));
        return;
    }
    hint_.reset();
    cmdApplica->setEnabled(false);
    lblAiuto->setText(QStringLiteral("Cerco l'assegnazione più sicura…"));
    const bool focused = cmdSuggerisci->hasFocus();
    std::shared_ptr<const SubstitutionText> text = letters_;
    const LanguageModel* model = language_.model;
    const SubstitutionKey key = grdChiave->key();
    const LetterLocks locks = Locks();
    job_->Start<SubstitutionHint>(
        [text, model, key, locks](std::stop_token stop, const BackgroundJob::Progress&) {
            return SuggestAssignment(*text, key, locks, *model, stop);
        },
        [this, focused](SubstitutionHint hint) {
            awaited_ = false;
            const QString sentence = HintSentence(hint);
            lblAiuto->setText(sentence);
            if (hint.status == SubstitutionHint::Status::Found) {
                hint_ = hint;
                cmdApplica->setEnabled(true);
                if (focused) {
                    cmdApplica->setFocus();
                }
            }
            emit announce(sentence);
        });
    awaited_ = true;
    prgRicerca->Watch(job_, QStringLiteral("Ricerca del suggerimento…"));
}

void SubstitutionPage::ApplyHint() {
    if (!hint_) {
        return;
    }
    const Assignment assignment = hint_->assignment;
    ApplyKey(ApplyAssignments(grdChiave->key(), Locks(), std::span(&assignment, 1)), Locks());
    ChooseLetter(assignment.cipher);
    const QString said = QStringLiteral("%1 → %2 assegnata.")
                             .arg(Upper(assignment.cipher))
                             .arg(Lower(assignment.plain));
    lblAiuto->setText(said);
    cmdSuggerisci->setFocus();
    emit announce(said);
}

void SubstitutionPage::Complete() {
    if (!letters_ || language_.model == nullptr) {
        lblAiuto->setText(QStringLiteral("Il completamento serve i dati di una lingua: scegli "
                                         "l'italiano o l'inglese."));
        return;
    }
    hint_.reset();
    cmdApplica->setEnabled(false);
    lblAiuto->setText(QStringLiteral("Completo la chiave…"));
    std::shared_ptr<const SubstitutionText> text = letters_;
    const LanguageModel* model = language_.model;
    const SubstitutionKey key = grdChiave->key();
    const LetterLocks locks = Locks();
    job_->Start<Completion>(
        [text, model, key, locks](std::stop_token stop, const BackgroundJob::Progress& progress) {
            Completion done;
            done.before = KeyScore(*text, key, *model);
            done.solved = SolveSubstitution(*text, key, locks, *model, stop, progress);
            return done;
        },
        [this, locks](Completion done) {
            awaited_ = false;
            ApplyKey(done.solved.key, locks);
            const QString said =
                QStringLiteral("Chiave completata: punteggio %1 per quadrigramma (la tua chiave: "
                               "%2), dopo %3 salite. «Annulla modifica» torna alla tua chiave.")
                    .arg(Decimal(done.solved.score, 2), Decimal(done.before, 2))
                    .arg(done.solved.climbs);
            lblAiuto->setText(said);
            emit announce(said);
        });
    awaited_ = true;
    prgRicerca->Watch(job_, QStringLiteral("Completamento della chiave…"));
}

void SubstitutionPage::SetText(const WorkText& text) {
    job_->Stop();
    text_ = text;
    letters_.reset();
    QString shown;
    if (text.text) {
        std::string_view bytes = text.text->bytes();
        const bool cut = bytes.size() > kToolLimit;
        if (cut) {
            // Never in the middle of a UTF-8 character.
            std::size_t end = kToolLimit;
            while (end > 0 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80) {
                --end;
            }
            bytes = bytes.substr(0, end);
        }
        letters_ = std::make_shared<const SubstitutionText>(bytes);
        figures_ = CountTextFigures(*letters_, kFigureRows);
        shown = IsValidUtf8(bytes) ? QString::fromUtf8(bytes.data(), qsizetype(bytes.size()))
                                   : QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
        lblLimite->setText(QStringLiteral("Il testo è lungo: il crittogramma e gli aiuti ne "
                                          "usano i primi %1 caratteri.")
                               .arg(QLocale().toString(qlonglong(bytes.size()))));
        lblLimite->setVisible(cut);
    }
    viewCrittogramma->SetText(shown);
    txtParolaCifrata->clear();
    txtParolaProbabile->clear();
    lblAiuto->clear();
    grdChiave->SetKey(SubstitutionKey());
    grdChiave->SetLocks(LetterLocks{});
    ShowKey();
}

void SubstitutionPage::SetLanguage(const WorkLanguage& language) {
    language_ = language; // a reference text comes without a model: no hints, no completion
    const bool model = language_.model != nullptr;
    cmdSuggerisci->setEnabled(model);
    cmdCompleta->setEnabled(model);
    ShowKey();
}

std::shared_ptr<const LetterMapping> SubstitutionPage::Mapping() const {
    return std::make_shared<TableMapping>(SubstitutionTable(grdChiave->key(), text_.unassigned));
}

std::vector<std::int32_t> SubstitutionPage::PlainCounts() const {
    return text_.text ? SubstitutedCounts(text_.text->counts(), grdChiave->key())
                      : std::vector<std::int32_t>(26, 0);
}

std::optional<QString> SubstitutionPage::SetKeyText(const QString& key) {
    const QByteArray latin = key.toLatin1();
    const std::optional<SubstitutionKey> parsed =
        QString::fromLatin1(latin) == key ? SubstitutionKey::FromText(latin.toStdString())
                                          : std::nullopt;
    if (!parsed) {
        return KeyErrorText(KeyError::WrongLength,
                            QStringLiteral("La chiave ha 26 caratteri: la lettera in chiaro per a, "
                                           "b, … z, con «.» per una lettera non assegnata."));
    }
    LetterLocks locks = Locks();
    for (int cipher = 0; cipher < 26; ++cipher) {
        locks[std::size_t(cipher)] = locks[std::size_t(cipher)] &&
                                     parsed->PlainOf(cipher) == grdChiave->key().PlainOf(cipher);
    }
    ApplyKey(*parsed, locks);
    return std::nullopt;
}

QString SubstitutionPage::State() const {
    QString state = KeyText();
    QString locked;
    for (int cipher = 0; cipher < 26; ++cipher) {
        if (Locks()[std::size_t(cipher)]) {
            locked += Lower(cipher);
        }
    }
    return locked.isEmpty() ? state : state + QLatin1Char('|') + locked;
}

void SubstitutionPage::RestoreState(const QString& state) {
    const QStringList parts = state.split(QLatin1Char('|'));
    const std::optional<SubstitutionKey> key = SubstitutionKey::FromText(Latin(parts.front()));
    if (!key || parts.size() > 2) {
        return;
    }
    LetterLocks locks{};
    if (parts.size() == 2) {
        for (const QChar c : parts.back()) {
            const int letter = LetterIndex(static_cast<unsigned char>(c.toLatin1()));
            if (letter >= 0) {
                locks[std::size_t(letter)] = true;
            }
        }
    }
    ApplyKey(*key, locks);
}

std::string SubstitutionPage::Encrypt(std::string_view plain) const {
    // The key gives the plaintext letter of each cipher letter: enciphering goes the other way.
    std::string cipher;
    MapBytes(plain, SubstitutionTable(grdChiave->key().Inverse(), text_.unassigned), cipher);
    return cipher;
}

void SubstitutionPage::RandomKey(std::mt19937_64& random, const KeyOptions&) {
    ApplyKey(SubstitutionKey::Random(random), LetterLocks{});
}

QString SubstitutionPage::KeyText() const {
    return QString::fromStdString(grdChiave->key().Text());
}

} // namespace tallivo
