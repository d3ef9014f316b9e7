#include "fmain.h"

#include "app_fonts.h"
#include "frequency_report.h"
#include "message_service.h"
#include "open_file_dialog.h"
#include "picture_area.h"
#include "plain_frame_style.h"
#include "platform_services.h"
#include "svg_icon.h"
#include "twips.h"
#include "vgauge.h"
#include "window_centring.h"
#include "window_service.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgWidget>

namespace tallivo {

namespace {

const QColor kBackground(0xE7, 0xE1, 0xD1);
const QColor kBarColor(255, 0, 0);
const QColor kMarkerColor(0, 0, 0);
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

FMain::FMain(const PlatformServices& services, SourceCounter& counter, QWidget* parent)
    : QWidget(parent)
    , services_(services)
    , counter_(counter) {
    CreateControls();
    Form_Load();
}

FMain::~FMain() = default;

std::int16_t FMain::GaugeMaxFor(int k) {
    return static_cast<std::int16_t>(100 / (k + 1));
}

void FMain::CreateControls() {
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(QStringLiteral("Tallivo"));
    setWindowIcon(IconFromSvg(QStringLiteral(":/images/chart.svg")));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(TwipsToPixels(6180), TwipsToPixels(6045));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackground);
    setPalette(colours);
    setAutoFillBackground(true);

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
        lblLett[i] = new QLabel(QStringLiteral("a"), picLett[i]->InnerArea());
        lblLett[i]->setObjectName(QStringLiteral("lblLett%1").arg(i));
        lblLett[i]->setGeometry(TwipsRect(-30, 2460, 165, 225));
        lblLett[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        lblLett[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    cmdBrowse = makeButton("cmdBrowse", QStringLiteral("Sfoglia"), TwipsRect(5040, 4470, 825, 375));

    lstFreq = new QListWidget(this);
    lstFreq->setObjectName(QStringLiteral("lstFreq"));
    lstFreq->setGeometry(TwipsRect(1950, 4080, 2745, 1815));
    lstFreq->setSelectionMode(QAbstractItemView::SingleSelection);
    lstFreq->setPalette(QGuiApplication::palette());

    Label1 = new QLabel(QStringLiteral("Analisi della frequenza delle lettere nei files"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(TwipsRect(1290, 720, 4845, 255));
    QFont titleFont = UiFont(9.75);
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
    counter_.CountLetters(this, source,
                          [this, source](std::optional<SourceCounter::Counts> counts) {
                              if (counts) {
                                  ShowCounts(source, std::move(*counts));
                              }
                          });
}

VGauge FMain::PreparedGauge(std::int16_t gaugeMax) {
    VGauge gauge(services_.messages);
    gauge.Max(gaugeMax);
    gauge.Min(0);
    gauge.Setup(*picLett[0]);
    return gauge;
}

void FMain::ShowCounts(const TextSource& source, SourceCounter::Counts counts) {
    // Only a count that succeeded replaces the last analysis.
    LetterCounts = std::move(counts.letters);
    TotalLetters = counts.total;
    lastSource_ = source;
    lastStamp_ = counts.stamp;
    ShowReport();
    emit analysed();
    if (TotalLetters == 0) {
        services_.messages.ShowMessage(this, source.NoLettersMessage(), QStringLiteral("Tallivo"));
    }
}

void FMain::ShowReport() {
    const std::int16_t gaugeMax = GaugeMaxFor(ScaleIndex);
    VGauge gauge = PreparedGauge(gaugeMax);
    lstFreq->clear();
    if (TotalLetters == 0) {
        // No percentages to show: the total alone, and no bars.
        lstFreq->addItem(QString::fromStdString(TotalLine(TotalLetters)));
        for (PictureArea* pic : picLett) {
            pic->Clear();
        }
        UpdateBarHints();
        return;
    }
    const std::string separator = QLocale().decimalPoint().toStdString();
    for (int n = 1; n <= 26; ++n) {
        const std::int32_t count = LetterCounts[n - 1];
        const float percent = RoundedPercent(count, TotalLetters, PercentPattern::ZeroHashHash);
        lstFreq->addItem(QString::fromStdString(FrequencyLine(n, count, percent, separator)));
        DrawBar(gauge, gaugeMax, n - 1, percent);
    }
    lstFreq->addItem(QString::fromStdString(TotalLine(TotalLetters)));
    UpdateBarHints();
}

void FMain::DrawBar(VGauge& gauge, std::int16_t gaugeMax, int letter, float percent) {
    gauge.Setup(*picLett[letter]);
    gauge.Paint2(BarHeight(percent), *picLett[letter], kBarColor);
    if (markers_) {
        // The expected percentage on the same scale; above the top of the scale, none.
        const double expected = (*markers_)[letter];
        if (expected > 0.0 && expected <= gaugeMax) {
            picLett[letter]->DrawRow(gaugeMax - expected, kMarkerColor);
        }
    }
}

void FMain::UpdateBarHints() {
    const QString separator = QLocale().decimalPoint();
    for (int i = 0; i < 26; ++i) {
        QString hint;
        QString description;
        if (HasReport()) {
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
        Rescale(GaugeMaxFor(ScaleIndex));
    } catch (const AnalysisFailure&) {
        // Nothing analysed: no bars to mark.
    }
}

QStringList FMain::ReportLines() const {
    QStringList lines;
    for (int row = 0; row < lstFreq->count(); ++row) {
        lines.append(lstFreq->item(row)->text());
    }
    return lines;
}

QList<QWidget*> FMain::ReportViews() const {
    QList<QWidget*> views{lstFreq};
    for (PictureArea* pic : picLett) {
        views.append(pic);
    }
    return views;
}

void FMain::opt_Click(int index) {
    // Errors here are ignored: the choice is remembered for the next analysis in any case.
    try {
        Rescale(GaugeMaxFor(index));
    } catch (...) {
    }
    ScaleIndex = static_cast<std::int16_t>(index);
}

void FMain::Rescale(std::int16_t gaugeMax) {
    VGauge gauge = PreparedGauge(gaugeMax);
    if (!HasReport()) {
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
        DrawBar(gauge, gaugeMax, n - 1, percent);
    }
}

void FMain::cmdEsci_Click() {
    close();
}

void FMain::cmdHelp_Click() {
    services_.windows.ShowInformation();
}

} // namespace tallivo
