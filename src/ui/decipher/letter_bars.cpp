#include "letter_bars.h"

#include "picture_area.h"
#include "vgauge.h"

#include <QGridLayout>
#include <QLabel>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace tallivo {

namespace {

const QColor kBarColor(255, 0, 0);
const QColor kMarkerColor(0, 0, 0);

// The gauge counts in tenths of a percent.
constexpr double kUnits = 10.0;

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
        bars_[std::size_t(i)]->setFixedSize(15, 110);
        bars_[std::size_t(i)]->setAccessibleName(letter);
        auto* label = new QLabel(letter, this);
        label->setAlignment(Qt::AlignHCenter);
        grid->addWidget(bars_[std::size_t(i)], 0, i, Qt::AlignHCenter);
        grid->addWidget(label, 1, i, Qt::AlignHCenter);
    }
    grid->setColumnStretch(26, 1);
}

void LetterBars::Show(const std::vector<std::int32_t>& counts, std::int32_t total,
                      const std::optional<ReferenceTable>& expected) {
    std::array<double, 26> percent{};
    double top = 1.0;
    for (int i = 0; i < 26; ++i) {
        percent[std::size_t(i)] = total > 0 ? 100.0 * counts[std::size_t(i)] / total : 0.0;
        top = std::max(top, percent[std::size_t(i)]);
        if (expected) {
            top = std::max(top, (*expected)[std::size_t(i)]);
        }
    }
    const auto gaugeMax = std::int16_t(std::ceil(top) * kUnits);
    VGauge gauge(messages_);
    gauge.Max(gaugeMax);
    gauge.Min(0);
    const QLocale locale;
    for (int i = 0; i < 26; ++i) {
        PictureArea& bar = *bars_[std::size_t(i)];
        gauge.Setup(bar);
        gauge.Paint2(std::int16_t(std::lround(percent[std::size_t(i)] * kUnits)), bar, kBarColor);
        QString hint = QStringLiteral("%1: %2%")
                           .arg(QChar('A' + i))
                           .arg(locale.toString(percent[std::size_t(i)], 'f', 2));
        if (expected) {
            const double share = (*expected)[std::size_t(i)];
            if (share > 0.0) {
                bar.DrawRow(gaugeMax - share * kUnits, kMarkerColor);
            }
            hint += QStringLiteral(" — atteso %1%").arg(locale.toString(share, 'f', 2));
        }
        bar.setToolTip(hint);
        bar.setAccessibleDescription(hint);
    }
}

} // namespace tallivo
