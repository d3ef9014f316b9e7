#include "identification_page.h"

#include "background_job.h"
#include "key_mapping.h"
#include "letter_mapping.h"
#include "page_widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tallivo {

namespace {

QString Number(double value, int decimals) {
    return Decimal(value, decimals);
}

QString Count(double value) {
    return QLocale().toString(qlonglong(value + 0.5));
}

QString ConfidenceText(Confidence confidence) {
    switch (confidence) {
    case Confidence::High:
        return QStringLiteral("alta");
    case Confidence::Medium:
        return QStringLiteral("media");
    case Confidence::Low:
        break;
    }
    return QStringLiteral("bassa");
}

// The kind's name, what it means, and the page that works on it (with a second one of its
// family), by CipherName and title.
struct KindText {
    QString name;
    QString meaning;
    QString page, pageTitle;
    QString otherPage, otherTitle;
};

// What the student does next, on the page the verdict names.
QString NextStep(const Verdict& verdict) {
    switch (verdict.kind) {
    case CipherKind::TooShort:
        return {};
    case CipherKind::Transposition:
        return QStringLiteral("Sulla pagina «Trasposizione» si cerca come sono state spostate le "
                              "lettere.");
    case CipherKind::Caesar:
        return QStringLiteral("Sulla pagina «Cesare», «Miglior spostamento».");
    case CipherKind::Affine:
        return QStringLiteral("Sulla pagina «Affine», «Miglior chiave».");
    case CipherKind::Substitution:
        return QStringLiteral("Sulla pagina «Sostituzione» si parte da «Proponi per frequenza» e "
                              "si corregge lettera per lettera.");
    case CipherKind::VigenereFamily:
        return QStringLiteral("Sulla pagina «Vigenère» (o «Beaufort», se il testo non torna), "
                              "«Trova periodo» e poi «Miglior chiave».");
    case CipherKind::AutokeyOrRunning:
        return QStringLiteral("Sulla pagina «Autochiave», «Miglior chiave» prova le chiavi "
                              "iniziali; una chiave continua (un testo usato come chiave) si "
                              "attacca con una parola probabile.");
    case CipherKind::Playfair:
        return QStringLiteral("Sulla pagina «Playfair» si cerca il quadrato di 25 lettere.");
    }
    return {};
}

KindText TextOf(const Verdict& verdict) {
    switch (verdict.kind) {
    case CipherKind::TooShort:
        return {QStringLiteral("troppo corto per giudicare"),
                QStringLiteral("Con così poche lettere le frequenze e l'indice di coincidenza "
                               "oscillano tanto che un cifrario non si distingue dall'altro: "
                               "serve un testo più lungo, o si prova pagina per pagina."),
                {},
                {},
                {},
                {}};
    case CipherKind::Transposition:
        return {QStringLiteral("una trasposizione"),
                QStringLiteral("Le lettere hanno già le frequenze della lingua: sono quelle del "
                               "testo in chiaro, solo spostate di posto."),
                QStringLiteral("trasposizione"),
                QStringLiteral("Trasposizione"),
                {},
                {}};
    case CipherKind::Caesar:
        return {QStringLiteral("un cifrario di Cesare"),
                QStringLiteral("Un solo alfabeto (l'indice di coincidenza è quello della lingua) "
                               "e le frequenze tornano quelle della lingua spostandole di %1 "
                               "posti.")
                    .arg(verdict.shift),
                QStringLiteral("cesare"),
                QStringLiteral("Cesare"),
                {},
                {}};
    case CipherKind::Affine:
        return {QStringLiteral("un cifrario affine"),
                QStringLiteral("Un solo alfabeto, e nessuno spostamento basta, ma la chiave "
                               "affine %1 riporta le frequenze a quelle della lingua.")
                    .arg(QString::fromStdString(verdict.affine.Text())),
                QStringLiteral("affine"),
                QStringLiteral("Affine"),
                {},
                {}};
    case CipherKind::Substitution:
        return {QStringLiteral("una sostituzione monoalfabetica"),
                QStringLiteral("Un solo alfabeto (l'indice di coincidenza è quello della "
                               "lingua), ma né uno spostamento né una chiave affine ne "
                               "riportano le frequenze: una sostituzione qualsiasi."),
                QStringLiteral("sostituzione"),
                QStringLiteral("Sostituzione"),
                {},
                {}};
    case CipherKind::VigenereFamily:
        return {QStringLiteral("un cifrario polialfabetico periodico della famiglia di Vigenère"),
                QStringLiteral("Il testo intero ha l'indice di coincidenza di lettere mescolate, "
                               "ma le colonne del periodo %1 hanno quello della lingua: una "
                               "parola chiave di %1 lettere, di Vigenère o di "
                               "Beaufort.")
                    .arg(verdict.periods.period.value_or(0)),
                QStringLiteral("vigenere"),
                QStringLiteral("Vigenère"),
                QStringLiteral("beaufort"),
                QStringLiteral("Beaufort")};
    case CipherKind::AutokeyOrRunning:
        return {QStringLiteral("un cifrario ad autochiave o a chiave continua"),
                QStringLiteral("L'indice di coincidenza è piatto come per lettere a caso e "
                               "nessun periodo fa somigliare le colonne alla lingua: la chiave "
                               "non si ripete."),
                QStringLiteral("autochiave"),
                QStringLiteral("Autochiave"),
                {},
                {}};
    case CipherKind::Playfair:
        return {QStringLiteral("un cifrario Playfair"),
                QStringLiteral("I segni di un cifrario a coppie di lettere: lunghezza pari, "
                               "nessuna coppia di due lettere uguali, nessuna J."),
                QStringLiteral("playfair"),
                QStringLiteral("Playfair"),
                {},
                {}};
    }
    return {};
}

QString ReasonText(const Reason& reason, const Verdict& verdict) {
    switch (reason.figure) {
    case Figure::Letters:
        return QStringLiteral("Lettere del testo: %1 (ne servono almeno %2 per giudicare).")
            .arg(Count(reason.value), Count(reason.language));
    case Figure::Coincidence:
        return QStringLiteral("Indice di coincidenza: %1 (la lingua: %2; lettere a caso: %3).")
            .arg(Number(reason.value, 4), Number(reason.language, 4), Number(1.0 / 26.0, 4));
    case Figure::ChiSquareUnshifted:
        return QStringLiteral("Chi quadrato delle lettere così come sono: %1 (un testo in chiaro "
                              "resta sotto %2).")
            .arg(Number(reason.value, 1), Number(reason.language, 1));
    case Figure::ChiSquareBestShift:
        return QStringLiteral("Chi quadrato col miglior spostamento (%1): %2 (un testo in chiaro "
                              "resta sotto %3).")
            .arg(QString::number(verdict.shift), Number(reason.value, 1),
                 Number(reason.language, 1));
    case Figure::ChiSquareBestAffine:
        return QStringLiteral("Chi quadrato con la miglior chiave affine (%1): %2 (un testo in "
                              "chiaro resta sotto %3).")
            .arg(QString::fromStdString(verdict.affine.Text()), Number(reason.value, 1),
                 Number(reason.language, 1));
    case Figure::PeriodStrength:
        return verdict.kind == CipherKind::VigenereFamily
                   ? QStringLiteral("Somiglianza alla lingua delle colonne del periodo %1: %2 "
                                    "(0 = lettere a caso, 1 = la lingua; ne serve %3).")
                         .arg(QString::number(verdict.periods.period.value_or(0)),
                              Number(reason.value, 2), Number(reason.language, 2))
                   : QStringLiteral("Somiglianza alla lingua delle colonne del miglior periodo: "
                                    "%1 (0 = lettere a caso, 1 = la lingua; ne serve %2).")
                         .arg(Number(reason.value, 2), Number(reason.language, 2));
    case Figure::PeriodRunnerUp:
        return QStringLiteral("Il miglior altro periodo arriva a %1 (ne serve %2).")
            .arg(Number(reason.value, 2), Number(reason.language, 2));
    case Figure::KasiskiShare:
        return QStringLiteral("Distanze fra sequenze ripetute divise dal periodo: %1 % (per "
                              "caso: %2 %).")
            .arg(Number(reason.value * 100.0, 1), Number(reason.language * 100.0, 1));
    case Figure::DoubledPairs:
        return QStringLiteral("Coppie (1ª e 2ª lettera, 3ª e 4ª …) di due lettere uguali: %1 (un "
                              "testo in chiaro ne avrebbe circa %2).")
            .arg(Count(reason.value), Number(reason.language, 1));
    case Figure::LettersJ:
        return QStringLiteral("Lettere J: %1 (un testo in chiaro ne avrebbe circa %2).")
            .arg(Count(reason.value), Number(reason.language, 1));
    }
    return {};
}

} // namespace

IdentificationPage::IdentificationPage(const PageContext&, QWidget* parent)
    : CipherPage(parent)
    , job_(new BackgroundJob(this)) {
    setObjectName(QStringLiteral("pagIdentificazione"));
    txtVerdetto = new QPlainTextEdit(this);
    txtVerdetto->setObjectName(QStringLiteral("txtVerdetto"));
    txtVerdetto->setAccessibleName(QStringLiteral("Verdetto"));
    txtVerdetto->setReadOnly(true);
    txtVerdetto->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtVerdetto->setTabChangesFocus(true);
    cmdApriPagina = MakeButton(this, "cmdApriPagina", QStringLiteral("&Apri la pagina"));
    cmdApriAltraPagina = MakeButton(this, "cmdApriAltraPagina", QStringLiteral("Apri"));
    cmdApriPagina->hide();
    cmdApriAltraPagina->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdApriPagina);
    buttons->addWidget(cmdApriAltraPagina);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeBuddyLabel(this, QStringLiteral("V&erdetto:"), txtVerdetto));
    layout->addWidget(txtVerdetto, 1);
    layout->addLayout(buttons);

    connect(cmdApriPagina, &QPushButton::clicked, this, [this] { emit pageRequested(page_); });
    connect(cmdApriAltraPagina, &QPushButton::clicked, this,
            [this] { emit pageRequested(otherPage_); });
}

void IdentificationPage::SetText(const WorkText& text) {
    text_ = text;
    periods_.reset();
    Judge();
}

void IdentificationPage::SetPeriods(const std::shared_ptr<const PeriodFigures>& periods) {
    periods_ = periods;
    Judge();
}

void IdentificationPage::SetLanguage(const WorkLanguage& language) {
    language_ = language;
    Judge();
}

void IdentificationPage::Judge() {
    verdict_.reset();
    page_.clear();
    otherPage_.clear();
    cmdApriPagina->hide();
    cmdApriAltraPagina->hide();
    if (!text_.text) {
        txtVerdetto->setPlainText(QString());
        job_->Stop();
        return;
    }
    if (!periods_ || !periods_->analysis) {
        txtVerdetto->setPlainText(QStringLiteral("Calcolo delle misure del testo…"));
        job_->Stop();
        return;
    }
    txtVerdetto->setPlainText(QStringLiteral("Calcolo del verdetto…"));
    job_->Start<Verdict>(
        [text = text_.text, periods = periods_,
         model = &ScoringModel(language_)](std::stop_token, const BackgroundJob::Progress&) {
            return IdentifyCipher(text->letters(), *periods->analysis, *model);
        },
        [this](Verdict verdict) {
            verdict_ = std::move(verdict);
            ShowVerdict();
        });
}

void IdentificationPage::ShowVerdict() {
    const Verdict& verdict = *verdict_;
    const KindText kind = TextOf(verdict);
    QStringList lines;
    if (verdict.kind == CipherKind::TooShort) {
        lines << QStringLiteral("Il testo è troppo corto per giudicare.");
    } else {
        lines << QStringLiteral("Il testo è probabilmente %1 (fiducia %2).")
                     .arg(kind.name, ConfidenceText(verdict.confidence));
    }
    lines << kind.meaning;
    if (const QString next = NextStep(verdict); !next.isEmpty()) {
        lines << next;
    }
    lines << QString() << QStringLiteral("Le misure:");
    for (const Reason& reason : verdict.reasons) {
        lines << QStringLiteral("• ") + ReasonText(reason, verdict);
    }
    if (verdict.kind == CipherKind::Playfair && text_.text) {
        const std::vector<std::int32_t>& counts = text_.text->counts();
        const auto used = std::count_if(counts.begin(), counts.end(),
                                        [](std::int32_t count) { return count > 0; });
        lines << QStringLiteral("• Lettere diverse usate: %1 su 26 (Playfair ne usa al più 25, "
                                "senza la J); lunghezza %2.")
                     .arg(used)
                     .arg(text_.text->total() % 2 == 0 ? QStringLiteral("pari")
                                                       : QStringLiteral("dispari"));
    }
    if (verdict.kind == CipherKind::AutokeyOrRunning && !verdict.periods.candidates.empty()) {
        QStringList tried;
        for (const PeriodCandidate& candidate : verdict.periods.candidates) {
            if (tried.size() == 3) {
                break;
            }
            tried << QStringLiteral("%1 (%2)")
                         .arg(candidate.period)
                         .arg(Number(candidate.strength, 2));
        }
        lines << QStringLiteral("• Periodi migliori, nessuno abbastanza: %1.")
                     .arg(tried.join(QStringLiteral(", ")));
    }
    txtVerdetto->setPlainText(lines.join(QLatin1Char('\n')));
    page_ = kind.page;
    otherPage_ = kind.otherPage;
    if (!page_.isEmpty()) {
        cmdApriPagina->setText(QStringLiteral("&Apri la pagina «%1»").arg(kind.pageTitle));
        cmdApriPagina->setAccessibleName(QStringLiteral("Apri la pagina %1").arg(kind.pageTitle));
        cmdApriPagina->show();
    }
    if (!otherPage_.isEmpty()) {
        cmdApriAltraPagina->setText(QStringLiteral("Apri la pagina «%1»").arg(kind.otherTitle));
        cmdApriAltraPagina->setAccessibleName(
            QStringLiteral("Apri la pagina %1").arg(kind.otherTitle));
        cmdApriAltraPagina->show();
    }
    if (isVisible()) {
        emit announce(lines.front()); // the student is looking at this page: say it at once
    }
    emit verdictShown();
}

std::shared_ptr<const LetterMapping> IdentificationPage::Mapping() const {
    return std::make_shared<TableMapping>(ShiftTable(0));
}

std::vector<std::int32_t> IdentificationPage::PlainCounts() const {
    return text_.text ? text_.text->counts() : std::vector<std::int32_t>(26, 0);
}

std::optional<QString> IdentificationPage::SetKeyText(const QString& key) {
    if (key.trimmed().isEmpty()) {
        return std::nullopt;
    }
    return QStringLiteral("Questa pagina non ha chiave: dice soltanto quale cifrario sembra il "
                          "testo.");
}

} // namespace tallivo
