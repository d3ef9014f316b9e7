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

constexpr int kTabWidth = 8;
constexpr int kMargin = 4;

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

void TextPane::SetText(QString text) {
    const QString old = text_;
    text_ = std::move(text);
    lineStarts_.assign(1, 0);
    longestLine_ = 0;
    const QChar* const data = text_.constData();
    qsizetype start = 0;
    for (qsizetype i = 0; i < text_.size(); ++i) {
        if (data[i] == QLatin1Char('\n')) {
            longestLine_ = std::max(longestLine_, i - start);
            start = i + 1;
            lineStarts_.push_back(std::uint32_t(start));
        }
    }
    longestLine_ = std::max(longestLine_, text_.size() - start);
    caret_ = anchor_ = 0;
    UpdateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent update(this, 0, old, text_);
        QAccessible::updateAccessibility(&update);
    }
}

void TextPane::SetCaret(qsizetype offset, bool keepAnchor) {
    caret_ = std::clamp<qsizetype>(offset, 0, text_.size());
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
    return text_.mid(from, std::max(anchor_, caret_) - from);
}

qsizetype TextPane::LineOf(qsizetype offset) const {
    const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(),
                                        std::uint32_t(std::max<qsizetype>(offset, 0)));
    return qsizetype(after - lineStarts_.begin()) - 1;
}

qsizetype TextPane::LineStart(qsizetype line) const {
    return qsizetype(lineStarts_[std::size_t(line)]);
}

qsizetype TextPane::LineEnd(qsizetype line) const {
    qsizetype end = line + 1 < LineCount() ? LineStart(line + 1) - 1 : text_.size();
    if (end > LineStart(line) && text_[end - 1] == QLatin1Char('\r')) {
        --end;
    }
    return end;
}

int TextPane::LineHeight() const {
    return fontMetrics().lineSpacing();
}

int TextPane::CharWidth() const {
    return std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('M')));
}

QString TextPane::Shown(qsizetype line, qsizetype firstColumn, qsizetype columns) const {
    const QStringView raw =
        QStringView(text_).mid(LineStart(line), LineEnd(line) - LineStart(line));
    if (!raw.contains(QLatin1Char('\t'))) {
        return raw.mid(std::min(firstColumn, raw.size()), columns).toString();
    }
    QString shown;
    for (const QChar c : raw) {
        if (c == QLatin1Char('\t')) {
            shown += QString(kTabWidth - shown.size() % kTabWidth, QLatin1Char(' '));
        } else {
            shown += c;
        }
    }
    return shown.mid(std::min(firstColumn, shown.size()), columns);
}

qsizetype TextPane::ColumnOf(qsizetype offset) const {
    const qsizetype line = LineOf(offset);
    qsizetype column = 0;
    for (qsizetype i = LineStart(line); i < std::min(offset, LineEnd(line)); ++i) {
        column = text_[i] == QLatin1Char('\t') ? (column / kTabWidth + 1) * kTabWidth : column + 1;
    }
    return column;
}

QRect TextPane::CharacterRect(qsizetype offset) const {
    const qsizetype line = LineOf(offset);
    const int x = kMargin + int(ColumnOf(offset)) * CharWidth() - horizontalScrollBar()->value();
    const int y = int(line - verticalScrollBar()->value()) * LineHeight();
    return QRect(x, y, CharWidth(), LineHeight());
}

qsizetype TextPane::OffsetAt(const QPoint& point) const {
    const qsizetype line = std::clamp<qsizetype>(
        verticalScrollBar()->value() + point.y() / LineHeight(), 0, LineCount() - 1);
    const qsizetype wanted =
        (point.x() + horizontalScrollBar()->value() - kMargin + CharWidth() / 2) / CharWidth();
    // One pass along the line, the column kept as it goes.
    qsizetype offset = LineStart(line);
    qsizetype column = 0;
    while (offset < LineEnd(line)) {
        const qsizetype next =
            text_[offset] == QLatin1Char('\t') ? (column / kTabWidth + 1) * kTabWidth : column + 1;
        if (next > wanted) {
            break;
        }
        column = next;
        ++offset;
    }
    return offset;
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
    const int x = kMargin + int(ColumnOf(offset)) * CharWidth();
    QScrollBar* horizontal = horizontalScrollBar();
    if (x < horizontal->value()) {
        horizontal->setValue(x - kMargin);
    } else if (x + CharWidth() > horizontal->value() + viewport()->width()) {
        horizontal->setValue(x + CharWidth() - viewport()->width());
    }
}

void TextPane::UpdateScrollBars() {
    const int rows = std::max(1, viewport()->height() / LineHeight());
    verticalScrollBar()->setRange(0, std::max(0, int(LineCount()) - rows));
    verticalScrollBar()->setPageStep(rows);
    verticalScrollBar()->setSingleStep(1);
    const int width =
        2 * kMargin + int(std::min<qsizetype>(longestLine_ + kTabWidth, 1 << 20)) * CharWidth();
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
    const int left = kMargin - horizontalScrollBar()->value();
    const qsizetype first = verticalScrollBar()->value();
    const qsizetype from = std::min(anchor_, caret_);
    const qsizetype to = std::max(anchor_, caret_);
    const QPalette& colours = palette();
    const qsizetype firstColumn = horizontalScrollBar()->value() / CharWidth();
    const qsizetype columns = viewport()->width() / CharWidth() + 2;
    for (qsizetype line = first; line < LineCount(); ++line) {
        const int y = int(line - first) * height;
        if (y > viewport()->height()) {
            break;
        }
        // The selected part of the line, if any, on the highlight colour.
        const qsizetype start = LineStart(line);
        const qsizetype end = LineEnd(line);
        if (from < to && from <= end && to > start) {
            const int x1 = left + int(ColumnOf(std::max(from, start))) * CharWidth();
            const int x2 = left + int(ColumnOf(std::min(to, end))) * CharWidth() +
                           (to > end ? CharWidth() / 2 : 0);
            painter.fillRect(QRect(x1, y, x2 - x1, height), colours.highlight());
        }
        // Only the columns in view: a line may be the whole text.
        painter.setPen(colours.text().color());
        painter.drawText(QPoint(left + int(firstColumn) * CharWidth(), y + ascent),
                         Shown(line, firstColumn, columns));
    }
    if (hasFocus()) {
        const QRect at = CharacterRect(caret_);
        painter.fillRect(QRect(at.left(), at.top(), 2, at.height()), colours.text());
    }
}

void TextPane::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::SelectAll) {
        anchor_ = 0;
        SetCaret(text_.size(), true);
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
    const qsizetype column = caret_ - LineStart(line);
    const int rows = std::max(1, viewport()->height() / LineHeight());
    auto toLine = [this, column](qsizetype target) {
        target = std::clamp<qsizetype>(target, 0, LineCount() - 1);
        return std::min(LineStart(target) + column, LineEnd(target));
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
        SetCaret(control ? text_.size() : LineEnd(line), keep);
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

void TextPane::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TextPane::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

} // namespace tallivo
