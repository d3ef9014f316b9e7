#include "affine_page.h"

#include "key_mapping.h"
#include "letter_mapping.h"
#include "page_widgets.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tallivo {

namespace {

QString Rule() {
    return QStringLiteral("La chiave si scrive «a,b»: a tra 1, 3, 5, 7, 9, 11, 15, 17, 19, 21, "
                          "23 e 25 (i numeri senza divisori in comune con 26), b da 0 a 25.");
}

} // namespace

AffinePage::AffinePage(const PageContext&, QWidget* parent)
    : CipherPage(parent) {
    setObjectName(QStringLiteral("pagAffine"));
    spnMoltiplicatore =
        MakeSpin(this, "spnMoltiplicatore", QStringLiteral("Moltiplicatore a"), 1, 25);
    spnSpostamentoAffine =
        MakeSpin(this, "spnSpostamentoAffine", QStringLiteral("Spostamento b"), 0, 25);
    spnSpostamentoAffine->setWrapping(true);
    cmdAtbash = MakeButton(this, "cmdAtbash", QStringLiteral("Atba&sh"));
    cmdAtbash->setAccessibleName(QStringLiteral("Atbash"));
    cmdAtbash->setToolTip(QStringLiteral("L'alfabeto rovesciato: a = 25, b = 25"));
    cmdMigliorChiave =
        MakeButton(this, "cmdMigliorChiaveAffine", QStringLiteral("&Miglior chiave"));
    cmdMigliorChiave->setAccessibleName(QStringLiteral("Miglior chiave"));
    lblSuggerimentoAffine = MakeHint(this, "lblSuggerimentoAffine");
    lblClassifica = new QLabel(this);
    lblClassifica->setObjectName(QStringLiteral("lblClassifica"));
    lblClassifica->setWordWrap(true);
    tblChiaviAffini =
        MakeTable(this, "tblChiaviAffini", QStringLiteral("Chiavi affini in classifica"),
                  {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("Punteggio"),
                   QStringLiteral("Chi quadrato"), QStringLiteral("Inizio del testo")});

    for (int column = 0; column < 4; ++column) {
        tblChiaviAffini->horizontalHeader()->setSectionResizeMode(column,
                                                                  QHeaderView::ResizeToContents);
    }

    auto* form = new QFormLayout;
    form->addRow(MakeBuddyLabel(this, QStringLiteral("Moltiplicatore &a:"), spnMoltiplicatore),
                 spnMoltiplicatore);
    form->addRow(MakeBuddyLabel(this, QStringLiteral("Spostamento &b:"), spnSpostamentoAffine),
                 spnSpostamentoAffine);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdMigliorChiave);
    buttons->addWidget(cmdAtbash);
    form->addRow(buttons);
    form->addRow(lblSuggerimentoAffine);
    auto* note = new QLabel(QStringLiteral("Per cifrare, la lettera numero x (a = 0 … z = 25) "
                                           "diventa la numero a·x + b, modulo 26: con a = 1 è "
                                           "un cifrario di Cesare."),
                            this);
    note->setObjectName(QStringLiteral("lblNotaAffine"));
    note->setWordWrap(true);
    form->addRow(note);
    auto* table = new QVBoxLayout;
    table->addWidget(lblClassifica);
    table->addWidget(tblChiaviAffini, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addLayout(table, 2);

    connect(spnMoltiplicatore, &QSpinBox::valueChanged, this, &AffinePage::ReadSpins);
    connect(spnSpostamentoAffine, &QSpinBox::valueChanged, this, &AffinePage::ReadSpins);
    connect(cmdAtbash, &QPushButton::clicked, this, [this] { SetKey(AffineKey::Atbash()); });
    connect(cmdMigliorChiave, &QPushButton::clicked, this, [this] {
        if (!ranked_.empty()) {
            SetKey(ranked_.front().key);
            emit announce(
                QStringLiteral("Miglior chiave: a = %1, b = %2").arg(key_.a()).arg(key_.b()));
        }
    });
    connect(tblChiaviAffini, &QTableWidget::cellActivated, this, [this](int row, int) {
        if (row >= 0 && row < int(ranked_.size())) {
            SetKey(ranked_[std::size_t(row)].key);
        }
    });
}

void AffinePage::ReadSpins() {
    const int a = spnMoltiplicatore->value();
    if (std::find(AffineKey::kMultipliers.begin(), AffineKey::kMultipliers.end(), a) ==
        AffineKey::kMultipliers.end()) {
        lblSuggerimentoAffine->setText(
            QStringLiteral("a = %1 ha un divisore in comune con 26: due lettere diventerebbero "
                           "la stessa e il testo non si potrebbe decifrare. Scegli a tra 1, 3, 5, "
                           "7, 9, 11, 15, 17, 19, 21, 23 e 25. La chiave in uso resta %2.")
                .arg(a)
                .arg(QString::fromStdString(key_.Text())));
        return;
    }
    lblSuggerimentoAffine->clear();
    key_ = AffineKey(a, spnSpostamentoAffine->value());
    emit keyChanged();
}

void AffinePage::SetKey(const AffineKey& key) {
    key_ = key;
    SetQuietly(spnMoltiplicatore, key.a());
    SetQuietly(spnSpostamentoAffine, key.b());
    lblSuggerimentoAffine->clear();
    emit keyChanged();
}

void AffinePage::SetText(const WorkText& text) {
    text_ = text;
    key_ = AffineKey();
    SetQuietly(spnMoltiplicatore, 1);
    SetQuietly(spnSpostamentoAffine, 0);
    lblSuggerimentoAffine->clear();
    RankKeys();
}

void AffinePage::SetLanguage(const WorkLanguage& language) {
    language_ = language;
    RankKeys();
}

void AffinePage::RankKeys() {
    ranked_.clear();
    tblChiaviAffini->setRowCount(0);
    if (!text_.text) {
        return;
    }
    const std::vector<std::uint8_t>& letters = text_.text->letters();
    const std::size_t read = std::min(letters.size(), kRankedLetters);
    ranked_ = RankAffineKeys(std::span(letters.data(), read), ScoringModel(language_));
    lblClassifica->setText(
        QStringLiteral("Le %1 chiavi, dalla più probabile: punteggio dei quadrigrammi (più alto "
                       "è meglio) e chi quadrato delle lettere (più basso è meglio)%2. Invio su "
                       "una riga la prova.")
            .arg(AffineKey::kKeys)
            .arg(letters.size() > read ? QStringLiteral(", sulle prime %1 lettere")
                                             .arg(QLocale().toString(qlonglong(read)))
                                       : QString()));
    tblChiaviAffini->setRowCount(int(ranked_.size()));
    const std::size_t preview = std::min<std::size_t>(read, 24);
    std::vector<std::uint8_t> start(letters.begin(), letters.begin() + std::ptrdiff_t(preview));
    for (int row = 0; row < int(ranked_.size()); ++row) {
        const AffineCandidate& candidate = ranked_[std::size_t(row)];
        const ByteTable table = candidate.key.DecryptTable();
        QString plain;
        for (const std::uint8_t letter : start) {
            plain += QChar(table[std::size_t('a' + letter)]);
        }
        const bool best = row == 0;
        SetCell(tblChiaviAffini, row, 0, QString::number(candidate.key.a()), best);
        SetCell(tblChiaviAffini, row, 1, QString::number(candidate.key.b()), best);
        SetCell(tblChiaviAffini, row, 2, Decimal(candidate.score, 1), best);
        SetCell(tblChiaviAffini, row, 3, Decimal(candidate.chiSquare, 1), best);
        SetCell(tblChiaviAffini, row, 4, plain, best);
    }
}

std::shared_ptr<const LetterMapping> AffinePage::Mapping() const {
    return std::make_shared<TableMapping>(key_.DecryptTable());
}

std::vector<std::int32_t> AffinePage::PlainCounts() const {
    return text_.text ? TabledCounts(text_.text->counts(), key_.DecryptTable())
                      : std::vector<std::int32_t>(26, 0);
}

QString AffinePage::KeyText() const {
    return QString::fromStdString(key_.Text());
}

std::optional<QString> AffinePage::SetKeyText(const QString& key) {
    const Parsed<AffineKey> parsed = AffineKey::Parse(key.toStdString());
    if (!parsed.ok()) {
        return KeyErrorText(parsed.error(), Rule());
    }
    SetKey(parsed.key());
    return std::nullopt;
}

std::string AffinePage::Encrypt(std::string_view plain) const {
    std::string cipher;
    key_.Encrypt(plain, cipher);
    return cipher;
}

void AffinePage::RandomKey(std::mt19937_64& random, const KeyOptions&) {
    SetKey(AffineKey::Random(random));
}

} // namespace tallivo
