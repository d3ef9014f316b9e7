#include "text_pane.h"

#include "text_pane_accessible.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <climits>

namespace tallivo {

namespace {

constexpr int kMargin = 4;

// A screen reader hears of a new text by at most this much of what is in view.
constexpr qsizetype kAnnounced = 4096;

} // namespace

TextPane::TextPane(QWidget* parent)
    : QAbstractScrollArea(parent) {
    InstallTextPaneAccessibility();
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    UpdateScrollBars();
}

QChar TextPane::Shown(QChar c) {
    if (c.unicode() < 0x20) {
        return QChar(char16_t(0x2400 + c.unicode())); // ␀ to ␟
    }
    return c.unicode() == 0x7F ? QChar(0x2421) : c; // ␡
}

void TextPane::SetText(QString text, bool keepView) {
    SetLaidText(PaneText::Laid(std::move(text)), keepView);
}

void TextPane::SetLaidText(PaneText laid, bool keepView) {
    const bool keep = keepView && laid.text.size() == laid_.text.size();
    const QString before = laid_.text;
    const qsizetype from = keep ? FirstVisibleOffset() : 0;
    laid_ = std::move(laid);
    UpdateScrollBars();
    if (!keep) {
        caret_ = anchor_ = 0;
        verticalScrollBar()->setValue(0);
        horizontalScrollBar()->setValue(0);
    }
    viewport()->update();
    AnnounceChange(before, from);
}

void TextPane::AnnounceChange(const QString& before, qsizetype from) {
    // What is in view, before and now: enough for a screen reader to speak, never the whole
    // text of many megabytes.
    const qsizetype count =
        std::min(kAnnounced, std::max<qsizetype>(LastVisibleOffset() - from, 1));
    announced_ = {from, before.mid(from, count), text().mid(from, count)};
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent update(this, int(from), announced_.removed, announced_.inserted);
        QAccessible::updateAccessibility(&update);
    }
}

qsizetype TextPane::Snapped(qsizetype offset, int direction) const {
    const QString& all = text();
    if (offset > 0 && offset < all.size() && all[offset].isLowSurrogate() &&
        all[offset - 1].isHighSurrogate()) {
        return direction > 0 ? offset + 1 : offset - 1;
    }
    return offset;
}

void TextPane::SetCaret(qsizetype offset, bool keepAnchor) {
    offset = std::clamp<qsizetype>(offset, 0, text().size());
    caret_ = Snapped(offset, offset > caret_ ? 1 : -1);
    if (!keepAnchor) {
        anchor_ = caret_;
    }
    EnsureVisible(caret_);
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTextCursorEvent moved(this, int(caret_));
        QAccessible::updateAccessibility(&moved);
    }
}

QString TextPane::SelectedText() const {
    const qsizetype from = std::min(anchor_, caret_);
    return text().mid(from, std::max(anchor_, caret_) - from);
}

qsizetype TextPane::LineOf(qsizetype offset) const {
    const auto after = std::upper_bound(laid_.lineStarts.begin(), laid_.lineStarts.end(),
                                        std::uint32_t(std::max<qsizetype>(offset, 0)));
    return qsizetype(after - laid_.lineStarts.begin()) - 1;
}

qsizetype TextPane::LineStart(qsizetype line) const {
    return qsizetype(laid_.lineStarts[std::size_t(line)]);
}

qsizetype TextPane::LineEnd(qsizetype line) const {
    qsizetype end = line + 1 < LineCount() ? LineStart(line + 1) - 1 : text().size();
    if (end > LineStart(line) && text()[end - 1] == QLatin1Char('\r')) {
        --end;
    }
    return end;
}

int TextPane::LineHeight() const {
    return std::max(1, fontMetrics().lineSpacing());
}

int TextPane::CharWidth() const {
    return std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('M')));
}

std::pair<qsizetype, qsizetype> TextPane::CheckpointBefore(qsizetype line, qsizetype offset) const {
    const qsizetype start = LineStart(line);
    const auto marks = laid_.checkpoints.find(line);
    if (marks != laid_.checkpoints.end()) {
        const auto k = std::size_t(std::max<qsizetype>(offset - start, 0) / PaneText::kCheckpoint);
        const std::size_t mark = std::min(k, marks->second.size() - 1);
        return {start + qsizetype(mark) * PaneText::kCheckpoint, marks->second[mark]};
    }
    if (LineEnd(line) - start > PaneText::kCheckpoint) {
        // A long line without a tab: one column a character.
        const qsizetype at = std::clamp(offset, start, LineEnd(line));
        return {at, at - start};
    }
    return {start, 0};
}

qsizetype TextPane::ColumnOf(qsizetype offset) const {
    const qsizetype line = LineOf(offset);
    auto [at, column] = CheckpointBefore(line, offset);
    const QChar* const data = text().constData();
    for (const qsizetype end = std::min(offset, LineEnd(line)); at < end; ++at) {
        column = PaneText::NextColumn(data[at], column);
    }
    return column;
}

qsizetype TextPane::OffsetOfColumn(qsizetype line, qsizetype column) const {
    const qsizetype start = LineStart(line);
    const qsizetype end = LineEnd(line);
    qsizetype at = start;
    qsizetype drawn = 0;
    const auto marks = laid_.checkpoints.find(line);
    if (marks != laid_.checkpoints.end()) {
        // The last checkpoint at or before the column, then character by character.
        const auto after = std::upper_bound(marks->second.begin(), marks->second.end(), column);
        const auto mark =
            std::size_t(std::max<std::ptrdiff_t>(after - marks->second.begin() - 1, 0));
        at = start + qsizetype(mark) * PaneText::kCheckpoint;
        drawn = marks->second[mark];
    } else if (end - start > PaneText::kCheckpoint) {
        return std::min(start + std::max<qsizetype>(column, 0), end);
    }
    const QChar* const data = text().constData();
    for (; at < end; ++at) {
        const qsizetype next = PaneText::NextColumn(data[at], drawn);
        if (next > column) {
            break;
        }
        drawn = next;
    }
    return at;
}

QString TextPane::ShownColumns(qsizetype line, qsizetype firstColumn, qsizetype columns) const {
    qsizetype at = OffsetOfColumn(line, firstColumn);
    qsizetype column = ColumnOf(at);
    const qsizetype end = LineEnd(line);
    const QChar* const data = text().constData();
    QString shown;
    shown.reserve(columns);
    for (; at < end && shown.size() < columns; ++at) {
        const QChar c = data[at];
        const qsizetype next = PaneText::NextColumn(c, column);
        if (c == QLatin1Char('\t')) {
            for (qsizetype k = std::max(column, firstColumn); k < next && shown.size() < columns;
                 ++k) {
                shown += QLatin1Char(' ');
            }
        } else if (column >= firstColumn) {
            shown += Shown(c);
        }
        column = next;
    }
    return shown;
}

QRect TextPane::CharacterRect(qsizetype offset) const {
    const qsizetype line = LineOf(offset);
    const qsizetype x = kMargin + ColumnOf(offset) * CharWidth() - horizontalScrollBar()->value();
    const int y = int(line - verticalScrollBar()->value()) * LineHeight();
    return QRect(int(std::clamp<qsizetype>(x, INT_MIN / 2, INT_MAX / 2)), y, CharWidth(),
                 LineHeight());
}

qsizetype TextPane::OffsetAt(const QPoint& point) const {
    const qsizetype line = std::clamp<qsizetype>(
        verticalScrollBar()->value() + point.y() / LineHeight(), 0, LineCount() - 1);
    const qsizetype wanted =
        (point.x() + qsizetype(horizontalScrollBar()->value()) - kMargin + CharWidth() / 2) /
        CharWidth();
    return Snapped(OffsetOfColumn(line, wanted), -1);
}

qsizetype TextPane::FirstVisibleOffset() const {
    return LineStart(std::clamp<qsizetype>(verticalScrollBar()->value(), 0, LineCount() - 1));
}

qsizetype TextPane::LastVisibleOffset() const {
    const qsizetype rows = viewport()->height() / LineHeight() + 1;
    const qsizetype last = std::min(LineCount() - 1, verticalScrollBar()->value() + rows);
    return LineEnd(std::max<qsizetype>(last, 0));
}

void TextPane::EnsureVisible(qsizetype offset) {
    const qsizetype line = LineOf(offset);
    const int rows = std::max(1, viewport()->height() / LineHeight());
    QScrollBar* vertical = verticalScrollBar();
    if (line < vertical->value()) {
        vertical->setValue(int(line));
    } else if (line >= vertical->value() + rows) {
        vertical->setValue(int(line) - rows + 1);
    }
    const qsizetype x = kMargin + ColumnOf(offset) * CharWidth();
    QScrollBar* horizontal = horizontalScrollBar();
    if (x < horizontal->value()) {
        horizontal->setValue(int(std::max<qsizetype>(x - kMargin, 0)));
    } else if (x + CharWidth() > horizontal->value() + viewport()->width()) {
        horizontal->setValue(
            int(std::min<qsizetype>(x + CharWidth() - viewport()->width(), INT_MAX)));
    }
}

void TextPane::UpdateScrollBars() {
    const int rows = std::max(1, viewport()->height() / LineHeight());
    verticalScrollBar()->setRange(0, std::max(0, int(LineCount()) - rows));
    verticalScrollBar()->setPageStep(rows);
    verticalScrollBar()->setSingleStep(1);
    // Every column of the longest line can be scrolled to.
    const qsizetype width = 2 * kMargin + (laid_.longestLine + PaneText::kTabWidth) * CharWidth();
    horizontalScrollBar()->setRange(
        0, int(std::clamp<qsizetype>(width - viewport()->width(), 0, INT_MAX)));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(CharWidth());
}

void TextPane::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(font());
    const int height = LineHeight();
    const int ascent = fontMetrics().ascent();
    const qsizetype scrolled = horizontalScrollBar()->value();
    const qsizetype first = verticalScrollBar()->value();
    const qsizetype from = std::min(anchor_, caret_);
    const qsizetype to = std::max(anchor_, caret_);
    const QPalette& colours = palette();
    const qsizetype firstColumn = scrolled / CharWidth();
    const qsizetype columns = viewport()->width() / CharWidth() + 2;
    // x of a column in view; columns far out of view are clamped to just beyond its edges.
    const auto xOf = [&](qsizetype column) {
        return int(std::clamp<qsizetype>(kMargin + column * CharWidth() - scrolled, -CharWidth(),
                                         viewport()->width() + CharWidth()));
    };
    for (qsizetype line = first; line < LineCount(); ++line) {
        const int y = int(line - first) * height;
        if (y > viewport()->height()) {
            break;
        }
        // The selected part of the line, if any, on the highlight colour.
        const qsizetype start = LineStart(line);
        const qsizetype end = LineEnd(line);
        if (from < to && from <= end && to > start) {
            const int x1 = xOf(ColumnOf(std::max(from, start)));
            const int x2 = xOf(ColumnOf(std::min(to, end))) + (to > end ? CharWidth() / 2 : 0);
            painter.fillRect(QRect(x1, y, x2 - x1, height), colours.highlight());
        }
        // Only the columns in view: a line may be the whole text.
        painter.setPen(colours.text().color());
        painter.drawText(QPoint(xOf(firstColumn), y + ascent),
                         ShownColumns(line, firstColumn, columns));
    }
    if (hasFocus()) {
        const QRect at = CharacterRect(caret_);
        painter.fillRect(QRect(at.left(), at.top(), 2, at.height()), colours.text());
    }
}

void TextPane::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::SelectAll) {
        anchor_ = 0;
        SetCaret(text().size(), true);
        return;
    }
    if (event == QKeySequence::Copy) {
        if (caret_ != anchor_) {
            QGuiApplication::clipboard()->setText(SelectedText());
        }
        return;
    }
    const bool keep = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    const qsizetype line = LineOf(caret_);
    const qsizetype column = ColumnOf(caret_);
    const int rows = std::max(1, viewport()->height() / LineHeight());
    // The same column on another line, or that line's end.
    auto toLine = [this, column](qsizetype target) {
        target = std::clamp<qsizetype>(target, 0, LineCount() - 1);
        return Snapped(OffsetOfColumn(target, column), -1);
    };
    switch (event->key()) {
    case Qt::Key_Left:
        SetCaret(caret_ - 1, keep);
        return;
    case Qt::Key_Right:
        SetCaret(caret_ + 1, keep);
        return;
    case Qt::Key_Up:
        SetCaret(toLine(line - 1), keep);
        return;
    case Qt::Key_Down:
        SetCaret(toLine(line + 1), keep);
        return;
    case Qt::Key_PageUp:
        SetCaret(toLine(line - rows), keep);
        return;
    case Qt::Key_PageDown:
        SetCaret(toLine(line + rows), keep);
        return;
    case Qt::Key_Home:
        SetCaret(control ? 0 : LineStart(line), keep);
        return;
    case Qt::Key_End:
        SetCaret(control ? text().size() : LineEnd(line), keep);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void TextPane::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        SetCaret(OffsetAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    }
}

void TextPane::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        SetCaret(OffsetAt(event->position().toPoint()), true);
    }
}

void TextPane::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TextPane::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        // Larger or smaller: the same text, over more or fewer lines and columns of pixels.
        UpdateScrollBars();
        EnsureVisible(caret_);
        viewport()->update();
    }
}

void TextPane::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TextPane::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

} // namespace tallivo
