#include "worksheet.h"

#include "bar_painter.h"
#include "letter_chart.h"
#include "reference_frequencies.h"

#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <array>
#include <cstdint>

namespace tallivo {

namespace {

const QColor kInk(0, 0, 0);
const QColor kRule(170, 170, 170);

QFont Sans(double points, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont Mono(double points) {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPointSizeF(points);
    font.setStyleHint(QFont::Monospace);
    return font;
}

// Lays text out down the pages of a device, from the top of the first.
class Flow {
public:
    Flow(QPainter& painter, QPagedPaintDevice& device)
        : painter_(painter)
        , device_(device)
        , width_(device.width())
        , height_(device.height()) {}

    double Mm(double mm) const { return mm * device_.logicalDpiY() / 25.4; }
    int width() const { return width_; }
    int pages() const { return pages_; }
    double y() const { return y_; }

    // Starts a new page.
    void NewPage() {
        device_.newPage();
        ++pages_;
        y_ = 0;
    }

    // Makes sure height fits below, on a new page when it does not.
    void Room(double height) {
        if (y_ > 0 && y_ + height > height_) {
            NewPage();
        }
    }

    void Skip(double height) { y_ += height; }

    // Writes text in font, wrapped at the width, each line of it on lines of its own; with
    // writingLines, an empty ruled line follows each line to write on.
    void Text(const QString& text, const QFont& font, bool writingLines = false) {
        const QStringList paragraphs = text.split(QLatin1Char('\n'));
        for (const QString& paragraph : paragraphs) {
            QTextLayout layout(paragraph, font, &device_);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(width_);
            }
            layout.endLayout();
            for (int i = 0; i < layout.lineCount(); ++i) {
                const QTextLine line = layout.lineAt(i);
                const double step = line.height() * (writingLines ? 2.2 : 1.0);
                Room(step);
                painter_.setPen(kInk);
                line.draw(&painter_, QPointF(0, y_ - line.y()));
                if (writingLines) {
                    const double rule = y_ + line.height() * 2.0;
                    painter_.setPen(QPen(kRule, Mm(0.2)));
                    painter_.drawLine(QPointF(0, rule), QPointF(line.naturalTextWidth(), rule));
                }
                y_ += step;
            }
        }
    }

private:
    QPainter& painter_;
    QPagedPaintDevice& device_;
    int width_;
    int height_;
    int pages_ = 1;
    double y_ = 0;
};

std::array<std::int32_t, 26> Counts(const std::string& text) {
    std::array<std::int32_t, 26> counts{};
    for (const char c : text) {
        const unsigned folded = static_cast<unsigned char>(c) | 0x20U;
        if (folded >= 'a' && folded <= 'z') {
            ++counts[folded - 'a'];
        }
    }
    return counts;
}

// A row of boxes under their labels, as wide as the page allows.
void Boxes(QPainter& painter, Flow& flow, const QStringList& labels) {
    const double box = std::min(flow.Mm(9), double(flow.width()) / labels.size());
    const double label = flow.Mm(5);
    flow.Room(label + box);
    painter.setFont(Sans(9));
    for (int i = 0; i < labels.size(); ++i) {
        const QRectF top(i * box, flow.y(), box, label);
        painter.setPen(kInk);
        painter.drawText(top, Qt::AlignCenter, labels[i]);
        painter.setPen(QPen(kInk, flow.Mm(0.3)));
        painter.drawRect(QRectF(i * box, flow.y() + label, box, box));
    }
    flow.Skip(label + box);
}

void FrequencyTable(QPainter& painter, Flow& flow, const std::array<std::int32_t, 26>& counts) {
    const double column = double(flow.width()) / 26;
    const double row = flow.Mm(6);
    flow.Room(2 * row);
    painter.setFont(Sans(8.5));
    painter.setPen(QPen(kInk, flow.Mm(0.2)));
    for (int i = 0; i < 26; ++i) {
        const QRectF letter(i * column, flow.y(), column, row);
        const QRectF count(i * column, flow.y() + row, column, row);
        painter.drawRect(letter);
        painter.drawRect(count);
        painter.drawText(letter, Qt::AlignCenter, QString(QChar(u'A' + i)));
        painter.drawText(count, Qt::AlignCenter, QString::number(counts[std::size_t(i)]));
    }
    flow.Skip(2 * row);
}

void Bars(QPainter& painter, Flow& flow, const std::array<std::int32_t, 26>& counts,
          MessageService& messages) {
    std::int32_t total = 0;
    double tallest = 0;
    for (const std::int32_t count : counts) {
        total += count;
    }
    if (total == 0) {
        return;
    }
    for (const std::int32_t count : counts) {
        tallest = std::max(tallest, 100.0 * count / total);
    }
    const std::int16_t gaugeMax = BarPainter::FittingGaugeMax(tallest);
    const QImage chart = DrawLetterChart(
        LetterChart{std::vector<std::int32_t>(counts.begin(), counts.end()), total, gaugeMax,
                    QStringLiteral("Testo cifrato: %1% a tutta altezza").arg(gaugeMax),
                    ItalianFrequencies(), QStringLiteral("italiano")},
        messages, 4.0);
    const QSizeF logical = chart.deviceIndependentSize();
    const double width = std::min(double(flow.width()), flow.Mm(150));
    const double height = width * logical.height() / logical.width();
    flow.Room(height);
    painter.drawImage(QRectF((flow.width() - width) / 2, flow.y(), width, height), chart);
    flow.Skip(height);
}

// Whether the key is a keyword of length letters, given in boxes one per letter.
bool KeywordOf(const QString& key, int length) {
    return length > 1 && length < 26 && key.trimmed().size() == length;
}

} // namespace

int PaintWorksheet(QPagedPaintDevice& device, const Exercise& exercise, const QString& cipherTitle,
                   MessageService& messages) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return 0;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    Flow flow(painter, device);
    const QString key = QString::fromStdString(exercise.key);
    const QLocale locale;

    flow.Text(QStringLiteral("Esercizio di crittoanalisi"), Sans(18, true));
    flow.Skip(flow.Mm(2));
    QString about =
        QStringLiteral("Cifrario: %1 · %2 lettere · spazi tra le parole: %3")
            .arg(cipherTitle, locale.toString(exercise.difficulty.letters),
                 exercise.difficulty.spaces ? QStringLiteral("sì") : QStringLiteral("no"));
    flow.Text(about, Sans(10));
    flow.Skip(flow.Mm(4));
    flow.Text(QStringLiteral("Nome ______________________   Classe ________   Data ____________"),
              Sans(10));
    flow.Skip(flow.Mm(6));

    flow.Text(QStringLiteral("Testo cifrato"), Sans(12, true));
    flow.Text(QStringLiteral("Scrivi il testo in chiaro sulla riga sotto ogni riga."), Sans(9));
    flow.Skip(flow.Mm(3));
    flow.Text(QString::fromStdString(exercise.ciphertext), Mono(10), true);
    flow.Skip(flow.Mm(4));

    const auto counts = Counts(exercise.ciphertext);
    flow.Room(flow.Mm(90));
    flow.Text(QStringLiteral("Frequenze delle lettere del testo cifrato"), Sans(12, true));
    flow.Skip(flow.Mm(2));
    FrequencyTable(painter, flow, counts);
    flow.Skip(flow.Mm(3));
    Bars(painter, flow, counts, messages);
    flow.Skip(flow.Mm(6));

    QStringList labels;
    if (KeywordOf(key, exercise.difficulty.keyLength)) {
        flow.Room(flow.Mm(25));
        flow.Text(QStringLiteral("Chiave (%1 lettere)").arg(exercise.difficulty.keyLength),
                  Sans(12, true));
        for (int i = 1; i <= exercise.difficulty.keyLength; ++i) {
            labels << QString::number(i);
        }
    } else {
        flow.Room(flow.Mm(25));
        flow.Text(QStringLiteral("Chiave: la lettera in chiaro sotto ogni lettera cifrata"),
                  Sans(12, true));
        for (int i = 0; i < 26; ++i) {
            labels << QString(QChar(u'A' + i));
        }
    }
    flow.Skip(flow.Mm(2));
    Boxes(painter, flow, labels);

    // The answers, on a page of their own.
    flow.NewPage();
    flow.Text(QStringLiteral("Soluzione"), Sans(18, true));
    flow.Skip(flow.Mm(2));
    flow.Text(QStringLiteral("Cifrario: %1 · testo: %2")
                  .arg(cipherTitle, QString::fromStdString(exercise.source)),
              Sans(10));
    flow.Skip(flow.Mm(4));
    flow.Text(QStringLiteral("Chiave"), Sans(12, true));
    flow.Text(key, Mono(11));
    flow.Skip(flow.Mm(4));
    flow.Text(QStringLiteral("Testo in chiaro"), Sans(12, true));
    flow.Skip(flow.Mm(2));
    flow.Text(QString::fromStdString(exercise.plaintext), Mono(10));
    painter.end();
    return flow.pages();
}

} // namespace tallivo
