#pragma once

#include <QAccessibleWidget>

namespace tallivo {

class TextPane;

// What a screen reader sees of a TextPane: a read-only multi-line text whose characters,
// words, lines and caret it can read, from anywhere in the text.
class TextPaneAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TextPaneAccessible(TextPane* pane);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    TextPane* pane() const;
    // The piece of the given kind that holds offset, as [start, end).
    void Boundaries(int offset, QAccessible::TextBoundaryType boundaryType, int* start,
                    int* end) const;
};

// Makes the accessibility bus describe every TextPane with a TextPaneAccessible.
void InstallTextPaneAccessibility();

} // namespace tallivo
