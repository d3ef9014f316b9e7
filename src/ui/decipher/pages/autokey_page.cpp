#include "autokey_page.h"

#include "autokey_search.h"
#include "background_job.h"
#include "letter_mapping.h"
#include "page_widgets.h"
#include "search_progress_row.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tallivo {

namespace {

QString Rule() {
    return QStringLiteral("La chiave iniziale va da 1 a %1 lettere a–z.").arg(AutokeyKey::kLongest);
}

QString PrimerText(const AutokeyKey& key) {
    return QString::fromStdString(key.Text()).toLower();
}

// Returns the plaintext's letter counts under key, deciphering the letters in order.
std::vector<std::int32_t> PlainCountsOf(const std::vector<std::uint8_t>& letters,
                                        const AutokeyKey& key) {
    std::vector<std::int32_t> counts(26, 0);
    std::vector<std::uint8_t> running = key.primer();
    const std::size_t period = running.size();
    std::size_t column = 0;
    for (const std::uint8_t c : letters) {
        std::uint8_t& k = running[column];
        k = std::uint8_t(c >= k ? c - k : c + 26 - k);
        ++counts[k];
        column = column + 1 == period ? 0 : column + 1;
    }
    return counts;
}

} // namespace

AutokeyPage::AutokeyPage(const PageContext&, QWidget* parent)
    : CipherPage(parent)
    , job_(new BackgroundJob(this)) {
    setObjectName(QStringLiteral("pagAutochiave"));
    txtChiaveIniziale = MakeLine(this, "txtChiaveIniziale", QStringLiteral("Chiave iniziale"));
    txtChiaveIniziale->setText(PrimerText(key_));
    cmdMigliorChiave =
        MakeButton(this, "cmdMigliorChiaveAutochiave", QStringLiteral("&Miglior chiave"));
    cmdMigliorChiave->setAccessibleName(QStringLiteral("Miglior chiave"));
    lblSuggerimentoAutochiave = MakeHint(this, "lblSuggerimentoAutochiave");
    barRicerca = new SearchProgressRow(this);
    barRicerca->setObjectName(QStringLiteral("barRicercaAutochiave"));

    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(txtChiaveIniziale, 1);
    keyRow->addWidget(cmdMigliorChiave);
    auto* form = new QFormLayout;
    form->addRow(MakeBuddyLabel(this, QStringLiteral("&Chiave iniziale:"), txtChiaveIniziale),
                 keyRow);
    form->addRow(lblSuggerimentoAutochiave);
    form->addRow(barRicerca);
    auto* note = new QLabel(
        QStringLiteral("Le prime lettere del testo sono cifrate come da Vigenère con la chiave "
                       "iniziale; poi ogni lettera è spostata dalla lettera in chiaro che sta "
                       "tante posizioni prima quante sono le lettere della chiave iniziale. "
                       "«Miglior chiave» prova ogni lunghezza da 1 a %1 e tiene il testo che "
                       "somiglia di più alla lingua.")
            .arg(AutokeyKey::kLongest),
        this);
    note->setObjectName(QStringLiteral("lblNotaAutochiave"));
    note->setWordWrap(true);
    form->addRow(note);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);

    connect(txtChiaveIniziale, &QLineEdit::textEdited, this, [this](const QString& text) {
        const Parsed<AutokeyKey> parsed = AutokeyKey::Parse(text.toStdString());
        if (!parsed.ok()) {
            lblSuggerimentoAutochiave->setText(KeyErrorText(parsed.error(), Rule()));
            return;
        }
        key_ = parsed.key();
        lblSuggerimentoAutochiave->clear();
        if (text_.text) {
            plainCounts_ = PlainCountsOf(text_.text->letters(), key_);
        }
        emit keyChanged();
    });
    connect(cmdMigliorChiave, &QPushButton::clicked, this, &AutokeyPage::FindKey);
}

void AutokeyPage::FindKey() {
    if (!text_.text) {
        return;
    }
    // The letters searched are copied: the search outlives nothing it reads.
    const std::vector<std::uint8_t>& all = text_.text->letters();
    auto letters = std::make_shared<std::vector<std::uint8_t>>(
        all.begin(), all.begin() + std::ptrdiff_t(std::min(all.size(), kSearchedLetters)));
    const LanguageModel* model = &ScoringModel(language_);
    lblSuggerimentoAutochiave->setText(QStringLiteral("Ricerca della chiave iniziale…"));
    job_->Start<std::optional<AutokeyKey>>(
        [letters, model](std::stop_token stop, const BackgroundJob::Progress& progress) {
            return FindAutokeyPrimer(*letters, *model, stop, progress);
        },
        [this](std::optional<AutokeyKey> found) {
            if (!found) {
                lblSuggerimentoAutochiave->setText(QStringLiteral("Ricerca interrotta."));
                return;
            }
            SetKey(*found);
            const QString said =
                QStringLiteral("Miglior chiave iniziale: %1").arg(PrimerText(*found));
            lblSuggerimentoAutochiave->setText(said);
            emit announce(said);
        });
    barRicerca->Watch(job_, QStringLiteral("Ricerca della chiave iniziale…"));
    connect(
        job_, &BackgroundJob::finished, this,
        [this] {
            if (lblSuggerimentoAutochiave->text() ==
                QStringLiteral("Ricerca della chiave iniziale…")) {
                lblSuggerimentoAutochiave->setText(QStringLiteral("Ricerca annullata."));
            }
        },
        Qt::SingleShotConnection);
}

void AutokeyPage::SetKey(const AutokeyKey& key) {
    key_ = key;
    txtChiaveIniziale->setText(PrimerText(key));
    lblSuggerimentoAutochiave->clear();
    if (text_.text) {
        plainCounts_ = PlainCountsOf(text_.text->letters(), key_);
    }
    emit keyChanged();
}

void AutokeyPage::SetText(const WorkText& text) {
    job_->Stop();
    text_ = text;
    key_ = AutokeyKey();
    txtChiaveIniziale->setText(PrimerText(key_));
    lblSuggerimentoAutochiave->clear();
    plainCounts_ = PlainCountsOf(text_.text->letters(), key_);
}

void AutokeyPage::SetLanguage(const WorkLanguage& language) {
    language_ = language;
}

std::shared_ptr<const LetterMapping> AutokeyPage::Mapping() const {
    return std::make_shared<AutokeyMapping>(key_.primer(), text_.text);
}

std::vector<std::int32_t> AutokeyPage::PlainCounts() const {
    return plainCounts_;
}

QString AutokeyPage::KeyText() const {
    return PrimerText(key_);
}

std::optional<QString> AutokeyPage::SetKeyText(const QString& key) {
    const Parsed<AutokeyKey> parsed = AutokeyKey::Parse(key.toStdString());
    if (!parsed.ok()) {
        return KeyErrorText(parsed.error(), Rule());
    }
    SetKey(parsed.key());
    return std::nullopt;
}

std::string AutokeyPage::Encrypt(std::string_view plain) const {
    std::string cipher;
    key_.Encrypt(plain, cipher);
    return cipher;
}

void AutokeyPage::RandomKey(std::mt19937_64& random, const KeyOptions& options) {
    const int length =
        std::clamp(options.length > 0 ? options.length : 5, 1, int(AutokeyKey::kLongest));
    SetKey(AutokeyKey::Random(std::size_t(length), random));
}

} // namespace tallivo
