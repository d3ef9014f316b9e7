#include "pane_text.h"

#include <algorithm>

namespace tallivo {

PaneText PaneText::Laid(QString text) {
    PaneText laid;
    laid.text = std::move(text);
    const QChar* const data = laid.text.constData();
    const qsizetype size = laid.text.size();
    std::vector<qsizetype> marks;
    qsizetype start = 0;
    qsizetype column = 0;
    bool tab = false;
    const auto endLine = [&](qsizetype end) {
        laid.longestLine = std::max(laid.longestLine, column);
        if (tab && end - start > kCheckpoint) {
            laid.checkpoints.emplace(qsizetype(laid.lineStarts.size()) - 1, std::move(marks));
        }
        marks.clear();
        column = 0;
        tab = false;
    };
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = data[i];
        if (c == QLatin1Char('\n')) {
            endLine(i);
            start = i + 1;
            laid.lineStarts.push_back(std::uint32_t(start));
            continue;
        }
        if ((i - start) % kCheckpoint == 0) {
            marks.push_back(column);
        }
        tab = tab || c == QLatin1Char('\t');
        column = NextColumn(c, column);
    }
    endLine(size);
    return laid;
}

} // namespace tallivo
