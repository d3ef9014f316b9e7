#pragma once

#include <QString>

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tallivo {

// A text as the plaintext pane lays it out: where its lines start, how many columns the widest
// takes, and, for each long line that holds a tab, the column of every kCheckpoint-th
// character, so that a column is found without counting from the line's start. Worked out
// once per text, on any thread.
struct PaneText {
    static constexpr qsizetype kCheckpoint = 1024;
    static constexpr qsizetype kTabWidth = 8;

    QString text;
    std::vector<std::uint32_t> lineStarts{0};
    qsizetype longestLine = 0;
    std::unordered_map<qsizetype, std::vector<qsizetype>> checkpoints;

    // Returns text laid out.
    static PaneText Laid(QString text);

    // Returns the column after a character c drawn from column: tabs to the next multiple of
    // kTabWidth.
    static qsizetype NextColumn(QChar c, qsizetype column) {
        return c == QLatin1Char('\t') ? (column / kTabWidth + 1) * kTabWidth : column + 1;
    }
};

} // namespace tallivo
