#pragma once

#include "pane_text.h"

#include <QAbstractScrollArea>
#include <QString>

#include <utility>

namespace tallivo {

// A read-only pane for a long text: it keeps the text once, with where each line starts, and
// draws only the lines in view, in a fixed-pitch font, so that a text of many megabytes is
// shown, replaced and scrolled at once and costs little more than the text itself; every
// column of a long line can be scrolled to, and tabs are worked out once per text, not per
// paint. Control characters show as their symbols (␀, ␟). A caret and a selection move with
// the keyboard and the mouse, never into the middle of a character; Ctrl+A and Ctrl+C select
// and copy. A screen reader reads all of it through the accessible text interface, and hears
// of a new text by what is in view, not by the whole text.
class TextPane : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TextPane(QWidget* parent = nullptr);

    // Shows text from its start; the caret goes to the start, the selection is cleared. With
    // keepView, a text of the same length (the same text under another key) keeps the caret,
    // the selection and the scrolling as they were.
    void SetText(QString text, bool keepView = false);
    // The same with a text laid out already, perhaps on another thread.
    void SetLaidText(PaneText laid, bool keepView = false);
    const QString& text() const { return laid_.text; }

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
    qsizetype LineCount() const { return qsizetype(laid_.lineStarts.size()); }

    // The column at which offset is drawn, tabs expanded.
    qsizetype ColumnOf(qsizetype offset) const;
    // The offset of the character drawn over column of line (the line's end past its last).
    qsizetype OffsetOfColumn(qsizetype line, qsizetype column) const;

    // Where offset is drawn, in viewport coordinates, and the offset drawn nearest point.
    QRect CharacterRect(qsizetype offset) const;
    qsizetype OffsetAt(const QPoint& point) const;

    // Scrolls so that offset is in view.
    void EnsureVisible(qsizetype offset);

    // The first and the last offset drawn in the viewport, lines whole.
    qsizetype FirstVisibleOffset() const;
    qsizetype LastVisibleOffset() const;

    // Returns the character drawn for c: c itself, or a symbol for a control character.
    static QChar Shown(QChar c);

    // What a screen reader was told of the last new text: where the text in view starts, and
    // that much of the text as it was and as it is.
    struct ViewChange {
        qsizetype at = 0;
        QString removed;
        QString inserted;
    };
    const ViewChange& lastAnnounced() const { return announced_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void UpdateScrollBars();
    int LineHeight() const;
    int CharWidth() const;
    // Columns firstColumn on of the line as drawn, at most columns of them: tabs to the next
    // multiple of eight columns, no carriage return.
    QString ShownColumns(qsizetype line, qsizetype firstColumn, qsizetype columns) const;
    // Where to start counting columns for offset: an offset at or before it and its column.
    std::pair<qsizetype, qsizetype> CheckpointBefore(qsizetype line, qsizetype offset) const;
    // Moves offset off the second half of a surrogate pair, forward or back.
    qsizetype Snapped(qsizetype offset, int direction) const;
    // Tells a screen reader that the text in view has changed from before.
    void AnnounceChange(const QString& before, qsizetype from);

    PaneText laid_;
    ViewChange announced_;
    qsizetype caret_ = 0;
    qsizetype anchor_ = 0;
};

} // namespace tallivo
