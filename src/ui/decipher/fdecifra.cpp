#include "fdecifra.h"

#include "background_job.h"
#include "bar_painter.h"
#include "language_model.h"
#include "letter_bars.h"
#include "letter_chart.h"
#include "letter_groups.h"
#include "page_registry.h"
#include "page_widgets.h"
#include "plain_text.h"
#include "text_pane.h"
#include "text_statistics.h"
#include "zoom_control.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include <numeric>

namespace tallivo {

namespace {

// Up to this size the plaintext is built at once; a longer one on a worker thread, so that
// typing a key never waits for it.
constexpr std::size_t kBuiltAtOnce = std::size_t{256} << 10;

// Returns a control byte text does not hold (tab and line ends left aside), for letters a key
// leaves open.
unsigned char UnusedControlByte(const std::string& text) {
    std::array<bool, 32> used{};
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 32) {
            used[static_cast<unsigned char>(c)] = true;
        }
    }
    unsigned char unused = 1;
    while (unused < 31 && (used[unused] || unused == '\t' || unused == '\n' || unused == '\r')) {
        ++unused;
    }
    return unused;
}

// Returns the table that leaves every byte as it is.
ByteTable IdentityTable() {
    ByteTable table{};
    for (int b = 0; b < 256; ++b) {
        table[std::size_t(b)] = static_cast<unsigned char>(b);
    }
    return table;
}

// Returns whether two texts hold the same bytes.
bool SameText(const CipherText& a, const CipherText& b) {
    return a.bytes() == b.bytes() && a.truncated() == b.truncated();
}

} // namespace

FDecifra::FDecifra(const AnalysisModel& model, MessageService& messages, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , model_(model)
    , messages_(messages)
    , periodsJob_(new BackgroundJob(this))
    , plainJob_(new BackgroundJob(this))
    , zoom_(new ZoomControl(this)) {
    setObjectName(QStringLiteral("FDecifra"));
    setWindowTitle(QStringLiteral("Decifra"));
    setAccessibleName(QStringLiteral("Decifra"));

    lblTesto = new QLabel(this);
    lblTesto->setObjectName(QStringLiteral("lblTesto"));
    lblTesto->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblTesto->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    cboLingua = new QComboBox(this);
    cboLingua->setObjectName(QStringLiteral("cboLingua"));
    cboLingua->setAccessibleName(QStringLiteral("Lingua"));
    auto* top = new QHBoxLayout;
    top->addWidget(lblTesto, 1);
    top->addWidget(MakeBuddyLabel(this, QStringLiteral("Lin&gua:"), cboLingua));
    top->addWidget(cboLingua);

    // The teacher's row: encipher with the page's key, in which form, with which random key.
    chkCifra = new QCheckBox(QStringLiteral("C&ifra"), this);
    chkCifra->setObjectName(QStringLiteral("chkCifra"));
    chkCifra->setAccessibleName(QStringLiteral("Cifra"));
    chkCifra->setToolTip(QStringLiteral("Cifra il testo con la chiave della pagina invece di "
                                        "decifrarlo"));
    cboFormato = new QComboBox(this);
    cboFormato->setObjectName(QStringLiteral("cboFormato"));
    cboFormato->setAccessibleName(QStringLiteral("Forma del testo cifrato"));
    cboFormato->addItems({QStringLiteral("Spazi e punteggiatura come nel testo"),
                          QStringLiteral("Gruppi di cinque")});
    cmdChiaveCasuale = MakeButton(this, "cmdChiaveCasuale", QStringLiteral("Chiave cas&uale"));
    spnLunghezza = MakeSpin(this, "spnLunghezza", QStringLiteral("Lunghezza della chiave"), 2, 20);
    spnLunghezza->setValue(6);
    spnLunghezza->setToolTip(QStringLiteral("Lettere della parola chiave, colonne o binari, dove "
                                            "il cifrario ne ha"));
    cmdAnnullaModifica =
        MakeButton(this, "cmdAnnullaModifica", QStringLiteral("Annulla mo&difica"));
    cmdAnnullaModifica->setToolTip(
        QStringLiteral("Annulla l'ultima modifica della chiave (Ctrl+Z)"));
    cmdRipeti = MakeButton(this, "cmdRipeti", QStringLiteral("Ripeti modifica"));
    cmdRipeti->setToolTip(QStringLiteral("Ripeti la modifica annullata (Ctrl+Maiusc+Z)"));
    auto* teacher = new QHBoxLayout;
    teacher->addWidget(chkCifra);
    teacher->addWidget(MakeBuddyLabel(this, QStringLiteral("&Forma:"), cboFormato));
    teacher->addWidget(cboFormato);
    teacher->addWidget(cmdChiaveCasuale);
    teacher->addWidget(MakeBuddyLabel(this, QStringLiteral("Lu&nghezza:"), spnLunghezza));
    teacher->addWidget(spnLunghezza);
    teacher->addStretch(1);
    teacher->addWidget(cmdAnnullaModifica);
    teacher->addWidget(cmdRipeti);

    fraNuovoTesto = new QFrame(this);
    fraNuovoTesto->setObjectName(QStringLiteral("fraNuovoTesto"));
    fraNuovoTesto->setFrameShape(QFrame::StyledPanel);
    lblNuovoTesto = new QLabel(
        QStringLiteral("Il testo analizzato è cambiato: il banco lavora ancora sul testo di "
                       "prima, con le sue chiavi."),
        fraNuovoTesto);
    lblNuovoTesto->setObjectName(QStringLiteral("lblNuovoTesto"));
    lblNuovoTesto->setWordWrap(true);
    cmdUsaNuovoTesto =
        MakeButton(fraNuovoTesto, "cmdUsaNuovoTesto", QStringLiteral("Usa il nuo&vo testo"));
    auto* bar = new QHBoxLayout(fraNuovoTesto);
    bar->addWidget(lblNuovoTesto, 1);
    bar->addWidget(cmdUsaNuovoTesto);
    fraNuovoTesto->hide();

    tabModi = new QTabWidget(this);
    tabModi->setObjectName(QStringLiteral("tabModi"));
    tabModi->setAccessibleName(QStringLiteral("Tipo di cifrario"));
    pages_ = CreateCipherPages(PageContext{messages_}, this);
    for (CipherPage* page : pages_) {
        // A page taller or wider than the window scrolls instead of being cut.
        auto* scroll = new QScrollArea(tabModi);
        scroll->setWidget(page);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        tabModi->addTab(scroll, page->Title());
        connect(page, &CipherPage::keyChanged, this, [this, page] {
            if (quiet_) {
                return;
            }
            Remember(page);
            if (page == CurrentPage()) {
                ShowPlainText();
            }
        });
        connect(page, &CipherPage::pageRequested, this, &FDecifra::ShowPage);
        connect(page, &CipherPage::announce, this, &FDecifra::Announce);
    }

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
    lblTestoChiaro = MakeBuddyLabel(this, QStringLiteral("Testo in chiar&o:"), txtChiaro);

    cmdCopiaTesto = MakeButton(this, "cmdCopiaTesto", QStringLiteral("Copia &testo in chiaro"));
    cmdCopiaChiave = MakeButton(this, "cmdCopiaChiave", QStringLiteral("Copia c&hiave"));
    cmdCopiaGrafico = MakeButton(this, "cmdCopiaGrafico", QStringLiteral("Copia grafico"));
    cmdCopiaGrafico->setToolTip(QStringLiteral("Copia le barre come immagine, per una "
                                               "presentazione"));
    cmdChiudi = MakeButton(this, "cmdChiudi", QStringLiteral("Chiudi"));
    cmdChiudi->setToolTip(QStringLiteral("Chiudi il banco (Esc, Ctrl+W)"));
    lblAnnuncio = new QLabel(this);
    lblAnnuncio->setObjectName(QStringLiteral("lblAnnuncio"));
    lblAnnuncio->setWordWrap(true);
    lblAnnuncio->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QHBoxLayout;
    rowButtons_ = buttons;
    buttons->addWidget(lblAnnuncio, 1);
    buttons->addWidget(cmdCopiaGrafico);
    buttons->addWidget(cmdCopiaTesto);
    buttons->addWidget(cmdCopiaChiave);
    buttons->addWidget(cmdChiudi);

    // The page above, the text's bars and pane below: the student drags the line between them
    // to give a page with much to show (the cryptogram of a substitution) more room.
    auto* lower = new QWidget(this);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addLayout(figures);
    lowerLayout->addWidget(lblTestoChiaro);
    lowerLayout->addWidget(txtChiaro, 1);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(QStringLiteral("splPagina"));
    split->setChildrenCollapsible(false);
    split->addWidget(tabModi);
    split->addWidget(lower);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(teacher);
    layout->addWidget(fraNuovoTesto);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);

    // Escape and Ctrl+W close the window, wherever the focus is in it.
    auto* close = new QAction(this);
    QList<QKeySequence> closing{QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)};
    for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Close)) {
        if (!closing.contains(key)) {
            closing.append(key);
        }
    }
    close->setShortcuts(closing);
    close->setShortcutContext(Qt::WindowShortcut);
    addAction(close);
    connect(close, &QAction::triggered, this, &QWidget::close);
    // Ctrl+Tab and Ctrl+Shift+Tab change the page wherever the focus is.
    // The platform's own keys for the next and the previous child, and these two in any case
    // (a key listed twice would make the shortcut ambiguous, and dead).
    const auto keys = [](QKeySequence::StandardKey standard, const QKeySequence& also) {
        QList<QKeySequence> list = QKeySequence::keyBindings(standard);
        if (!list.contains(also)) {
            list.prepend(also);
        }
        return list;
    };
    auto* next = new QAction(this);
    next->setShortcuts(keys(QKeySequence::NextChild, QKeySequence(Qt::CTRL | Qt::Key_Tab)));
    next->setShortcutContext(Qt::WindowShortcut);
    addAction(next);
    auto* previous = new QAction(this);
    previous->setShortcuts(
        keys(QKeySequence::PreviousChild, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)));
    previous->setShortcutContext(Qt::WindowShortcut);
    addAction(previous);
    const auto turn = [this](int by) {
        const int pages = tabModi->count();
        tabModi->setCurrentIndex((tabModi->currentIndex() + by + pages) % pages);
    };
    connect(next, &QAction::triggered, this, [turn] { turn(1); });
    connect(previous, &QAction::triggered, this, [turn] { turn(-1); });
    connect(zoom_, &ZoomControl::changed, this, &FDecifra::ApplyZoom);
    // Ctrl+Z and Ctrl+Shift+Z take a change of key back and make it again (a field being
    // typed in takes its own first).
    auto* undo = new QAction(this);
    undo->setShortcuts(QKeySequence::Undo);
    undo->setShortcutContext(Qt::WindowShortcut);
    addAction(undo);
    auto* redo = new QAction(this);
    redo->setShortcuts(keys(QKeySequence::Redo, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    redo->setShortcutContext(Qt::WindowShortcut);
    addAction(redo);
    connect(undo, &QAction::triggered, this, &FDecifra::Undo);
    connect(redo, &QAction::triggered, this, &FDecifra::Redo);
    connect(cmdAnnullaModifica, &QPushButton::clicked, this, &FDecifra::Undo);
    connect(cmdRipeti, &QPushButton::clicked, this, &FDecifra::Redo);
    connect(chkCifra, &QCheckBox::toggled, this, &FDecifra::ShowEnciphering);
    connect(cboFormato, &QComboBox::currentIndexChanged, this, &FDecifra::ShowPlainText);
    connect(cmdChiaveCasuale, &QPushButton::clicked, this, [this] {
        if (CipherPage* page = CurrentPage()) {
            page->RandomKey(random_, KeyOptions{spnLunghezza->value()});
        }
    });
    connect(cmdCopiaGrafico, &QPushButton::clicked, this, &FDecifra::CopyChart);

    connect(cboLingua, &QComboBox::currentIndexChanged, this, [this] {
        for (CipherPage* page : pages_) {
            page->SetLanguage(Language());
        }
        ShowPlainText();
    });
    // A field with nothing of its own to undo leaves Ctrl+Z to the key's history: after the
    // arrows have moved a spin box, Ctrl+Z takes the key back as the student expects.
    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        field->installEventFilter(this);
    }
    for (QAbstractSpinBox* spin : findChildren<QAbstractSpinBox*>()) {
        spin->installEventFilter(this); // it answers for its field itself
    }
    connect(tabModi, &QTabWidget::currentChanged, this, [this] {
        ShowPlainText();
        StepHistory(0); // the buttons follow the page in view
    });
    connect(cmdCopiaTesto, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(PlainText()); });
    connect(cmdCopiaChiave, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(KeyText()); });
    connect(cmdChiudi, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdUsaNuovoTesto, &QPushButton::clicked, this, [this] {
        if (model_.HasReport()) {
            Take(*model_.result());
        }
    });
    connect(&model_, &AnalysisModel::resultChanged, this, &FDecifra::OnResult);
    connect(&model_, &AnalysisModel::referenceChanged, this, &FDecifra::ShowLanguages);

    ShowLanguages();
    ShowEnciphering(false);
    if (model_.HasReport()) {
        Take(*model_.result());
    }
    // Wide enough for the substitution page's cryptogram beside its aids; the screen decides
    // when it is shown.
    resize(1200, 820);
}

void FDecifra::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_ || screen() == nullptr) {
        return;
    }
    placed_ = true;
    // Inside the screen's free area, a laptop's or a projector's, with room for the frame.
    const QRect room = screen()->availableGeometry();
    const QSize size(std::min(width(), room.width() - 40), std::min(height(), room.height() - 60));
    resize(size.expandedTo(minimumSizeHint()).boundedTo(room.size()));
    move(room.left() + (room.width() - frameGeometry().width()) / 2,
         room.top() + (room.height() - frameGeometry().height()) / 2);
}

void FDecifra::ShowPage(const QString& cipherName) {
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i]->CipherName() == cipherName) {
            tabModi->setCurrentIndex(int(i));
            pages_[i]->setFocus();
            return;
        }
    }
}

void FDecifra::Announce(const QString& text) {
    // Shown in the window, and told to a screen reader at once.
    lblAnnuncio->setText(text);
    lblAnnuncio->setAccessibleName(text);
    QAccessibleEvent named(lblAnnuncio, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleEvent alert(lblAnnuncio, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void FDecifra::ApplyZoom(double factor) {
    // The desktop's fonts and the bars, larger or smaller for a projector.
    setFont(zoom_->Scaled(QApplication::font()));
    txtChiaro->setFont(zoom_->Scaled(QFontDatabase::systemFont(QFontDatabase::FixedFont)));
    barsTesto->SetZoom(factor);
    for (LetterBars* bars : findChildren<LetterBars*>()) {
        bars->SetZoom(factor);
    }
}

FDecifra::~FDecifra() = default;

void FDecifra::OnResult(const AnalysisResult& result) {
    if (!result.analysis.HasLetters()) {
        return; // nothing to work on: the text in use stays
    }
    if (!work_.text) {
        Take(result);
    } else if (SameText(*work_.text, *result.analysis.text)) {
        fraNuovoTesto->hide(); // the same text again: its keys stay
    } else {
        fraNuovoTesto->show();
    }
}

void FDecifra::Take(const AnalysisResult& result) {
    TakeText(result.name, result.analysis.text);
}

void FDecifra::TakeText(const QString& name, std::shared_ptr<const CipherText> text) {
    fraNuovoTesto->hide();
    // What the message line said was about the text before.
    lblAnnuncio->clear();
    lblAnnuncio->setAccessibleName(QString());
    work_ = WorkText{name, text, UnusedControlByte(text->bytes())};
    utf8_ = ReadsAsUtf8(text->bytes(), text->truncated());
    newText_ = true;
    const QString shown =
        QStringLiteral("Testo: %1").arg(name) +
        (text->truncated()
             ? QStringLiteral(" — solo i primi %1 MiB").arg(CipherText::kWorkLimit >> 20)
             : QString());
    // A long path is cut in its middle, whole in the tooltip: the window keeps its width.
    lblTesto->setText(lblTesto->fontMetrics().elidedText(shown, Qt::ElideMiddle, 560));
    lblTesto->setToolTip(shown);
    lblTesto->setAccessibleName(shown);
    quiet_ = true;
    for (CipherPage* page : pages_) {
        page->SetText(work_);
        page->SetLanguage(Language());
    }
    quiet_ = false;
    // Each page's history starts again from its empty key.
    histories_.clear();
    for (CipherPage* page : pages_) {
        histories_[page] = History{{page->State()}, 0};
    }
    StepHistory(0);
    // The periods need every letter in order: worked out beside the window.
    periodsJob_->Start<std::shared_ptr<const PeriodFigures>>(
        [text](std::stop_token, const BackgroundJob::Progress&) {
            return PeriodFigures::Of(text->letters());
        },
        [this](std::shared_ptr<const PeriodFigures> figures) {
            for (CipherPage* page : pages_) {
                page->SetPeriods(figures);
            }
        });
    ShowPlainText();
}

void FDecifra::Remember(CipherPage* page) {
    History& history = histories_[page];
    const QString state = page->State();
    if (!history.states.empty() && history.states[history.at] == state) {
        return; // no change of key
    }
    history.states.resize(history.states.empty() ? 0 : history.at + 1);
    history.states.push_back(state);
    history.at = history.states.size() - 1;
    StepHistory(0);
}

bool FDecifra::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* field = qobject_cast<QLineEdit*>(watched);
        if (const auto* spin = qobject_cast<QAbstractSpinBox*>(watched)) {
            field = spin->findChild<QLineEdit*>();
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (field != nullptr && ((key->matches(QKeySequence::Undo) && !field->isUndoAvailable()) ||
                                 (key->matches(QKeySequence::Redo) && !field->isRedoAvailable()))) {
            event->ignore();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FDecifra::Undo() {
    StepHistory(-1);
}

void FDecifra::Redo() {
    StepHistory(1);
}

void FDecifra::StepHistory(int by) {
    CipherPage* page = CurrentPage();
    const auto found = page != nullptr ? histories_.find(page) : histories_.end();
    if (found == histories_.end()) {
        cmdAnnullaModifica->setEnabled(false);
        cmdRipeti->setEnabled(false);
        return;
    }
    History& history = found->second;
    const auto wanted = std::ptrdiff_t(history.at) + by;
    if (by != 0 && wanted >= 0 && wanted < std::ptrdiff_t(history.states.size())) {
        history.at = std::size_t(wanted);
        // The state comes back as the key in use; it is not a change to remember.
        quiet_ = true;
        page->RestoreState(history.states[history.at]);
        quiet_ = false;
        ShowPlainText();
    }
    cmdAnnullaModifica->setEnabled(history.at > 0);
    cmdRipeti->setEnabled(history.at + 1 < history.states.size());
}

bool FDecifra::IsEnciphering() const {
    return chkCifra->isChecked();
}

void FDecifra::ShowEnciphering(bool enciphering) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{cboFormato, cmdChiaveCasuale, spnLunghezza}) {
        control->setVisible(enciphering);
    }
    for (QLabel* label : findChildren<QLabel*>()) {
        if (label->buddy() == cboFormato || label->buddy() == spnLunghezza) {
            label->setVisible(enciphering);
        }
    }
    for (CipherPage* page : pages_) {
        page->SetEnciphering(enciphering);
    }
    // The pane is named for what it shows.
    const QString name =
        enciphering ? QStringLiteral("Testo cifrato") : QStringLiteral("Testo in chiaro");
    txtChiaro->setAccessibleName(name);
    lblTestoChiaro->setText(enciphering ? QStringLiteral("Testo cifrat&o:")
                                        : QStringLiteral("Testo in chiar&o:"));
    cmdCopiaTesto->setText(enciphering ? QStringLiteral("Copia")
                                       : QStringLiteral("Copia &testo in chiaro"));
    barsTesto->setAccessibleName(enciphering ? QStringLiteral("Frequenze del testo cifrato")
                                             : QStringLiteral("Frequenze del testo in chiaro"));
    newText_ = true;
    ShowPlainText();
}

void FDecifra::CopyChart() {
    const std::int32_t total =
        std::accumulate(shownCounts_.begin(), shownCounts_.end(), std::int32_t{0});
    if (total == 0) {
        return;
    }
    double tallest = 0.0;
    for (const std::int32_t count : shownCounts_) {
        tallest = std::max(tallest, 100.0 * count / total);
    }
    const WorkLanguage& language = Language();
    const QScreen* shown = screen();
    const double ratio = 2.0 * (shown != nullptr ? shown->devicePixelRatio() : 1.0);
    const std::int16_t gaugeMax = BarPainter::FittingGaugeMax(std::max(tallest, 0.0));
    QGuiApplication::clipboard()->setImage(
        DrawLetterChart(LetterChart{shownCounts_, total, gaugeMax,
                                    (IsEnciphering() ? QStringLiteral("Testo cifrato")
                                                     : QStringLiteral("Testo in chiaro")) +
                                        QStringLiteral(": %1% a tutta altezza").arg(gaugeMax),
                                    language.table, language.name.toLower()},
                        messages_, ratio));
}

CipherPage* FDecifra::PageNamed(const QString& cipherName) const {
    for (CipherPage* page : pages_) {
        if (page->CipherName() == cipherName) {
            return page;
        }
    }
    return nullptr;
}

void FDecifra::AddExerciseActions(const QList<QAction*>& actions) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("mnuEsercizio"));
    menu->addActions(actions);
    auto* button = MakeButton(this, "cmdEsercizio", QStringLiteral("Esercizio"));
    button->setMenu(menu);
    rowButtons_->insertWidget(1, button);
    addActions(actions);
}

std::pair<QString, std::string> FDecifra::CurrentText() const {
    if (!work_.text) {
        return {};
    }
    return {work_.name, work_.text->bytes()};
}

QList<std::pair<QString, QString>> FDecifra::Ciphers() const {
    QList<std::pair<QString, QString>> ciphers;
    for (const CipherPage* page : pages_) {
        if (page->CipherName() != QLatin1String("identificazione")) {
            ciphers.append({page->CipherName(), page->Title()});
        }
    }
    return ciphers;
}

std::pair<std::string, QString> FDecifra::EncryptWithRandomKey(const QString& cipherName,
                                                               std::string_view plain,
                                                               const KeyOptions& options,
                                                               std::mt19937_64& random) {
    CipherPage* page = PageNamed(cipherName);
    if (page == nullptr) {
        return {};
    }
    // The page's own key is put back as it was: the exercise's key stays hidden.
    quiet_ = true;
    const QString kept = page->State();
    page->RandomKey(random, options);
    std::pair<std::string, QString> made{page->Encrypt(plain), page->KeyText()};
    page->RestoreState(kept);
    quiet_ = false;
    return made;
}

void FDecifra::TakeExerciseText(const QString& name, const QString& cipherName,
                                const std::string& ciphertext) {
    chkCifra->setChecked(false);
    TakeText(name, std::make_shared<const CipherText>(ciphertext));
    ShowPage(cipherName);
}

QString FDecifra::StudentKey(const QString& cipherName) const {
    const CipherPage* page = PageNamed(cipherName);
    return page != nullptr ? page->KeyText() : QString();
}

std::string FDecifra::StudentPlainText(const QString& cipherName) const {
    const CipherPage* page = PageNamed(cipherName);
    if (page == nullptr || !work_.text) {
        return {};
    }
    std::string plain;
    page->Mapping()->Map(work_.text->bytes(), plain, 0);
    return plain;
}

std::optional<QString> FDecifra::ShowKey(const QString& cipherName, const QString& key) {
    CipherPage* page = PageNamed(cipherName);
    if (page == nullptr) {
        return QStringLiteral("Il cifrario «%1» non è tra quelli del banco.").arg(cipherName);
    }
    ShowPage(cipherName);
    return page->SetKeyText(key);
}

void FDecifra::ShowLanguages() {
    // The languages the program carries data for come with their model (n-grams, words), which
    // the hints, the solvers and the word patterns score with; a reference text has none.
    std::vector<WorkLanguage> languages{
        {QStringLiteral("Italiano"), ItalianFrequencies(), &LanguageModel::Get(Language::Italian)},
        {QStringLiteral("Inglese"), EnglishFrequencies(), &LanguageModel::Get(Language::English)}};
    int current = 0;
    const Reference& reference = model_.reference();
    if (reference.kind == Reference::Kind::English) {
        current = 1;
    } else if (reference.kind == Reference::Kind::Text && reference.table) {
        languages.push_back({reference.name, *reference.table});
        current = 2;
    }
    languages_ = std::move(languages);
    {
        const QSignalBlocker quiet(cboLingua);
        cboLingua->clear();
        for (const WorkLanguage& language : languages_) {
            cboLingua->addItem(language.name);
        }
        cboLingua->setCurrentIndex(current);
    }
    for (CipherPage* page : pages_) {
        page->SetLanguage(Language());
    }
    ShowPlainText();
}

const WorkLanguage& FDecifra::Language() const {
    const int index = cboLingua->currentIndex();
    return languages_[index >= 0 && std::size_t(index) < languages_.size() ? std::size_t(index)
                                                                           : 0];
}

CipherPage* FDecifra::CurrentPage() const {
    const int index = tabModi->currentIndex();
    return index >= 0 && std::size_t(index) < pages_.size() ? pages_[std::size_t(index)] : nullptr;
}

QString FDecifra::PlainText() const {
    return txtChiaro->text();
}

QString FDecifra::KeyText() const {
    CipherPage* page = CurrentPage();
    return page != nullptr ? page->KeyText() : QString();
}

void FDecifra::ShowPlainText() {
    CipherPage* page = CurrentPage();
    if (!work_.text || page == nullptr) {
        return;
    }
    if (IsEnciphering()) {
        ShowCipherText();
        return;
    }
    ShowFigures(page->PlainCounts());
    ShowMapped(work_.text, page->Mapping(), TextReading{utf8_, work_.unassigned});
}

void FDecifra::ShowCipherText() {
    auto cipher = std::make_shared<CipherText>(CurrentPage()->Encrypt(work_.text->bytes()));
    bool utf8 = utf8_;
    if (cboFormato->currentIndex() == 1 || !CurrentPage()->EncryptKeepsLayout()) {
        cipher = std::make_shared<CipherText>(GroupsOfFive(cipher->bytes()));
        utf8 = true; // capitals and spaces only
    }
    ShowFigures(cipher->counts());
    ShowMapped(cipher, std::make_shared<TableMapping>(IdentityTable()),
               TextReading{utf8, work_.unassigned});
}

void FDecifra::ShowMapped(std::shared_ptr<const CipherText> text,
                          std::shared_ptr<const LetterMapping> mapping, TextReading reading) {
    // The same text under another key keeps the student's place in the pane.
    const bool keepView = !newText_;
    newText_ = false;
    if (text->bytes().size() <= kBuiltAtOnce) {
        plainJob_->Stop();
        txtChiaro->SetText(PlainTextOf(text->bytes(), *mapping, reading), keepView);
        emit plainTextShown();
        return;
    }
    // Only the latest key's text is ever shown: a newer key drops the one under way.
    plainJob_->Start<PaneText>(
        [text, mapping, reading](std::stop_token stop, const BackgroundJob::Progress&) {
            return PaneText::Laid(PlainTextOf(text->bytes(), *mapping, reading, stop));
        },
        [this, keepView](PaneText plain) {
            txtChiaro->SetLaidText(std::move(plain), keepView);
            emit plainTextShown();
        });
}

void FDecifra::ShowFigures(const std::vector<std::int32_t>& counts) {
    shownCounts_ = counts;
    const ReferenceTable& table = Language().table;
    const std::int32_t total = std::accumulate(counts.begin(), counts.end(), std::int32_t{0});
    barsTesto->Show(counts, total, table);
    const std::optional<double> ic = IndexOfCoincidence(counts, total);
    lblFigure->setText(
        QStringLiteral("Indice di coincidenza: %1 (atteso %2)\nChi quadrato: %3\nLettere: %4")
            .arg(ic ? Decimal(*ic, 4) : QStringLiteral("—"))
            .arg(Decimal(ExpectedCoincidence(table), 4))
            .arg(total > 0 ? Decimal(ChiSquare(counts, total, table), 1) : QStringLiteral("—"))
            .arg(QLocale().toString(total)));
}

} // namespace tallivo
