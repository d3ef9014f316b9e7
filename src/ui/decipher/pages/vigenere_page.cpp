#include "vigenere_page.h"

#include "key_mapping.h"
#include "letter_bars.h"
#include "page_widgets.h"
#include "periodic_key.h"
#include "text_statistics.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <numeric>

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

QString KeywordText(const std::vector<int>& shifts) {
    QString keyword;
    for (const int shift : shifts) {
        keyword += QChar(char16_t(u'a' + shift));
    }
    return keyword;
}

} // namespace

VigenerePage::VigenerePage(const PageContext& context, QWidget* parent)
    : CipherPage(parent) {
    setObjectName(QStringLiteral("pagVigenere"));
    tblPeriodi = MakeTable(this, "tblPeriodi", QStringLiteral("Periodi"),
                           {QStringLiteral("Periodo"), QStringLiteral("IC medio"),
                            QStringLiteral("Distanze divisibili")});
    tblRipetizioni = MakeTable(
        this, "tblRipetizioni", QStringLiteral("Sequenze ripetute"),
        {QStringLiteral("Ripetizioni"), QStringLiteral("Distanze"), QStringLiteral("Sequenza")});
    spnPeriodo = MakeSpin(this, "spnPeriodo", QStringLiteral("Periodo"), 1, kPeriodLimit);
    cmdTrovaPeriodo = MakeButton(this, "cmdTrovaPeriodo", QStringLiteral("T&rova periodo"));
    txtParolaChiave = MakeLine(this, "txtParolaChiave", QStringLiteral("Parola chiave"));
    txtParolaChiave->setText(QStringLiteral("a"));
    lblSuggerimentoParola = MakeHint(this, "lblSuggerimentoParola");
    cmdMigliorChiave = MakeButton(this, "cmdMigliorChiave", QStringLiteral("&Miglior chiave"));
    spnColonna = MakeSpin(this, "spnColonna", QStringLiteral("Colonna"), 1, 1);
    spnSpostamentoColonna =
        MakeSpin(this, "spnSpostamentoColonna", QStringLiteral("Spostamento della colonna"), 0, 25);
    spnSpostamentoColonna->setWrapping(true);
    barsColonna = new LetterBars(context.messages, QStringLiteral("Frequenze della colonna"), this);
    barsColonna->setObjectName(QStringLiteral("barsColonna"));

    auto* form = new QFormLayout;
    auto* periodRow = new QHBoxLayout;
    periodRow->addWidget(spnPeriodo);
    periodRow->addWidget(cmdTrovaPeriodo);
    form->addRow(MakeBuddyLabel(this, QStringLiteral("&Periodo:"), spnPeriodo), periodRow);
    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(txtParolaChiave, 1);
    keyRow->addWidget(cmdMigliorChiave);
    form->addRow(MakeBuddyLabel(this, QStringLiteral("Parola &chiave:"), txtParolaChiave), keyRow);
    form->addRow(lblSuggerimentoParola);
    auto* columnRow = new QHBoxLayout;
    columnRow->addWidget(spnColonna);
    columnRow->addWidget(
        MakeBuddyLabel(this, QStringLiteral("Spost&amento della colonna:"), spnSpostamentoColonna));
    columnRow->addWidget(spnSpostamentoColonna);
    columnRow->addStretch(1);
    form->addRow(MakeBuddyLabel(this, QStringLiteral("Co&lonna:"), spnColonna), columnRow);
    form->addRow(barsColonna);
    auto* tables = new QVBoxLayout;
    tables->addWidget(tblPeriodi, 3);
    tables->addWidget(tblRipetizioni, 2);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(tables, 1);

    connect(spnPeriodo, &QSpinBox::valueChanged, this, &VigenerePage::SetPeriod);
    connect(cmdTrovaPeriodo, &QPushButton::clicked, this, [this] {
        if (periods_) {
            spnPeriodo->setValue(
                BestPeriod(periods_->coincidences, ExpectedCoincidence(language_.table)));
        }
    });
    connect(cmdMigliorChiave, &QPushButton::clicked, this, [this] {
        if (text_.text) {
            SetKeyword(BestShifts(text_.text->bytes(), spnPeriodo->value(), language_.table));
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
}

std::vector<int> VigenerePage::ShiftsInUse() const {
    std::vector<int> shifts = keyword_;
    shifts.resize(std::size_t(spnPeriodo->value()), 0);
    return shifts;
}

void VigenerePage::SetText(const WorkText& text) {
    text_ = text;
    periods_.reset();
    keyword_ = {0};
    SetQuietly(spnPeriodo, 1);
    ShowKeyword();
    ShowPeriods();
    SetPeriod(1);
}

void VigenerePage::SetPeriods(const std::shared_ptr<const PeriodFigures>& periods) {
    periods_ = periods;
    ShowPeriods();
}

void VigenerePage::SetLanguage(const WorkLanguage& language) {
    language_ = language;
    ShowColumn();
}

void VigenerePage::SetKeyword(const std::vector<int>& shifts) {
    keyword_ = shifts;
    ShowKeyword();
    if (int(shifts.size()) != spnPeriodo->value()) {
        SetQuietly(spnPeriodo, int(shifts.size()));
        SetPeriod(int(shifts.size()));
        return;
    }
    ShowColumn();
    emit keyChanged();
}

void VigenerePage::SetPeriod(int period) {
    if (text_.text) {
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
            ShiftedCounts(columns_[std::size_t(column)], shifts[std::size_t(column)]);
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

std::shared_ptr<const LetterMapping> VigenerePage::Mapping() const {
    return std::make_shared<PeriodicShiftMapping>(ShiftsInUse());
}

std::vector<std::int32_t> VigenerePage::PlainCounts() const {
    return columns_.empty() ? std::vector<std::int32_t>(26, 0)
                            : ShiftedColumnCounts(columns_, ShiftsInUse());
}

std::optional<QString> VigenerePage::SetKeyText(const QString& key) {
    const Parsed<PeriodicKey> parsed =
        PeriodicKey::Parse(PeriodicSense::Vigenere, key.toStdString());
    if (!parsed.ok()) {
        return KeyErrorText(
            parsed.error(),
            QStringLiteral("La parola chiave va da 1 a %1 lettere a–z.").arg(kPeriodLimit));
    }
    const std::vector<std::uint8_t>& letters = parsed.key().letters();
    SetKeyword(std::vector<int>(letters.begin(), letters.end()));
    return std::nullopt;
}

std::string VigenerePage::Encrypt(std::string_view plain) const {
    const std::vector<int> shifts = ShiftsInUse();
    std::string cipher;
    PeriodicKey(PeriodicSense::Vigenere, std::vector<std::uint8_t>(shifts.begin(), shifts.end()))
        .Encrypt(plain, cipher);
    return cipher;
}

void VigenerePage::RandomKey(std::mt19937_64& random, const KeyOptions& options) {
    const PeriodicKey key = PeriodicKey::Random(
        PeriodicSense::Vigenere, std::size_t(options.length > 0 ? options.length : 6), random);
    SetKeyword(std::vector<int>(key.letters().begin(), key.letters().end()));
}

QString VigenerePage::KeyText() const {
    return KeywordText(ShiftsInUse());
}

} // namespace tallivo
