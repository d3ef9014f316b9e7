#include "fmain.h"

#include "analysis_error.h"
#include "app_fonts.h"
#include "finfo.h"
#include "frequency_report.h"
#include "letter_counter.h"
#include "message_service.h"
#include "open_file_dialog.h"
#include "picture_area.h"
#include "platform_services.h"
#include "read_progress.h"
#include "twips.h"
#include "vgauge.h"
#include "wait_cursor.h"
#include "window_centring.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSvgWidget>

#include <functional>
#include <optional>

namespace tallivo {

namespace {

const QColor kBackground(0xE7, 0xE1, 0xD1);
const QColor kBarColor(255, 0, 0);
const QColor kTitleColor(0x80, 0x80, 0xFF);
const QString kUnexpectedError =
    QStringLiteral("Si è verificato un errore imprevisto: l'analisi non è stata completata.");

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

// Returns whether a picked name is empty or holds only spaces (tabs are text): a cancel.
bool IsCancelledName(const QString& name) {
    for (const QChar c : name) {
        if (c != QLatin1Char(' ')) {
            return false;
        }
    }
    return true;
}

QString ErrorReason(AnalysisError kind) {
    switch (kind) {
    case AnalysisError::FileNotFound:
        return QStringLiteral("Il file non esiste.");
    case AnalysisError::AccessDenied:
        return QStringLiteral("Accesso negato.");
    case AnalysisError::NotRegularFile:
        return QStringLiteral("Non è un file normale.");
    case AnalysisError::TooManyLetters:
        return QStringLiteral("Il file contiene troppe lettere da contare (più di 2147483647).");
    default:
        return QStringLiteral("Errore durante la lettura.");
    }
}

QString ErrorHeading(AnalysisError kind) {
    switch (kind) {
    case AnalysisError::FileNotFound:
    case AnalysisError::AccessDenied:
    case AnalysisError::NotRegularFile:
        return QStringLiteral("Impossibile aprire il file:");
    default:
        return QStringLiteral("Impossibile analizzare il file:");
    }
}

} // namespace

FMain::FMain(const PlatformServices& services, QWidget* parent)
    : QWidget(parent)
    , services_(services) {
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
    setWindowIcon(QIcon(QStringLiteral(":/images/chart.svg")));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(TwipsToPixels(6180), TwipsToPixels(6045));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackground);
    setPalette(colours);
    setAutoFillBackground(true);
    setAcceptDrops(true);

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
    lstFreq->installEventFilter(this);

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
    RunAnalysisCommand([this] { return services_.dialog.GetOpenFileName(this); });
}

void FMain::AnalyseFileAtStart(const QString& fileName) {
    RunAnalysisCommand([&fileName] { return fileName; });
}

void FMain::RunAnalysisCommand(const std::function<QString()>& chooseFile) {
    if (busy_) {
        return; // one analysis at a time
    }
    const QScopedValueRollback busy(busy_, true);
    try {
        VGauge gauge = PreparedGauge(GaugeMaxFor(ScaleIndex));
        const QString fileName = chooseFile();
        if (IsCancelledName(fileName)) {
            return;
        }
        AnalyseFile(fileName, gauge);
    } catch (const std::exception& error) {
        // The detail is for a bug report; the user reads Italian only.
        qWarning("tallivo: unexpected error: %s", error.what());
        ShowError(kUnexpectedError);
    } catch (...) {
        ShowError(kUnexpectedError);
    }
}

VGauge FMain::PreparedGauge(std::int16_t gaugeMax) {
    VGauge gauge(services_.messages);
    gauge.Max(gaugeMax);
    gauge.Min(0);
    gauge.Setup(*picLett[0]);
    return gauge;
}

void FMain::AnalyseFile(const QString& fileName, VGauge& gauge) {
    std::optional<AnalysisError> failure;
    {
        WaitCursor hourglass;
        std::vector<std::int32_t> counts;
        std::int32_t total = 0;
        try {
            ProgressWatch progress(services_.progress, this, QDir::toNativeSeparators(fileName));
            CountLetters(QFile::encodeName(fileName).toStdString(), counts, total,
                         [&progress](std::uint64_t bytesRead) { return progress(bytesRead); });
        } catch (const AnalysisFailure& error) {
            failure = error.kind();
        }
        if (failure == AnalysisError::Cancelled) {
            return; // stopped by the user: everything stays as it was
        }
        // Only a count that succeeded replaces the last analysis.
        if (!failure) {
            LetterCounts = std::move(counts);
            TotalLetters = total;
            ShowReport(gauge);
        }
    }
    // The normal pointer is back before any message.
    if (failure) {
        ShowError(ErrorHeading(*failure) + QLatin1Char('\n') + QDir::toNativeSeparators(fileName) +
                  QLatin1Char('\n') + ErrorReason(*failure));
    } else if (TotalLetters == 0) {
        ShowError(QStringLiteral("Il file non contiene lettere dalla A alla Z."));
    }
}

void FMain::ShowReport(VGauge& gauge) {
    lstFreq->clear();
    ClearReportHints();
    if (TotalLetters == 0) {
        // No percentages to show: the total alone, and no bars.
        lstFreq->addItem(QString::fromStdString(TotalLine(TotalLetters)));
        for (PictureArea* pic : picLett) {
            pic->Clear();
        }
        return;
    }
    const std::string separator = QLocale().decimalPoint().toStdString();
    for (int n = 1; n <= 26; ++n) {
        const std::int32_t count = LetterCounts[n - 1];
        const float percent = RoundedPercent(count, TotalLetters, PercentPattern::ZeroHashHash);
        const QString line = QString::fromStdString(FrequencyLine(n, count, percent, separator));
        lstFreq->addItem(line);
        // The bar's own hint: the same line with the letter as it stands under the bar.
        const QString hint = line.at(0).toLower() + line.mid(1);
        picLett[n - 1]->setToolTip(hint);
        picLett[n - 1]->setAccessibleDescription(
            QStringLiteral("%1 (%2%)")
                .arg(count)
                .arg(QString::fromStdString(PercentText(percent, separator))));
        DrawBar(gauge, n - 1, percent);
    }
    lstFreq->addItem(QString::fromStdString(TotalLine(TotalLetters)));
}

void FMain::DrawBar(VGauge& gauge, int letter, float percent) {
    gauge.Setup(*picLett[letter]);
    gauge.Paint2(BarHeight(percent), *picLett[letter], kBarColor);
}

void FMain::ClearReportHints() {
    for (PictureArea* pic : picLett) {
        pic->setToolTip(QString());
        pic->setAccessibleDescription(QString());
    }
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
    if (LetterCounts.empty() || TotalLetters == 0) {
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
        DrawBar(gauge, n - 1, percent);
    }
}

void FMain::cmdEsci_Click() {
    close();
}

void FMain::cmdHelp_Click() {
    FInfo info(this);
    info.exec();
}

void FMain::ShowError(const QString& text) {
    services_.messages.ShowMessage(this, text, QStringLiteral("Tallivo"));
}

bool FMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstFreq && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        CopyReport();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FMain::CopyReport() const {
    QStringList lines;
    for (int row = 0; row < lstFreq->count(); ++row) {
        lines.append(lstFreq->item(row)->text());
    }
    if (!lines.isEmpty()) {
        QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    }
}

namespace {

// Returns the one local file a drag carries, or an empty string.
QString DroppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1 ||
        !data->urls().first().isLocalFile()) {
        return QString();
    }
    return data->urls().first().toLocalFile();
}

} // namespace

void FMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void FMain::dropEvent(QDropEvent* event) {
    const QString fileName = DroppedFile(event->mimeData());
    if (fileName.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    RunAnalysisCommand([&fileName] { return fileName; });
}

} // namespace tallivo
