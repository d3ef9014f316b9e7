#pragma once

#include "reference_frequencies.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tallivo {

class MessageService;
class PictureArea;

// A row of 26 red bars, a to z, drawn by the same painter and rule as the main window's bars,
// at the most magnifying of its scales that holds the tallest bar and marker, with a black
// marker row at each letter's expected share where a language is given. Every bar reads its
// share as a tooltip and as its accessible description.
class LetterBars : public QWidget {
    Q_OBJECT

public:
    LetterBars(MessageService& messages, const QString& accessibleName, QWidget* parent = nullptr);

    // Shows counts (index 0 = a) over total; total 0 shows empty bars.
    void Show(const std::vector<std::int32_t>& counts, std::int32_t total,
              const std::optional<ReferenceTable>& expected);

    const std::array<PictureArea*, 26>& bars() const { return bars_; }

    // Makes the bars factor times their usual size (the letters follow the window's font).
    void SetZoom(double factor);

private:
    struct Shown {
        std::vector<std::int32_t> counts;
        std::int32_t total = 0;
        std::optional<ReferenceTable> expected;
    };

    MessageService& messages_;
    std::optional<Shown> shown_;
    std::array<PictureArea*, 26> bars_{};
};

} // namespace tallivo
