#include "fdecifra.h"

#include "key_mapping.h"
#include "key_slots.h"
#include "letter_bars.h"
#include "text_pane.h"
#include "text_statistics.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <numeric>

namespace tallivo {

namespace {

constexpr int kLongestPeriod = 30;
const QChar kUnassigned(0x00B7); // middle dot

// Windows-1252 where it differs from Latin-1: 0x80..0x9F (0 = not a character there).
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

QString DecodeWindows1252(const std::string& bytes) {
    QString text(qsizetype(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        const char16_t high = b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : 0;
        *out++ =
            QChar(high != 0 ? high
                            : char16_t(b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D
                                           ? 0xFFFD
                                           : b));
    }
    return text;
}

QTableWidget* MakeTable(QWidget* parent, const char* name, const QString& accessibleName,
                        const QStringList& headers) {
    auto* table = new QTableWidget(0, int(headers.size()), parent);
    table->setObjectName(QLatin1String(name));
    table->setAccessibleName(accessibleName);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->setVisible(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setTabKeyNavigation(false);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    return table;
}

void SetCell(QTableWidget* table, int row, int column, const QString& text, bool bold = false) {
    auto* item = new QTableWidgetItem(text);
    QFont font = item->font();
    font.setBold(bold);
    item->setFont(font);
    table->setItem(row, column, item);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QSpinBox* MakeSpin(QWidget* parent, const char* name, const QString& accessibleName, int low,
                   int high) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setAccessibleName(accessibleName);
    spin->setRange(low, high);
    return spin;
}

QLineEdit* MakeLine(QWidget* parent, const char* name, const QString& accessibleName) {
    auto* line = new QLineEdit(parent);
    line->setObjectName(QLatin1String(name));
    line->setAccessibleName(accessibleName);
    return line;
}

QLabel* MakeHint(QWidget* parent, const char* name) {
    auto* hint = new QLabel(parent);
    hint->setObjectName(QLatin1String(name));
    hint->setWordWrap(true);
    QPalette palette = hint->palette();
    palette.setColor(QPalette::WindowText, QColor(160, 0, 0));
    hint->setPalette(palette);
    return hint;
}

// Sets the spin box without telling its listeners: a change made by the program, not the user.
void SetQuietly(QSpinBox* spin, int value) {
    const QSignalBlocker quiet(spin);
    spin->setValue(value);
}

QString Decimal(double value, int decimals) {
    return QLocale().toString(value, 'f', decimals);
}

} // namespace

FDecifra::FDecifra(MessageService& messages, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , messages_(messages) {
    setObjectName(QStringLiteral("FDecifra"));
    setWindowTitle(QStringLiteral("Decifra"));
    setAccessibleName(QStringLiteral("Decifra"));

    lblTesto = new QLabel(this);
    lblTesto->setObjectName(QStringLiteral("lblTesto"));
    lblTesto->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cboLingua = new QComboBox(this);
    cboLingua->setObjectName(QStringLiteral("cboLingua"));
    cboLingua->setAccessibleName(QStringLiteral("Lingua"));
    auto* lingua = new QLabel(QStringLiteral("&Lingua:"), this);
    lingua->setBuddy(cboLingua);
    auto* top = new QHBoxLayout;
    top->addWidget(lblTesto, 1);
    top->addWidget(lingua);
    top->addWidget(cboLingua);

    tabModi = new QTabWidget(this);
    tabModi->setObjectName(QStringLiteral("tabModi"));
    tabModi->setAccessibleName(QStringLiteral("Tipo di cifrario"));
    tabModi->addTab(BuildCaesar(), QStringLiteral("Cesare"));
    tabModi->addTab(BuildSubstitution(), QStringLiteral("Sostituzione"));
    tabModi->addTab(BuildVigenere(), QStringLiteral("Vigenère"));

    barsTesto = new LetterBars(messages_, QStringLiteral("Frequenze del testo in chiaro"), this);
    barsTesto->setObjectName(QStringLiteral("barsTesto"));
    lblFigure = new QLabel(this);
    lblFigure->setObjectName(QStringLiteral("lblFigure"));
    lblFigure->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    lblFigure->setFocusPolicy(Qt::TabFocus);
    lblFigure->setWordWrap(true);
    auto* figures = new QHBoxLayout;
    figures->addWidget(barsTesto);
    figures->addWidget(lblFigure, 1);

    txtChiaro = new TextPane(this);
    txtChiaro->setObjectName(QStringLiteral("txtChiaro"));
    txtChiaro->setAccessibleName(QStringLiteral("Testo in chiaro"));
    auto* chiaro = new QLabel(QStringLiteral("&Testo in chiaro:"), this);
    chiaro->setBuddy(txtChiaro);

    cmdCopiaTesto = MakeButton(this, "cmdCopiaTesto", QStringLiteral("Copia testo in chiaro"));
    cmdCopiaChiave = MakeButton(this, "cmdCopiaChiave", QStringLiteral("Copia chiave"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdCopiaTesto);
    buttons->addWidget(cmdCopiaChiave);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tabModi);
    layout->addLayout(figures);
    layout->addWidget(chiaro);
    layout->addWidget(txtChiaro, 1);
    layout->addLayout(buttons);

    connect(cboLingua, &QComboBox::currentIndexChanged, this, [this] {
        ShowLanguageFigures();
        ShowColumn();
        ApplyKey();
    });
    connect(tabModi, &QTabWidget::currentChanged, this, &FDecifra::ApplyKey);
    connect(cmdCopiaTesto, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(PlainText()); });
    connect(cmdCopiaChiave, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(KeyText()); });
    resize(900, 820);
}

QWidget* FDecifra::BuildCaesar() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("pagCesare"));
    spnSpostamento = MakeSpin(page, "spnSpostamento", QStringLiteral("Spostamento"), 0, 25);
    spnSpostamento->setWrapping(true);
    spnSpostamento->installEventFilter(this);
    cmdMigliorSpostamento =
        MakeButton(page, "cmdMigliorSpostamento", QStringLiteral("Miglior spostamento"));
    tblSpostamenti =
        MakeTable(page, "tblSpostamenti", QStringLiteral("Chi quadrato per spostamento"),
                  {QStringLiteral("Spostamento"), QStringLiteral("Chi quadrato")});
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Spostamento:"), spnSpostamento);
    form->addRow(cmdMigliorSpostamento);
    auto* note = new QLabel(
        QStringLiteral("Lo spostamento applicato per cifrare: con 3, «d» torna «a». Le frecce "
                       "provano gli spostamenti uno per uno."),
        page);
    note->setWordWrap(true);
    form->addRow(note);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(form, 1);
    layout->addWidget(tblSpostamenti, 1);

    connect(spnSpostamento, &QSpinBox::valueChanged, this, &FDecifra::ApplyKey);
    connect(cmdMigliorSpostamento, &QPushButton::clicked, this, [this] {
        if (work_.text) {
            spnSpostamento->setValue(BestShift(ShiftChiSquares(work_.text->counts(), Reference())));
        }
    });
    connect(tblSpostamenti, &QTableWidget::cellActivated, this,
            [this](int row, int) { spnSpostamento->setValue(row); });
    return page;
}

QWidget* FDecifra::BuildSubstitution() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("pagSostituzione"));
    grdChiave = new KeySlots(page);
    grdChiave->setObjectName(QStringLiteral("grdChiave"));
    grdChiave->setAccessibleName(QStringLiteral("Lettere in chiaro per lettera cifrata"));
    txtChiaveSostituzione =
        MakeLine(page, "txtChiaveSostituzione", QStringLiteral("Chiave di sostituzione"));
    txtChiaveSostituzione->setText(grdChiave->key().Text().c_str());
    lblSuggerimento = MakeHint(page, "lblSuggerimento");
    cmdProponi = MakeButton(page, "cmdProponi", QStringLiteral("Proponi per frequenza"));
    cmdAzzera = MakeButton(page, "cmdAzzera", QStringLiteral("Azzera chiave"));
    auto* slotsLabel =
        new QLabel(QStringLiteral("Lettera in chiaro per ogni lettera cifrata (A–Z):"), page);
    slotsLabel->setBuddy(grdChiave);
    auto* line = new QLabel(QStringLiteral("&Chiave di sostituzione:"), page);
    line->setBuddy(txtChiaveSostituzione);
    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(line);
    keyRow->addWidget(txtChiaveSostituzione, 1);
    keyRow->addWidget(cmdProponi);
    keyRow->addWidget(cmdAzzera);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(slotsLabel);
    layout->addWidget(grdChiave);
    layout->addLayout(keyRow);
    layout->addWidget(lblSuggerimento);
    layout->addStretch(1);

    auto showKey = [this](const SubstitutionKey& key) {
        grdChiave->SetKey(key);
        txtChiaveSostituzione->setText(QString::fromStdString(key.Text()));
        lblSuggerimento->clear();
        ApplyKey();
    };
    connect(grdChiave, &KeySlots::edited, this, [this] {
        txtChiaveSostituzione->setText(QString::fromStdString(grdChiave->key().Text()));
        lblSuggerimento->clear();
        ApplyKey();
    });
    connect(txtChiaveSostituzione, &QLineEdit::textEdited, this, [this](const QString& text) {
        // Only 26 characters, each an ASCII letter or ".", make a key; anything else keeps
        // the key in use and says why.
        const QByteArray latin = text.toLatin1();
        const std::optional<SubstitutionKey> key =
            QString::fromLatin1(latin) == text ? SubstitutionKey::FromText(latin.toStdString())
                                               : std::nullopt;
        if (!key) {
            lblSuggerimento->setText(
                text.size() != 26
                    ? QStringLiteral("La chiave ha %1 caratteri: ne servono 26, la lettera in "
                                     "chiaro per a, b, … z, con «.» per una lettera non "
                                     "assegnata. La chiave in uso non cambia.")
                          .arg(text.size())
                    : QStringLiteral("Solo lettere a–z e «.» per una lettera non assegnata. La "
                                     "chiave in uso non cambia."));
            return;
        }
        lblSuggerimento->clear();
        grdChiave->SetKey(*key);
        ApplyKey();
    });
    connect(cmdProponi, &QPushButton::clicked, this, [this, showKey] {
        if (work_.text) {
            showKey(SubstitutionKey::ByFrequency(work_.text->counts(), Reference()));
        }
    });
    connect(cmdAzzera, &QPushButton::clicked, this, [showKey] { showKey(SubstitutionKey()); });
    return page;
}

QWidget* FDecifra::BuildVigenere() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("pagVigenere"));
    tblPeriodi = MakeTable(
        page, "tblPeriodi", QStringLiteral("Periodi"),
        {QStringLiteral("Periodo"), QStringLiteral("IC medio"), QStringLiteral("Distanze divise")});
    tblRipetizioni = MakeTable(
        page, "tblRipetizioni", QStringLiteral("Sequenze ripetute"),
        {QStringLiteral("Volte"), QStringLiteral("Distanze"), QStringLiteral("Sequenza")});
    tblRipetizioni->setColumnWidth(0, 50);
    tblRipetizioni->setColumnWidth(1, 110);
    spnPeriodo = MakeSpin(page, "spnPeriodo", QStringLiteral("Periodo"), 1, kLongestPeriod);
    cmdTrovaPeriodo = MakeButton(page, "cmdTrovaPeriodo", QStringLiteral("Trova periodo"));
    txtParolaChiave = MakeLine(page, "txtParolaChiave", QStringLiteral("Parola chiave"));
    txtParolaChiave->setText(QStringLiteral("a"));
    lblSuggerimentoParola = MakeHint(page, "lblSuggerimentoParola");
    cmdMigliorChiave = MakeButton(page, "cmdMigliorChiave", QStringLiteral("Miglior chiave"));
    spnColonna = MakeSpin(page, "spnColonna", QStringLiteral("Colonna"), 1, 1);
    spnSpostamentoColonna =
        MakeSpin(page, "spnSpostamentoColonna", QStringLiteral("Spostamento della colonna"), 0, 25);
    spnSpostamentoColonna->setWrapping(true);
    barsColonna = new LetterBars(messages_, QStringLiteral("Frequenze della colonna"), page);
    barsColonna->setObjectName(QStringLiteral("barsColonna"));

    auto* form = new QFormLayout;
    auto label = [page](const QString& text, QWidget* buddy) {
        auto* made = new QLabel(text, page);
        made->setBuddy(buddy);
        return made;
    };
    auto* periodRow = new QHBoxLayout;
    periodRow->addWidget(spnPeriodo);
    periodRow->addWidget(cmdTrovaPeriodo);
    form->addRow(label(QStringLiteral("&Periodo:"), spnPeriodo), periodRow);
    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(txtParolaChiave, 1);
    keyRow->addWidget(cmdMigliorChiave);
    form->addRow(label(QStringLiteral("Parola &chiave:"), txtParolaChiave), keyRow);
    form->addRow(lblSuggerimentoParola);
    auto* columnRow = new QHBoxLayout;
    columnRow->addWidget(spnColonna);
    columnRow->addWidget(
        label(QStringLiteral("Sp&ostamento della colonna:"), spnSpostamentoColonna));
    columnRow->addWidget(spnSpostamentoColonna);
    columnRow->addStretch(1);
    form->addRow(label(QStringLiteral("C&olonna:"), spnColonna), columnRow);
    form->addRow(barsColonna);
    auto* tables = new QVBoxLayout;
    tables->addWidget(tblPeriodi, 3);
    tables->addWidget(tblRipetizioni, 2);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(form);
    layout->addLayout(tables, 1);

    connect(spnPeriodo, &QSpinBox::valueChanged, this, [this](int period) {
        std::vector<int> shifts = shifts_;
        shifts.resize(std::size_t(period), 0);
        SetKeyword(shifts);
    });
    connect(cmdTrovaPeriodo, &QPushButton::clicked, this, [this] {
        if (work_.text) {
            spnPeriodo->setValue(BestPeriod(work_.coincidences, ExpectedCoincidence(Reference())));
        }
    });
    connect(cmdMigliorChiave, &QPushButton::clicked, this, [this] {
        if (work_.text) {
            SetKeyword(BestShifts(work_.text->bytes(), spnPeriodo->value(), Reference()));
        }
    });
    connect(txtParolaChiave, &QLineEdit::textEdited, this, [this](const QString& text) {
        std::vector<int> shifts;
        for (const QChar c : text) {
            const QChar lower = c.toLower();
            if (lower < QLatin1Char('a') || lower > QLatin1Char('z')) {
                shifts.clear();
                break;
            }
            shifts.push_back(lower.unicode() - 'a');
        }
        if (shifts.empty() || shifts.size() > std::size_t(kLongestPeriod)) {
            lblSuggerimentoParola->setText(
                QStringLiteral("La parola chiave va da 1 a %1 lettere a–z, una per colonna "
                               "(a = nessuno spostamento). La chiave in uso non cambia.")
                    .arg(kLongestPeriod));
            return;
        }
        SetKeyword(shifts);
    });
    connect(spnColonna, &QSpinBox::valueChanged, this, &FDecifra::ShowColumn);
    connect(spnSpostamentoColonna, &QSpinBox::valueChanged, this, [this](int shift) {
        std::vector<int> shifts = shifts_;
        shifts[std::size_t(spnColonna->value() - 1)] = shift;
        SetKeyword(shifts);
    });
    return page;
}

void FDecifra::SetWork(Work work) {
    work_ = std::move(work);
    const std::string& bytes = work_.text->bytes();
    utf8_ = IsValidUtf8(bytes);
    // Unassigned cipher letters go through the table as a control byte the text does not use,
    // then show as a middle dot.
    std::array<bool, 32> used{};
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) < 32) {
            used[static_cast<unsigned char>(c)] = true;
        }
    }
    unassigned_ = 1;
    while (unassigned_ < 31 && (used[unassigned_] || unassigned_ == '\t' || unassigned_ == '\n' ||
                                unassigned_ == '\r')) {
        ++unassigned_;
    }
    lblTesto->setText(
        QStringLiteral("Testo: %1").arg(work_.name) +
        (work_.text->truncated()
             ? QStringLiteral(" — solo i primi %1 MiB").arg(CipherText::kWorkLimit >> 20)
             : QString()));

    SetQuietly(spnSpostamento, 0);
    grdChiave->SetKey(SubstitutionKey());
    txtChiaveSostituzione->setText(QString::fromStdString(SubstitutionKey().Text()));
    lblSuggerimento->clear();
    SetQuietly(spnPeriodo, 1);
    shifts_.clear();
    ShowPeriods();
    ShowLanguageFigures();
    SetKeyword({0});
}

void FDecifra::SetLanguages(const std::vector<Language>& languages, int current) {
    const bool same = current == cboLingua->currentIndex() &&
                      languages.size() == languages_.size() &&
                      std::equal(languages.begin(), languages.end(), languages_.begin(),
                                 [](const Language& a, const Language& b) {
                                     return a.name == b.name && a.table == b.table;
                                 });
    if (same) {
        return;
    }
    languages_ = languages;
    {
        const QSignalBlocker quiet(cboLingua);
        cboLingua->clear();
        for (const Language& language : languages_) {
            cboLingua->addItem(language.name);
        }
        cboLingua->setCurrentIndex(current);
    }
    if (work_.text) {
        ShowLanguageFigures();
        ShowColumn();
        ApplyKey();
    }
}

QString FDecifra::PlainText() const {
    return txtChiaro->text();
}

QString FDecifra::KeyText() const {
    switch (tabModi->currentIndex()) {
    case Caesar:
        return QString::number(spnSpostamento->value());
    case Substitution:
        return QString::fromStdString(grdChiave->key().Text());
    default:
        return txtParolaChiave->text();
    }
}

const ReferenceTable& FDecifra::Reference() const {
    const int index = cboLingua->currentIndex();
    return index >= 0 && std::size_t(index) < languages_.size()
               ? languages_[std::size_t(index)].table
               : ItalianFrequencies();
}

void FDecifra::ShowLanguageFigures() {
    if (!work_.text) {
        return;
    }
    const std::array<double, 26> chiSquares = ShiftChiSquares(work_.text->counts(), Reference());
    const int best = BestShift(chiSquares);
    tblSpostamenti->setRowCount(26);
    for (int shift = 0; shift < 26; ++shift) {
        const QString name = QStringLiteral("%1 (%2)").arg(shift).arg(QChar('a' + shift));
        SetCell(tblSpostamenti, shift, 0,
                shift == best ? name + QStringLiteral(" — migliore") : name, shift == best);
        SetCell(tblSpostamenti, shift, 1, Decimal(chiSquares[std::size_t(shift)], 1),
                shift == best);
    }
    tblSpostamenti->scrollToItem(tblSpostamenti->item(best, 0));
}

void FDecifra::ShowPeriods() {
    const std::vector<double>& coincidences = work_.coincidences;
    const KasiskiExamination& kasiski = work_.kasiski;
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

void FDecifra::SetKeyword(const std::vector<int>& shifts) {
    const bool newPeriod = shifts.size() != shifts_.size();
    shifts_ = shifts;
    QString keyword;
    for (const int shift : shifts_) {
        keyword += QChar('a' + shift);
    }
    if (txtParolaChiave->text().toLower() != keyword) {
        txtParolaChiave->setText(keyword);
    }
    lblSuggerimentoParola->clear();
    const int period = int(shifts_.size());
    if (newPeriod) {
        SetQuietly(spnPeriodo, period);
        if (work_.text) {
            columns_ = ColumnCounts(work_.text->bytes(), period);
        }
        const QSignalBlocker quiet(spnColonna);
        spnColonna->setRange(1, period);
    }
    ShowColumn();
    ApplyKey();
}

void FDecifra::ShowColumn() {
    const int column = spnColonna->value() - 1;
    if (column >= int(shifts_.size())) {
        return;
    }
    SetQuietly(spnSpostamentoColonna, shifts_[std::size_t(column)]);
    if (std::size_t(column) < columns_.size()) {
        const std::vector<std::int32_t> counts =
            ShiftedCounts(columns_[std::size_t(column)], shifts_[std::size_t(column)]);
        barsColonna->Show(counts, std::accumulate(counts.begin(), counts.end(), std::int32_t{0}),
                          Reference());
    }
}

QString FDecifra::Decode(const std::string& bytes) const {
    return utf8_ ? QString::fromUtf8(bytes.data(), qsizetype(bytes.size()))
                 : DecodeWindows1252(bytes);
}

void FDecifra::ApplyKey() {
    if (!work_.text) {
        return;
    }
    const CipherText& text = *work_.text;
    const int mode = tabModi->currentIndex();
    std::vector<std::int32_t> counts;
    ByteTable table{};
    switch (mode) {
    case Caesar:
        counts = ShiftedCounts(text.counts(), spnSpostamento->value());
        table = ShiftTable(spnSpostamento->value());
        break;
    case Substitution:
        counts = SubstitutedCounts(text.counts(), grdChiave->key());
        table = SubstitutionTable(grdChiave->key(), unassigned_);
        break;
    default:
        counts = ShiftedColumnCounts(columns_, shifts_);
        break;
    }
    // The plaintext a piece at a time, so that no full copy of it is held in bytes; a piece
    // of UTF-8 never ends inside a character.
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    const std::string& bytes = text.bytes();
    txtChiaro->SetText(QString()); // the old plaintext goes before the new one is built
    QString plain;
    plain.reserve(qsizetype(bytes.size()));
    std::string piece;
    std::size_t column = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t end = std::min(bytes.size(), at + kPiece);
        while (utf8_ && end < bytes.size() &&
               (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80) {
            --end;
        }
        const std::string_view in(bytes.data() + at, end - at);
        if (mode == Vigenere) {
            column = ApplyShifts(in, shifts_, piece, column);
        } else {
            MapBytes(in, table, piece);
        }
        QString decoded = Decode(piece);
        if (mode == Substitution) {
            decoded.replace(QChar(unassigned_), kUnassigned);
        }
        plain += decoded;
        at = end;
    }
    txtChiaro->SetText(std::move(plain));

    const std::int32_t total = std::accumulate(counts.begin(), counts.end(), std::int32_t{0});
    barsTesto->Show(counts, total, Reference());
    const std::optional<double> ic = IndexOfCoincidence(counts, total);
    lblFigure->setText(
        QStringLiteral("Indice di coincidenza: %1 (atteso %2)\nChi quadrato: %3\nLettere: %4")
            .arg(ic ? Decimal(*ic, 4) : QStringLiteral("—"))
            .arg(Decimal(ExpectedCoincidence(Reference()), 4))
            .arg(total > 0 ? Decimal(ChiSquare(counts, total, Reference()), 1)
                           : QStringLiteral("—"))
            .arg(QLocale().toString(total)));
}

bool FDecifra::eventFilter(QObject* watched, QEvent* event) {
    // Left and Right try the shifts one by one, as Up and Down do.
    if (watched == spnSpostamento && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            spnSpostamento->stepBy(key == Qt::Key_Right ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tallivo
