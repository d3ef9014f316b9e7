#include "text_pane_accessible.h"

#include "text_pane.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace tallivo {

namespace {

// Words and sentences are looked for this far around an offset, never in a whole line that may
// be the whole text.
constexpr int kWordReach = 256;
constexpr int kSentenceReach = 4096;

// Returns text as a screen reader gets it: a control character (a NUL above all, which would
// end the text on the bus) as its symbol, tabs and line breaks as they are.
QString Readable(QString text) {
    for (QChar& c : text) {
        if ((c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
             c != QLatin1Char('\r')) ||
            c.unicode() == 0x7F) {
            c = TextPane::Shown(c);
        }
    }
    return text;
}

QAccessibleInterface* MakeInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("tallivo::TextPane") && object->isWidgetType()) {
        return new TextPaneAccessible(static_cast<TextPane*>(object));
    }
    return nullptr;
}

} // namespace

void InstallTextPaneAccessibility() {
    // Registered once for the whole program, however many panes there are.
    static const bool installed = [] {
        QAccessible::installFactory(&MakeInterface);
        return true;
    }();
    (void)installed;
}

TextPaneAccessible::TextPaneAccessible(TextPane* pane)
    : QAccessibleWidget(pane, QAccessible::EditableText) {}

TextPane* TextPaneAccessible::pane() const {
    return static_cast<TextPane*>(widget());
}

void* TextPaneAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TextPaneAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString TextPaneAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Value) {
        return Readable(pane()->text());
    }
    return QAccessibleWidget::text(kind);
}

void TextPaneAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && pane()->caret() != pane()->anchor()) {
        *startOffset = int(std::min(pane()->caret(), pane()->anchor()));
        *endOffset = int(std::max(pane()->caret(), pane()->anchor()));
    }
}

int TextPaneAccessible::selectionCount() const {
    return pane()->caret() != pane()->anchor() ? 1 : 0;
}

void TextPaneAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void TextPaneAccessible::removeSelection(int) {
    pane()->SetCaret(pane()->caret());
}

void TextPaneAccessible::setSelection(int, int startOffset, int endOffset) {
    pane()->SetCaret(startOffset);
    pane()->SetCaret(endOffset, true);
}

int TextPaneAccessible::cursorPosition() const {
    return int(pane()->caret());
}

void TextPaneAccessible::setCursorPosition(int position) {
    pane()->SetCaret(position);
}

QString TextPaneAccessible::text(int startOffset, int endOffset) const {
    const QString& all = pane()->text();
    startOffset = std::clamp(startOffset, 0, int(all.size()));
    endOffset =
        endOffset < 0 ? int(all.size()) : std::clamp(endOffset, startOffset, int(all.size()));
    return Readable(all.mid(startOffset, endOffset - startOffset));
}

void TextPaneAccessible::Boundaries(int offset, QAccessible::TextBoundaryType boundaryType,
                                    int* start, int* end) const {
    const QString& all = pane()->text();
    offset = std::clamp(offset, 0, int(all.size()));
    const qsizetype line = pane()->LineOf(offset);
    // A line, with its line break; a paragraph is a line too.
    const int lineStart = int(pane()->LineStart(line));
    const int lineEnd =
        line + 1 < pane()->LineCount() ? int(pane()->LineStart(line + 1)) : int(all.size());
    switch (boundaryType) {
    case QAccessible::CharBoundary:
        *start = offset;
        *end = std::min(offset + 1, int(all.size()));
        return;
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary:
        *start = lineStart;
        *end = lineEnd;
        return;
    case QAccessible::NoBoundary:
        *start = 0;
        *end = int(all.size());
        return;
    default:
        break;
    }
    // Words and sentences, found within the line, near the offset.
    const bool word = boundaryType == QAccessible::WordBoundary;
    const int reach = word ? kWordReach : kSentenceReach;
    const int from = std::max(lineStart, offset - reach);
    const int to = std::min(lineEnd, offset + reach);
    const QStringView piece = QStringView(all).mid(from, to - from);
    QTextBoundaryFinder finder(word ? QTextBoundaryFinder::Word : QTextBoundaryFinder::Sentence,
                               piece.data(), int(piece.size()));
    finder.setPosition(offset - from);
    const int at = int(finder.position());
    int before = finder.isAtBoundary() ? at : int(finder.toPreviousBoundary());
    finder.setPosition(offset - from);
    int after = int(finder.toNextBoundary());
    before = before < 0 ? 0 : before;
    after = after < 0 ? int(piece.size()) : after;
    *start = from + before;
    *end = from + after;
}

QString TextPaneAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int* startOffset, int* endOffset) const {
    Boundaries(offset, boundaryType, startOffset, endOffset);
    return text(*startOffset, *endOffset);
}

QString TextPaneAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int* startOffset, int* endOffset) const {
    int start = 0;
    int end = 0;
    Boundaries(offset, boundaryType, &start, &end);
    if (start == 0) {
        *startOffset = *endOffset = 0;
        return QString();
    }
    Boundaries(start - 1, boundaryType, startOffset, endOffset);
    return text(*startOffset, *endOffset);
}

QString TextPaneAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int* startOffset, int* endOffset) const {
    int start = 0;
    int end = 0;
    Boundaries(offset, boundaryType, &start, &end);
    if (end >= characterCount()) {
        *startOffset = *endOffset = characterCount();
        return QString();
    }
    Boundaries(end, boundaryType, startOffset, endOffset);
    return text(*startOffset, *endOffset);
}

int TextPaneAccessible::characterCount() const {
    return int(pane()->text().size());
}

QRect TextPaneAccessible::characterRect(int offset) const {
    const QRect local = pane()->CharacterRect(offset);
    return QRect(pane()->viewport()->mapToGlobal(local.topLeft()), local.size());
}

int TextPaneAccessible::offsetAtPoint(const QPoint& point) const {
    return int(pane()->OffsetAt(pane()->viewport()->mapFromGlobal(point)));
}

void TextPaneAccessible::scrollToSubstring(int startIndex, int) {
    pane()->EnsureVisible(startIndex);
}

QString TextPaneAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = offset;
    *endOffset = offset;
    return QString();
}

} // namespace tallivo
