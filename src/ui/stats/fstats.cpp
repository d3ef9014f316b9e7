#include "fstats.h"

#include "window_centring.h"
#include "zoom_control.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tallivo {

namespace {

// The width of the names before the figures, so the figures stand in one column.
constexpr int kNameWidth = 23;

QString Line(const QString& name, const QString& figure) {
    return (name + QLatin1Char(':')).leftJustified(kNameWidth) + figure + QLatin1Char('\n');
}

// A block of n-grams, one a line: letters, count and share, each in its column, every share
// with two decimals.
QString NGramBlock(const QString& heading, const std::vector<NGramShare>& shares,
                   const QLocale& locale) {
    if (shares.empty()) {
        return {};
    }
    int countWidth = 0;
    for (const NGramShare& share : shares) {
        countWidth = std::max(countWidth, int(QString::number(share.count).size()));
    }
    QString block = QLatin1Char('\n') + heading + QLatin1Char('\n');
    for (const NGramShare& share : shares) {
        block += QStringLiteral("  %1  %2  %3%\n")
                     .arg(QString::fromStdString(share.letters), -3)
                     .arg(share.count, countWidth)
                     .arg(locale.toString(share.percent, 'f', 2), 6);
    }
    return block;
}

} // namespace

QString FStats::Text(const TextStatistics& statistics, const QString& referenceName,
                     const QLocale& locale, bool partial) {
    QString text = Line(QStringLiteral("Lettere"), locale.toString(statistics.letters));
    QString coincidence = QStringLiteral("\u2014");
    if (statistics.coincidence) {
        coincidence = locale.toString(*statistics.coincidence, 'f', 4) + QStringLiteral(" (");
        if (statistics.expectedCoincidence) {
            coincidence += referenceName + QLatin1Char(' ') +
                           locale.toString(*statistics.expectedCoincidence, 'f', 4) +
                           QStringLiteral("; ");
        }
        coincidence += QStringLiteral("testo casuale ") +
                       locale.toString(statistics.randomCoincidence, 'f', 4) + QLatin1Char(')');
    }
    text += Line(QStringLiteral("Indice di coincidenza"), coincidence);
    text += Line(QStringLiteral("Entropia"),
                 locale.toString(statistics.entropy, 'f', 3) + QStringLiteral(" bit per lettera"));
    if (statistics.chiSquare) {
        text += Line(QStringLiteral("Chi quadrato"),
                     locale.toString(*statistics.chiSquare, 'f', 1) +
                         QStringLiteral(" (rispetto a: %1)").arg(referenceName));
    }
    text += Line(QStringLiteral("Ordine di frequenza"),
                 QString::fromStdString(statistics.frequencyOrder));
    text += NGramBlock(QStringLiteral("Bigrammi più frequenti:"), statistics.bigrams, locale);
    text += NGramBlock(QStringLiteral("Trigrammi più frequenti:"), statistics.trigrams, locale);
    if (partial && !statistics.bigrams.empty()) {
        text += QStringLiteral("\nBigrammi e trigrammi dei primi %1 MiB del testo.\n")
                    .arg(CipherText::kWorkLimit >> 20);
    }
    return text;
}

FStats::FStats(const AnalysisModel& model, QWidget* parent)
    : QDialog(parent)
    , model_(model)
    , zoom_(new ZoomControl(this)) {
    setObjectName(QStringLiteral("FStats"));
    setWindowTitle(QStringLiteral("Statistiche"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    txtStats = new QPlainTextEdit(this);
    txtStats->setObjectName(QStringLiteral("txtStats"));
    txtStats->setAccessibleName(QStringLiteral("Statistiche"));
    txtStats->setReadOnly(true);
    txtStats->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtStats->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtStats->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    cmdCopia = new QPushButton(QStringLiteral("&Copia"), this);
    cmdCopia->setObjectName(QStringLiteral("cmdCopia"));
    cmdCopia->setAutoDefault(false);
    cmdChiudi = new QPushButton(QStringLiteral("C&hiudi"), this);
    cmdChiudi->setObjectName(QStringLiteral("cmdChiudi"));
    cmdChiudi->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtStats, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCopia);
    buttons->addWidget(cmdChiudi);
    layout->addLayout(buttons);
    txtStats->setFocus();

    connect(cmdCopia, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(txtStats->toPlainText()); });
    connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::close);
    connect(zoom_, &ZoomControl::changed, this, [this] {
        txtStats->setFont(zoom_->Scaled(QFontDatabase::systemFont(QFontDatabase::FixedFont)));
        setFont(zoom_->Scaled(QApplication::font()));
        ShowModel();
    });
    connect(&model_, &AnalysisModel::resultChanged, this, &FStats::ShowModel);
    connect(&model_, &AnalysisModel::referenceChanged, this, &FStats::ShowModel);
    ShowModel();
}

void FStats::ShowModel() {
    if (!model_.HasReport()) {
        txtStats->setPlainText(QStringLiteral("Nessuna analisi con lettere da mostrare."));
        return;
    }
    const Analysis& analysis = model_.result()->analysis;
    const Reference& reference = model_.reference();
    const TextStatistics statistics = Statistics(analysis.counts, analysis.total, *analysis.ngrams,
                                                 reference.table ? &*reference.table : nullptr);
    txtStats->setPlainText(Text(statistics, reference.name, QLocale(), analysis.Partial()));
    // Wide and high enough for the whole text without scrolling, where the screen allows.
    const QFontMetrics metrics(txtStats->font());
    const QStringList lines = txtStats->toPlainText().split(QLatin1Char('\n'));
    int widest = 0;
    for (const QString& line : lines) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    txtStats->setMinimumSize(std::min(widest + 40, 900),
                             std::min(metrics.lineSpacing() * int(lines.size() + 1) + 16, 600));
}

void FStats::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!centred_) {
        centred_ = true;
        CentreNowAndWhenFramed(this);
    }
}

} // namespace tallivo
