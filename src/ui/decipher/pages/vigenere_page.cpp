#include "vigenere_page.h"

#include "key_mapping.h"
#include "letter_bars.h"
#include "letter_mapping.h"
#include "page_widgets.h"
#include "period_finder.h"
#include "periodic_key.h"
#include "text_statistics.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>
#include <span>

namespace tallivo {

namespace {

// Returns the shifts a keyword stands for, or nothing when it holds anything but the letters
// a..z, A..Z (a letter that only looks like one, such as the Kelvin sign, is no letter here).
std::optional<std::vector<int>> KeywordShifts(const QString& text) {
    std::vector<int> shifts;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z') {
            shifts.push_back(u - u'a');
        } else if (u >= u'A' && u <= u'Z') {
            shifts.push_back(u - u'A');
        } else {
            return std::nullopt;
        }
    }
    return shifts;
}

// Returns the letters of a probable word (a..z, A..Z; blanks left out), or nothing when it
// holds anything else.
std::optional<std::vector<std::uint8_t>> WordLetters(const QString& text) {
    std::vector<std::uint8_t> letters;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z') {
            letters.push_back(std::uint8_t(u - u'a'));
        } else if (u >= u'A' && u <= u'Z') {
            letters.push_back(std::uint8_t(u - u'A'));
        } else if (!c.isSpace()) {
            return std::nullopt;
        }
    }
    return letters;
}

QString KeywordText(const std::vector<int>& shifts) {
    QString keyword;
    for (const int shift : shifts) {
        keyword += QChar(char16_t(u'a' + shift));
    }
    return keyword;
}

} // namespace

VigenerePage::VigenerePage(const PageContext& context, QWidget* parent)
    : VigenerePage(context, PeriodicSense::Vigenere, parent) {}

VigenerePage::VigenerePage(const PageContext& context, PeriodicSense sense, QWidget* parent)
    : CipherPage(parent)
    , sense_(sense) {
    setObjectName(sense == PeriodicSense::Vigenere ? QStringLiteral("pagVigenere")
                                                   : QStringLiteral("pagBeaufort"));
    tblPeriodi = MakeTable(this, "tblPeriodi", QStringLiteral("Periodi"),
                           {QStringLiteral("Periodo"), QStringLiteral("IC medio"),
                            QStringLiteral("Distanze divisibili")});
    tblRipetizioni = MakeTable(
        this, "tblRipetizioni", QStringLiteral("Sequenze ripetute"),
        {QStringLiteral("Ripetizioni"), QStringLiteral("Distanze"), QStringLiteral("Sequenza")});
    spnPeriodo = MakeSpin(this, "spnPeriodo", QStringLiteral("Periodo"), 1, kPeriodLimit);
    cmdTrovaPeriodo = MakeButton(this, "cmdTrovaPeriodo", QStringLiteral("T&rova periodo"));
    lblPeriodoTrovato = MakeHint(this, "lblPeriodoTrovato");
    txtParolaChiave = MakeLine(this, "txtParolaChiave", QStringLiteral("Parola chiave"));
    txtParolaChiave->setText(QStringLiteral("a"));
    lblSuggerimentoParola = MakeHint(this, "lblSuggerimentoParola");
    cmdMigliorChiave = MakeButton(this, "cmdMigliorChiave", QStringLiteral("&Miglior chiave"));
    cmdMigliorChiave->setAccessibleName(QStringLiteral("Miglior chiave"));
    spnColonna = MakeSpin(this, "spnColonna", QStringLiteral("Colonna"), 1, 1);
    spnSpostamentoColonna =
        MakeSpin(this, "spnSpostamentoColonna", QStringLiteral("Spostamento della colonna"), 0, 25);
    spnSpostamentoColonna->setWrapping(true);
    barsColonna = new LetterBars(context.messages, QStringLiteral("Frequenze della colonna"), this);
    barsColonna->setObjectName(QStringLiteral("barsColonna"));
    txtParolaProbabile = MakeLine(this, "txtParolaProbabile", QStringLiteral("Parola probabile"));
    txtParolaProbabile->setPlaceholderText(QStringLiteral("una parola che il testo contiene"));
    lblParolaProbabile = MakeHint(this, "lblParolaProbabile");
    tblParolaProbabile =
        MakeTable(this, "tblParolaProbabile", QStringLiteral("Posizioni della parola probabile"),
                  {QStringLiteral("Posizione"), QStringLiteral("Lettere della chiave"),
                   QStringLiteral("Si ripete")});
    tblParolaProbabile->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tblParolaProbabile->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    cmdUsaPosizione = MakeButton(this, "cmdUsaPosizione", QStringLiteral("U&sa questa posizione"));
    cmdUsaPosizione->setEnabled(false);

    form_ = new QFormLayout;
    auto* periodRow = new QHBoxLayout;
    periodRow->addWidget(spnPeriodo);
    periodRow->addWidget(cmdTrovaPeriodo);
    form_->addRow(MakeBuddyLabel(this, QStringLiteral("&Periodo:"), spnPeriodo), periodRow);
    form_->addRow(lblPeriodoTrovato);
    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(txtParolaChiave, 1);
    keyRow->addWidget(cmdMigliorChiave);
    form_->addRow(MakeBuddyLabel(this, QStringLiteral("Parola &chiave:"), txtParolaChiave), keyRow);
    form_->addRow(lblSuggerimentoParola);
    auto* columnRow = new QHBoxLayout;
    columnRow->addWidget(spnColonna);
    columnRow->addWidget(
        MakeBuddyLabel(this, QStringLiteral("Spost&amento della colonna:"), spnSpostamentoColonna));
    columnRow->addWidget(spnSpostamentoColonna);
    columnRow->addStretch(1);
    form_->addRow(MakeBuddyLabel(this, QStringLiteral("Co&lonna:"), spnColonna), columnRow);
    form_->addRow(barsColonna);
    auto* cribRow = new QHBoxLayout;
    cribRow->addWidget(txtParolaProbabile, 1);
    cribRow->addWidget(cmdUsaPosizione);
    form_->addRow(MakeBuddyLabel(this, QStringLiteral("Parola probabil&e:"), txtParolaProbabile),
                  cribRow);
    form_->addRow(lblParolaProbabile);
    form_->addRow(tblParolaProbabile);
    auto* tables = new QVBoxLayout;
    tables->addWidget(tblPeriodi, 3);
    tables->addWidget(tblRipetizioni, 2);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form_);
    layout->addLayout(tables, 1);

    if (sense != PeriodicSense::Vigenere) {
        // The family's other page has controls of its own names: "txtParolaChiaveBeaufort".
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->objectName().isEmpty()) {
                child->setObjectName(child->objectName() + QStringLiteral("Beaufort"));
            }
        }
    }
    connect(spnPeriodo, &QSpinBox::valueChanged, this, [this](int period) {
        SetPeriod(period);
        ShowPlacements(); // the rows that repeat with the new period
    });
    connect(cmdTrovaPeriodo, &QPushButton::clicked, this, &VigenerePage::FindThePeriod);
    connect(cmdMigliorChiave, &QPushButton::clicked, this, [this] {
        if (text_.text) {
            const std::vector<std::uint8_t> letters =
                BestKeyLetters(columns_, language_.table, sense_);
            SetKeyword(std::vector<int>(letters.begin(), letters.end()));
        }
    });
    connect(txtParolaChiave, &QLineEdit::textEdited, this, [this](const QString& text) {
        const std::optional<std::vector<int>> shifts = KeywordShifts(text);
        if (!shifts || shifts->empty() || shifts->size() > std::size_t(kPeriodLimit)) {
            lblSuggerimentoParola->setText(
                QStringLiteral("La parola chiave va da 1 a %1 lettere a–z, una per colonna "
                               "(a = nessuno spostamento). La chiave in uso non cambia.")
                    .arg(kPeriodLimit));
            return;
        }
        SetKeyword(*shifts);
    });
    connect(spnColonna, &QSpinBox::valueChanged, this, &VigenerePage::ShowColumn);
    connect(spnSpostamentoColonna, &QSpinBox::valueChanged, this, [this](int shift) {
        // One letter of the keyword changes; the rest of it, and the period, stay.
        const auto column = std::size_t(spnColonna->value() - 1);
        if (keyword_.size() <= column) {
            keyword_.resize(column + 1, 0);
        }
        keyword_[column] = shift;
        ShowKeyword();
        ShowColumn();
        emit keyChanged();
    });
    connect(txtParolaProbabile, &QLineEdit::textEdited, this, &VigenerePage::SlideProbableWord);
    connect(tblParolaProbabile, &QTableWidget::cellActivated, this,
            [this](int row, int) { UsePlacement(row); });
    connect(tblParolaProbabile, &QTableWidget::currentCellChanged, this,
            [this](int row) { cmdUsaPosizione->setEnabled(row >= 0); });
    connect(cmdUsaPosizione, &QPushButton::clicked, this,
            [this] { UsePlacement(tblParolaProbabile->currentRow()); });
}

std::vector<int> VigenerePage::ShiftsInUse() const {
    std::vector<int> shifts = keyword_;
    shifts.resize(std::size_t(spnPeriodo->value()), 0);
    return shifts;
}

std::vector<ByteTable> VigenerePage::DecryptTables() const {
    const std::vector<int> shifts = ShiftsInUse();
    return PeriodicKey(sense_, std::vector<std::uint8_t>(shifts.begin(), shifts.end()))
        .DecryptTables();
}

void VigenerePage::SetSense(PeriodicSense sense) {
    sense_ = sense;
    ShowColumn();
    SlideProbableWord();
    emit keyChanged();
}

void VigenerePage::SetText(const WorkText& text) {
    text_ = text;
    periods_.reset();
    keyword_ = {0};
    SetQuietly(spnPeriodo, 1);
    lblPeriodoTrovato->clear();
    ShowKeyword();
    ShowPeriods();
    SetPeriod(1);
    SlideProbableWord();
}

void VigenerePage::SetPeriods(const std::shared_ptr<const PeriodFigures>& periods) {
    periods_ = periods;
    ShowPeriods();
}

void VigenerePage::SetLanguage(const WorkLanguage& language) {
    language_ = language;
    ShowColumn();
}

void VigenerePage::FindThePeriod() {
    if (!periods_ || !text_.text) {
        lblPeriodoTrovato->setText(QStringLiteral("I periodi sono ancora in calcolo."));
        return;
    }
    const PeriodFinding finding =
        FindPeriod(periods_->coincidences, periods_->kasiski, std::uint64_t(text_.text->total()),
                   ExpectedCoincidence(language_.table));
    if (finding.period) {
        const bool clear = finding.certainty == PeriodCertainty::Clear;
        spnPeriodo->setValue(*finding.period);
        tblPeriodi->selectRow(*finding.period - 1);
        const QString said =
            QStringLiteral("Periodo %1: %2 (le colonne somigliano alla lingua per %3, ne basta "
                           "%4; il miglior altro periodo arriva a %5).")
                .arg(*finding.period)
                .arg(clear ? QStringLiteral("spicca nettamente sugli altri")
                           : QStringLiteral("probabile, ma di poco"))
                .arg(Decimal(finding.candidates.front().strength, 2))
                .arg(Decimal(finding.threshold, 2))
                .arg(Decimal(finding.runnerUp, 2));
        lblPeriodoTrovato->setText(said);
        emit announce(said);
        return;
    }
    QStringList tried;
    for (const PeriodCandidate& candidate : finding.candidates) {
        if (tried.size() == 5) {
            break;
        }
        tried
            << QStringLiteral("%1 (%2)").arg(candidate.period).arg(Decimal(candidate.strength, 2));
    }
    const QString said =
        QStringLiteral("Nessun periodo spicca: forse la chiave non è periodica, o il testo è "
                       "troppo corto per il suo periodo. Il periodo resta %1. Da provare "
                       "(somiglianza alla lingua, ne serve %2): %3.")
            .arg(spnPeriodo->value())
            .arg(Decimal(finding.threshold, 2))
            .arg(tried.isEmpty() ? QStringLiteral("nessuno") : tried.join(QStringLiteral(", ")));
    lblPeriodoTrovato->setText(said);
    emit announce(said);
}

void VigenerePage::SetKeyword(const std::vector<int>& shifts) {
    keyword_ = shifts;
    ShowKeyword();
    if (int(shifts.size()) != spnPeriodo->value()) {
        SetQuietly(spnPeriodo, int(shifts.size()));
        SetPeriod(int(shifts.size()));
        ShowPlacements();
        return;
    }
    ShowColumn();
    emit keyChanged();
}

void VigenerePage::SetPeriod(int period) {
    // The period analysis holds every column's counts already: read them there, rather than
    // count 16 MiB again on the window's thread at every key typed into the keyword.
    if (periods_ && periods_->analysis && period <= periods_->analysis->maxPeriod()) {
        columns_ = periods_->analysis->ColumnCounts(period);
    } else if (text_.text) {
        columns_ = ColumnCounts(text_.text->bytes(), period);
    }
    {
        const QSignalBlocker quiet(spnColonna);
        spnColonna->setRange(1, period);
    }
    ShowColumn();
    emit keyChanged();
}

void VigenerePage::ShowKeyword() {
    lblSuggerimentoParola->clear();
    const QString keyword = KeywordText(keyword_);
    if (txtParolaChiave->text().toLower() != keyword) {
        txtParolaChiave->setText(keyword);
    }
}

void VigenerePage::ShowColumn() {
    const std::vector<int> shifts = ShiftsInUse();
    const int column = spnColonna->value() - 1;
    if (column >= int(shifts.size())) {
        return;
    }
    SetQuietly(spnSpostamentoColonna, shifts[std::size_t(column)]);
    if (std::size_t(column) < columns_.size()) {
        const std::vector<std::int32_t> counts =
            TabledCounts(columns_[std::size_t(column)], DecryptTables()[std::size_t(column)]);
        barsColonna->Show(counts, std::accumulate(counts.begin(), counts.end(), std::int32_t{0}),
                          language_.table);
    }
}

void VigenerePage::ShowPeriods() {
    if (!periods_) {
        tblPeriodi->setRowCount(1);
        SetCell(tblPeriodi, 0, 0, QStringLiteral("Calcolo dei periodi…"));
        tblRipetizioni->setRowCount(0);
        return;
    }
    const std::vector<double>& coincidences = periods_->coincidences;
    const KasiskiExamination& kasiski = periods_->kasiski;
    tblPeriodi->setRowCount(int(coincidences.size()));
    for (int period = 1; period <= int(coincidences.size()); ++period) {
        SetCell(tblPeriodi, period - 1, 0, QString::number(period));
        SetCell(tblPeriodi, period - 1, 1, Decimal(coincidences[std::size_t(period - 1)], 4));
        const std::uint64_t divided = kasiski.divided[std::size_t(period - 1)];
        SetCell(tblPeriodi, period - 1, 2,
                kasiski.distances == 0
                    ? QStringLiteral("—")
                    : QStringLiteral("%1 su %2").arg(divided).arg(kasiski.distances));
    }
    tblRipetizioni->setRowCount(int(kasiski.repeats.size()));
    for (int row = 0; row < int(kasiski.repeats.size()); ++row) {
        const Repeat& repeat = kasiski.repeats[std::size_t(row)];
        QStringList distances;
        for (const std::uint64_t distance : repeat.distances) {
            distances << QString::number(distance);
        }
        SetCell(tblRipetizioni, row, 0, QString::number(repeat.occurrences));
        SetCell(tblRipetizioni, row, 1, distances.join(QStringLiteral(", ")));
        SetCell(tblRipetizioni, row, 2, QString::fromStdString(repeat.letters));
    }
}

void VigenerePage::SlideProbableWord() {
    placements_.clear();
    const std::optional<std::vector<std::uint8_t>> word = WordLetters(txtParolaProbabile->text());
    if (!word) {
        lblParolaProbabile->setText(QStringLiteral(
            "La parola probabile va scritta con le sole lettere a–z, senza accenti."));
        ShowPlacements();
        return;
    }
    if (word->empty() || !text_.text) {
        lblParolaProbabile->clear();
        ShowPlacements();
        return;
    }
    const std::vector<std::uint8_t>& letters = text_.text->letters();
    const std::size_t slid = std::min(letters.size(), kCribLetters);
    placements_ = tallivo::SlideProbableWord(std::span(letters.data(), slid), *word, sense_);
    ShowPlacements();
}

void VigenerePage::ShowPlacements() {
    // The placements whose key letters repeat with the period first, then those that repeat
    // with a period of their own, then the rest, each in the text's order.
    const int period = spnPeriodo->value();
    const auto rank = [period](const CribPlacement& placement) {
        return RepeatsWithPeriod(placement, period) ? 0 : placement.repeat > 0 ? 1 : 2;
    };
    std::stable_sort(placements_.begin(), placements_.end(),
                     [&rank](const CribPlacement& a, const CribPlacement& b) {
                         return rank(a) < rank(b) || (rank(a) == rank(b) && a.offset < b.offset);
                     });
    const int shown = std::min(int(placements_.size()), kCribRows);
    const QSignalBlocker quiet(tblParolaProbabile);
    tblParolaProbabile->setRowCount(shown);
    int repeating = 0;
    for (int row = 0; row < shown; ++row) {
        const CribPlacement& placement = placements_[std::size_t(row)];
        const bool withPeriod = RepeatsWithPeriod(placement, period);
        repeating += withPeriod ? 1 : 0;
        SetCell(tblParolaProbabile, row, 0, QString::number(placement.offset + 1), withPeriod);
        SetCell(tblParolaProbabile, row, 1, QString::fromStdString(placement.keyLetters),
                withPeriod);
        SetCell(tblParolaProbabile, row, 2,
                withPeriod             ? QStringLiteral("sì, col periodo %1").arg(period)
                : placement.repeat > 0 ? QStringLiteral("col periodo %1").arg(placement.repeat)
                                       : QStringLiteral("—"),
                withPeriod);
    }
    cmdUsaPosizione->setEnabled(tblParolaProbabile->currentRow() >= 0 && shown > 0);
    if (placements_.empty()) {
        if (!txtParolaProbabile->text().isEmpty() &&
            WordLetters(txtParolaProbabile->text()).has_value()) {
            lblParolaProbabile->setText(
                QStringLiteral("La parola è più lunga del testo: nessuna posizione."));
        }
        return;
    }
    lblParolaProbabile->setText(
        QStringLiteral("%1 posizioni%2; %3 con lettere della chiave che si ripetono col periodo "
                       "%4 (in grassetto, in cima). Invio su una riga, o «Usa questa "
                       "posizione», mette quelle lettere nella chiave.")
            .arg(QLocale().toString(qlonglong(placements_.size())))
            .arg(text_.text && text_.text->letters().size() > kCribLetters
                     ? QStringLiteral(" nelle prime %1 lettere")
                           .arg(QLocale().toString(qlonglong(kCribLetters)))
                     : QString())
            .arg(repeating)
            .arg(period));
}

void VigenerePage::UsePlacement(int row) {
    if (row < 0 || row >= int(placements_.size())) {
        return;
    }
    const CribPlacement placement = placements_[std::size_t(row)];
    int period = spnPeriodo->value();
    if (!RepeatsWithPeriod(placement, period) && placement.repeat > 0) {
        period = placement.repeat;
    }
    std::vector<int> keyword = keyword_;
    keyword.resize(std::size_t(period), 0);
    const std::vector<int> found = KeyOfPlacement(placement, period);
    for (std::size_t column = 0; column < found.size(); ++column) {
        if (found[column] >= 0) {
            keyword[column] = found[column];
        }
    }
    SetKeyword(keyword);
    emit announce(QStringLiteral("Chiave con la parola probabile alla posizione %1: %2")
                      .arg(placement.offset + 1)
                      .arg(KeywordText(keyword)));
}

std::shared_ptr<const LetterMapping> VigenerePage::Mapping() const {
    if (sense_ == PeriodicSense::Vigenere) {
        return std::make_shared<PeriodicShiftMapping>(ShiftsInUse());
    }
    return std::make_shared<PeriodicTableMapping>(DecryptTables());
}

std::vector<std::int32_t> VigenerePage::PlainCounts() const {
    return columns_.empty() ? std::vector<std::int32_t>(26, 0)
                            : TabledColumnCounts(columns_, DecryptTables());
}

std::optional<QString> VigenerePage::SetKeyText(const QString& key) {
    return TakeKeyword(key);
}

std::optional<QString> VigenerePage::TakeKeyword(const QString& keyword, const QString& also) {
    const Parsed<PeriodicKey> parsed = PeriodicKey::Parse(sense_, keyword.toStdString());
    if (!parsed.ok()) {
        QString rule =
            QStringLiteral("La parola chiave va da 1 a %1 lettere a–z.").arg(kPeriodLimit);
        if (!also.isEmpty()) {
            rule += QLatin1Char(' ') + also;
        }
        return KeyErrorText(parsed.error(), rule);
    }
    const std::vector<std::uint8_t>& letters = parsed.key().letters();
    SetKeyword(std::vector<int>(letters.begin(), letters.end()));
    return std::nullopt;
}

std::string VigenerePage::Encrypt(std::string_view plain) const {
    const std::vector<int> shifts = ShiftsInUse();
    std::string cipher;
    PeriodicKey(sense_, std::vector<std::uint8_t>(shifts.begin(), shifts.end()))
        .Encrypt(plain, cipher);
    return cipher;
}

void VigenerePage::RandomKey(std::mt19937_64& random, const KeyOptions& options) {
    const PeriodicKey key = PeriodicKey::Random(
        sense_, std::size_t(std::clamp(options.length > 0 ? options.length : 6, 1, kPeriodLimit)),
        random);
    SetKeyword(std::vector<int>(key.letters().begin(), key.letters().end()));
}

QString VigenerePage::KeyText() const {
    return KeywordText(ShiftsInUse());
}

} // namespace tallivo
