#include "fmain.h"

#include "bar_painter.h"
#include "fixed_look.h"
#include "frequency_report.h"
#include "message_service.h"
#include "open_file_dialog.h"
#include "picture_area.h"
#include "plain_frame_style.h"
#include "platform_services.h"
#include "source_counter.h"
#include "svg_icon.h"
#include "text_source.h"
#include "twips.h"
#include "window_centring.h"
#include "window_service.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgWidget>

namespace tallivo {

namespace {

const QColor kBackground(0xE7, 0xE1, 0xD1);
const QColor kBarColor(255, 0, 0);
const QColor kTitleColor(0x80, 0x80, 0xFF);

struct OptionPlace {
    int left;
    int top;
};

// Where the scale options stand in their frame, in twips; each is 585 by 255.
constexpr std::array<OptionPlace, 8> kOptionPlaces{{
    {120, 360},
    {120, 765},
    {120, 1125},
    {120, 1500},
    {960, 360},
    {960, 735},
    {960, 1095},
    {960, 1470},
}};

// The scale options in the order the keyboard focus visits them.
constexpr std::array<int, 8> kOptionTabOrder{0, 2, 3, 4, 6, 7, 1, 5};

// Returns the Left of letter column i in twips: 26 columns spread 231 twips apart from 120,
// each put on a whole pixel.
int LetterColumnLeft(int i) {
    return 120 + kTwipsPerPixel * ((154 * i + 5) / 10);
}

} // namespace

FMain::FMain(const PlatformServices& services, SourceCounter& counter, AnalysisModel& model,
             QWidget* parent)
    : QWidget(parent)
    , services_(services)
    , counter_(counter)
    , model_(model) {
    CreateControls();
    Form_Load();
    connect(&model_, &AnalysisModel::resultChanged, this, &FMain::ShowResult);
    connect(&model_, &AnalysisModel::referenceChanged, this,
            [this](const Reference& reference) { SetMarkers(reference.table); });
}

FMain::~FMain() = default;

void FMain::CreateControls() {
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(QStringLiteral("Tallivo"));
    setWindowIcon(IconFromSvg(QStringLiteral(":/images/chart.svg")));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(TwipsToPixels(6180), TwipsToPixels(6045));
    // The fixed layout keeps its fonts and its dark text on its own background, whatever the
    // desktop's font and theme; the list and the buttons follow the desktop.
    FixColours(this, kBackground);
    FixFont(this, 8.0);

    auto makeButton = [this](const char* name, const QString& caption, QRect place) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(place);
        button->setAutoDefault(false);
        return button;
    };

    cmdHelp = makeButton("cmdHelp", QStringLiteral("Info"), TwipsRect(5040, 4935, 825, 375));
    cmdEsci = makeButton("cmdEsci", QStringLiteral("Chiudi"), TwipsRect(5040, 5400, 825, 375));

    fraScala = new QGroupBox(QStringLiteral("Scala"), this);
    fraScala->setObjectName(QStringLiteral("fraScala"));
    fraScala->setGeometry(TwipsRect(150, 3990, 1665, 1905));
    auto* frameStyle = new PlainFrameStyle;
    frameStyle->setParent(fraScala);
    fraScala->setStyle(frameStyle);
    optGroup = new QButtonGroup(this);
    for (int k = 0; k < 8; ++k) {
        opt[k] = new QRadioButton(QStringLiteral("x %1").arg(k + 1), fraScala);
        opt[k]->setObjectName(QStringLiteral("opt%1").arg(k));
        opt[k]->setGeometry(TwipsRect(kOptionPlaces[k].left, kOptionPlaces[k].top, 585, 255));
        optGroup->addButton(opt[k], k);
    }
    opt[0]->setChecked(true);
    KeepTabStopOnCheckedOption();

    for (int i = 0; i < 26; ++i) {
        picLett[i] = new PictureArea(this);
        picLett[i]->setObjectName(QStringLiteral("picLett%1").arg(i));
        picLett[i]->setGeometry(TwipsRect(LetterColumnLeft(i), 1080, 165, 2715));
        picLett[i]->setFocusPolicy(Qt::StrongFocus);
        lblLett[i] = new QLabel(QStringLiteral("a"));
        lblLett[i]->setObjectName(QStringLiteral("lblLett%1").arg(i));
        picLett[i]->PlaceLabel(lblLett[i], TwipsRect(-30, 2460, 165, 225));
        lblLett[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        lblLett[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    cmdBrowse = makeButton("cmdBrowse", QStringLiteral("Sfoglia"), TwipsRect(5040, 4470, 825, 375));

    lstFreq = new QListWidget(this);
    lstFreq->setObjectName(QStringLiteral("lstFreq"));
    lstFreq->setGeometry(TwipsRect(1950, 4080, 2745, 1815));
    lstFreq->setSelectionMode(QAbstractItemView::SingleSelection);
    lstFreq->setPalette(QGuiApplication::palette());
    lstFreq->setAccessibleName(QStringLiteral("Frequenze delle lettere"));

    Label1 = new QLabel(QStringLiteral("Analisi della frequenza delle lettere nei files"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(TwipsRect(1290, 720, 4845, 255));
    QFont titleFont = FixedFont(9.75);
    titleFont.setBold(true);
    Label1->setFont(titleFont);
    QPalette titleColours = Label1->palette();
    titleColours.setColor(QPalette::WindowText, kTitleColor);
    Label1->setPalette(titleColours);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Image2 = new QSvgWidget(QStringLiteral(":/images/wordmark.svg"), this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(TwipsRect(1800, 330, 2985, 300));
    Image1 = new QSvgWidget(QStringLiteral(":/images/emblem.svg"), this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(TwipsRect(60, 30, 1250, 1025));

    // Focus order: the list, Sfoglia, the 26 bars, the scale options, Chiudi, Info.
    QList<QWidget*> chain{lstFreq, cmdBrowse};
    for (PictureArea* pic : picLett) {
        chain.append(pic);
    }
    for (int k : kOptionTabOrder) {
        chain.append(opt[k]);
    }
    chain.append(cmdEsci);
    chain.append(cmdHelp);
    for (qsizetype i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
    lstFreq->setFocus();

    // Ctrl+O and Ctrl+Q as Sfoglia and Chiudi, wherever the focus is in the window.
    auto* open = new QAction(this);
    open->setObjectName(QStringLiteral("actSfoglia"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    auto* quit = new QAction(this);
    quit->setObjectName(QStringLiteral("actChiudi"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    addActions({open, quit});
    connect(open, &QAction::triggered, this, &FMain::cmdBrowse_Click);
    connect(quit, &QAction::triggered, this, &FMain::cmdEsci_Click);

    connect(cmdBrowse, &QPushButton::clicked, this, &FMain::cmdBrowse_Click);
    connect(cmdEsci, &QPushButton::clicked, this, &FMain::cmdEsci_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &FMain::cmdHelp_Click);
    connect(optGroup, &QButtonGroup::idClicked, this, &FMain::opt_Click);
    connect(optGroup, &QButtonGroup::idToggled, this, &FMain::KeepTabStopOnCheckedOption);
}

void FMain::KeepTabStopOnCheckedOption() {
    // The scale options are one tab stop, the checked one; the arrow keys move within them.
    for (QRadioButton* option : opt) {
        option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

void FMain::Form_Load() {
    for (int i = 0; i < 26; ++i) {
        const QString letter(QChar(char16_t(u'a' + i)));
        lblLett[i]->setText(letter);
        picLett[i]->setAccessibleName(letter);
    }
}

void FMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!centred_) {
        centred_ = true;
        CentreNowAndWhenFramed(this);
    }
}

void FMain::cmdBrowse_Click() {
    if (counter_.IsBusy()) {
        return; // one analysis at a time
    }
    const QString fileName = services_.dialog.GetOpenFileName(this);
    if (!IsCancelledName(fileName)) {
        Analyse(TextSource::File(fileName));
    }
}

void FMain::Analyse(const TextSource& source) {
    counter_.Analyse(this, source, [this, source](std::optional<Analysis> analysis) {
        if (!analysis) {
            return; // stopped, or told already
        }
        const bool letters = analysis->HasLetters();
        // The text itself is kept only as far as the analysis holds it.
        model_.SetResult(
            AnalysisResult{source.DisplayName(), source.IsText(), std::move(*analysis)});
        if (!letters) {
            services_.messages.ShowMessage(this, source.NoLettersMessage(),
                                           QStringLiteral("Tallivo"));
        }
    });
}

BarPainter FMain::PreparedPainter(std::int16_t gaugeMax) {
    BarPainter painter(services_.messages, gaugeMax, markers_, kBarColor);
    painter.Prepare(*picLett[0]);
    return painter;
}

void FMain::ShowResult(const AnalysisResult& result) {
    // Only a count that succeeded replaces the last analysis.
    LetterCounts = result.analysis.counts;
    TotalLetters = result.analysis.total;
    ShowReport();
    emit analysed();
}

void FMain::ShowReport() {
    const std::int16_t gaugeMax = BarPainter::GaugeMaxFor(ScaleIndex);
    BarPainter painter = PreparedPainter(gaugeMax);
    lstFreq->clear();
    const std::string separator = QLocale().decimalPoint().toStdString();
    for (const std::string& line : ReportLines(LetterCounts, TotalLetters, separator)) {
        lstFreq->addItem(QString::fromStdString(line));
    }
    for (int n = 1; n <= 26; ++n) {
        if (TotalLetters == 0) {
            picLett[n - 1]->Clear(); // no percentages, no bars
            continue;
        }
        painter.Paint(
            n - 1, RoundedPercent(LetterCounts[n - 1], TotalLetters, PercentPattern::ZeroHashHash),
            *picLett[n - 1]);
    }
    UpdateBarHints();
}

void FMain::UpdateBarHints() {
    const QString separator = QLocale().decimalPoint();
    const bool report = TotalLetters != 0 && !LetterCounts.empty();
    for (int i = 0; i < 26; ++i) {
        QString hint = report || reportMenu_ == nullptr ? QString() : menuHint_;
        QString description;
        if (report) {
            const float percent =
                RoundedPercent(LetterCounts[i], TotalLetters, PercentPattern::ZeroHashHash);
            // The bar's own hint: its report line with the letter as it stands under the bar.
            hint = QString::fromStdString(
                FrequencyLine(i + 1, LetterCounts[i], percent, separator.toStdString()));
            hint[0] = lblLett[i]->text().front();
            description =
                QStringLiteral("%1 (%2%)")
                    .arg(LetterCounts[i])
                    .arg(QString::fromStdString(PercentText(percent, separator.toStdString())));
            if (markers_) {
                const QString suffix = QStringLiteral(" \u2014 atteso %1%")
                                           .arg(QLocale().toString((*markers_)[i], 'f', 2));
                hint += suffix;
                description += suffix;
            }
        }
        picLett[i]->setToolTip(hint);
        picLett[i]->setAccessibleDescription(description);
    }
}

void FMain::SetMarkers(const std::optional<ReferenceTable>& expected) {
    markers_ = expected;
    UpdateBarHints();
    // The bars again at the current scale, with the new markers or none.
    try {
        Rescale(BarPainter::GaugeMaxFor(ScaleIndex));
    } catch (const AnalysisFailure&) {
        // Nothing analysed: no bars to mark.
    }
}

void FMain::SetReportMenu(QMenu* menu, const QString& hint) {
    reportMenu_ = menu;
    menuHint_ = hint;
    lstFreq->setToolTip(TotalLetters == 0 ? hint : QString());
    UpdateBarHints();
    connect(this, &FMain::analysed, this,
            [this] { lstFreq->setToolTip(TotalLetters == 0 ? menuHint_ : QString()); });
}

bool FMain::IsReportView(const QWidget* widget) const {
    for (; widget != nullptr && widget != this; widget = widget->parentWidget()) {
        if (widget == lstFreq ||
            std::find(picLett.begin(), picLett.end(), widget) != picLett.end()) {
            return true;
        }
    }
    return false;
}

void FMain::PopupReportMenu(const QPoint& globalPos) {
    if (reportMenu_ != nullptr) {
        reportMenu_->popup(globalPos);
    }
}

void FMain::contextMenuEvent(QContextMenuEvent* event) {
    // From the mouse, where it points; from the keyboard, on the control with the focus.
    const QWidget* target =
        event->reason() == QContextMenuEvent::Mouse ? childAt(event->pos()) : focusWidget();
    if (reportMenu_ == nullptr || !IsReportView(target)) {
        QWidget::contextMenuEvent(event);
        return;
    }
    PopupReportMenu(event->reason() == QContextMenuEvent::Mouse
                        ? event->globalPos()
                        : target->mapToGlobal(target->rect().center()));
}

void FMain::keyPressEvent(QKeyEvent* event) {
    QWidget* focused = focusWidget();
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier &&
        reportMenu_ != nullptr && IsReportView(focused)) {
        PopupReportMenu(focused->mapToGlobal(focused->rect().center()));
        return;
    }
    QWidget::keyPressEvent(event);
}

void FMain::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data != nullptr && (data->hasUrls() || data->hasText())) {
        event->acceptProposedAction();
    }
}

void FMain::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    emit dropped(event->mimeData());
}

void FMain::closeEvent(QCloseEvent* event) {
    // The program may end with the window: a count under way stops.
    counter_.Cancel();
    QWidget::closeEvent(event);
}

void FMain::opt_Click(int index) {
    // Errors here are ignored: the choice is remembered for the next analysis in any case.
    try {
        Rescale(BarPainter::GaugeMaxFor(index));
    } catch (...) {
    }
    ScaleIndex = static_cast<std::int16_t>(index);
    model_.SetScaleIndex(index);
}

void FMain::Rescale(std::int16_t gaugeMax) {
    BarPainter painter = PreparedPainter(gaugeMax);
    if (TotalLetters == 0 || LetterCounts.empty()) {
        return; // nothing analysed, or nothing to draw
    }
    for (int n = 1; n <= 26; ++n) {
        float percent = 0.0F;
        try {
            percent = RoundedPercent(LetterCounts[n - 1], TotalLetters, PercentPattern::HashHash);
        } catch (const AnalysisFailure& failure) {
            if (failure.kind() != AnalysisError::NoDigit) {
                throw;
            }
            // Below 0.005 % the bar is empty; the letters after it are still redrawn.
        }
        painter.Paint(n - 1, percent, *picLett[n - 1]);
    }
}

void FMain::cmdEsci_Click() {
    close();
}

void FMain::cmdHelp_Click() {
    services_.windows.ShowInformation();
}

} // namespace tallivo
