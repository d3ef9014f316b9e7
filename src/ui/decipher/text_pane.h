#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include <cstdint>
#include <vector>

namespace tallivo {

// A read-only pane for a long text: it keeps the text once, with where each line starts, and
// draws only the lines in view, in a fixed-pitch font, so that a text of many megabytes is
// shown, replaced and scrolled at once and costs little more than the text itself. A caret
// and a selection move with the keyboard and the mouse; Ctrl+A and Ctrl+C select and copy. A
// screen reader reads all of it through the accessible text interface.
class TextPane : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TextPane(QWidget* parent = nullptr);

    // Shows text from its start; the caret goes to the start, the selection is cleared.
    void SetText(QString text);
    const QString& text() const { return text_; }

    // The caret, and the selection from anchor to caret (empty where the two meet), as
    // offsets into the text.
    qsizetype caret() const { return caret_; }
    qsizetype anchor() const { return anchor_; }
    void SetCaret(qsizetype offset, bool keepAnchor = false);
    QString SelectedText() const;

    // The line that holds offset, and where it starts and ends (before its line break).
    qsizetype LineOf(qsizetype offset) const;
    qsizetype LineStart(qsizetype line) const;
    qsizetype LineEnd(qsizetype line) const;
    qsizetype LineCount() const { return qsizetype(lineStarts_.size()); }

    // Where offset is drawn, in viewport coordinates, and the offset drawn nearest point.
    QRect CharacterRect(qsizetype offset) const;
    qsizetype OffsetAt(const QPoint& point) const;

    // Scrolls so that offset is in view.
    void EnsureVisible(qsizetype offset);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void UpdateScrollBars();
    int LineHeight() const;
    int CharWidth() const;
    // Columns firstColumn on of the line as drawn, at most columns of them: tabs to the next
    // multiple of eight columns, no carriage return.
    QString Shown(qsizetype line, qsizetype firstColumn, qsizetype columns) const;
    // The column at which offset is drawn, tabs expanded.
    qsizetype ColumnOf(qsizetype offset) const;

    QString text_;
    std::vector<std::uint32_t> lineStarts_{0};
    qsizetype longestLine_ = 0;
    qsizetype caret_ = 0;
    qsizetype anchor_ = 0;
};

} // namespace tallivo
