#include "letter_bars.h"

#include "bar_painter.h"
#include "frequency_report.h"
#include "picture_area.h"

#include <QGridLayout>
#include <QLabel>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace tallivo {

namespace {

const QColor kBarColor(255, 0, 0);
constexpr int kBarWidth = 15;
constexpr int kBarHeight = 110;

} // namespace

LetterBars::LetterBars(MessageService& messages, const QString& accessibleName, QWidget* parent)
    : QWidget(parent)
    , messages_(messages) {
    setAccessibleName(accessibleName);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(1);
    for (int i = 0; i < 26; ++i) {
        const QString letter(QChar('A' + i));
        bars_[std::size_t(i)] = new PictureArea(this);
        bars_[std::size_t(i)]->setObjectName(QStringLiteral("picBar%1").arg(i));
        bars_[std::size_t(i)]->setFixedSize(kBarWidth, kBarHeight);
        bars_[std::size_t(i)]->setAccessibleName(letter);
        auto* label = new QLabel(letter, this);
        label->setAlignment(Qt::AlignHCenter);
        grid->addWidget(bars_[std::size_t(i)], 0, i, Qt::AlignHCenter);
        grid->addWidget(label, 1, i, Qt::AlignHCenter);
    }
    grid->setColumnStretch(26, 1);
}

void LetterBars::SetZoom(double factor) {
    for (PictureArea* bar : bars_) {
        bar->setFixedSize(int(std::lround(kBarWidth * factor)),
                          int(std::lround(kBarHeight * factor)));
    }
    if (shown_) {
        Show(shown_->counts, shown_->total, shown_->expected); // drawn again at the new size
    }
}

void LetterBars::Show(const std::vector<std::int32_t>& counts, std::int32_t total,
                      const std::optional<ReferenceTable>& expected) {
    shown_ = Shown{counts, total, expected};
    std::array<float, 26> percent{};
    double tallest = 0.0;
    for (int i = 0; i < 26; ++i) {
        percent[std::size_t(i)] =
            total > 0 ? RoundedPercent(counts[std::size_t(i)], total, PercentPattern::ZeroHashHash)
                      : 0.0F;
        tallest = std::max(tallest, double(BarHeight(percent[std::size_t(i)])));
        if (expected) {
            tallest = std::max(tallest, (*expected)[std::size_t(i)]);
        }
    }
    BarPainter painter(messages_, BarPainter::FittingGaugeMax(tallest), expected, kBarColor);
    painter.Prepare(*bars_[0]);
    const QLocale locale;
    for (int i = 0; i < 26; ++i) {
        PictureArea& bar = *bars_[std::size_t(i)];
        painter.Paint(i, percent[std::size_t(i)], bar);
        QString hint = QStringLiteral("%1: %2%")
                           .arg(QChar('A' + i))
                           .arg(locale.toString(percent[std::size_t(i)], 'f', 2));
        if (expected) {
            hint += QStringLiteral(" — atteso %1%")
                        .arg(locale.toString((*expected)[std::size_t(i)], 'f', 2));
        }
        bar.setToolTip(hint);
        bar.setAccessibleDescription(hint);
    }
}

} // namespace tallivo
