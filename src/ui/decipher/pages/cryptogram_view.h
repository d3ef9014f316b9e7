#pragma once

#include "key_edits.h"
#include "substitution_key.h"

#include <QAbstractScrollArea>
#include <QString>

#include <cstddef>
#include <utility>
#include <vector>

namespace tallivo {

// A cryptogram as it is worked on paper: each line of the ciphertext (letters in capitals) with
// its plaintext under it, each plaintext letter under its cipher letter and "·" under one the
// key leaves open, wrapped to the width of the view. Only the lines in view are drawn, so a long
// text scrolls at once. The caret sits on a character: the arrows, Home, End and the page keys
// move it, a click puts it; a letter typed on a cipher letter assigns it and moves on (not on a
// locked one), Delete, Backspace or "." clear it. Every occurrence of the chosen cipher letter
// is marked, and a locked assignment is drawn in bold. A screen reader hears the line under the
// caret, ciphertext and plaintext, through the accessible description.
class CryptogramView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CryptogramView(QWidget* parent = nullptr);

    // Shows text from its start, with the caret at its first character.
    void SetText(const QString& text);
    const QString& text() const { return text_; }
    void SetKey(const SubstitutionKey& key, const LetterLocks& locks);
    // Marks every occurrence of cipher (0 = a; -1 marks none).
    void SetChosenLetter(int cipher);

    qsizetype caret() const { return caret_; }
    // Puts the caret on offset and scrolls it into view; says which letter and word it is on.
    void SetCaret(qsizetype offset);
    // The character offset of the letter-th letter of the text (its end if there are fewer).
    qsizetype OffsetOfLetter(std::size_t letter) const;
    // The cipher letter under the caret (0 = a), or -1 on any other character.
    int CipherAtCaret() const;
    // The letters of the word under the caret, in capitals; empty off a word.
    QString WordAtCaret() const;

    // The rows the text is wrapped into at the present width, each a line of ciphertext with
    // its plaintext under it; the row that holds offset.
    qsizetype RowCount() const { return qsizetype(rows_.size()); }
    qsizetype RowOf(qsizetype offset) const;
    // Where the cipher character at offset is drawn, in viewport coordinates.
    QRect CharacterRect(qsizetype offset) const;
    // The rows under the caret as a screen reader hears them.
    QString CaretLineText() const;

signals:
    // The caret has come onto a cipher letter (0 = a).
    void letterChosen(int cipher);
    // The caret has come onto another word; its letters in capitals.
    void wordChosen(const QString& cipherWord);
    // The user typed plain (0 = a, or -1 to clear) on cipher letter cipher.
    void assignRequested(int cipher, int plain);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Relayout();
    int CharWidth() const;
    int LineHeight() const;
    int RowHeight() const;
    qsizetype OffsetAt(const QPoint& point) const;
    void MoveCaret(qsizetype offset);
    // The character drawn for the ciphertext at offset, and under it.
    QChar CipherShown(qsizetype offset) const;
    QChar PlainShown(qsizetype offset) const;

    QString text_;
    std::vector<std::pair<qsizetype, qsizetype>> rows_; // from, to (a line break is in none)
    int columns_ = 1;
    SubstitutionKey key_;
    LetterLocks locks_{};
    int chosen_ = -1;
    qsizetype caret_ = 0;
    QString word_;
};

} // namespace tallivo
