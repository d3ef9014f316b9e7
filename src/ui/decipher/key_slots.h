#pragma once

#include "key_edits.h"
#include "substitution_key.h"

#include <QTableWidget>

namespace tallivo {

// The 26 slots of a substitution key, one per cipher letter A..Z, each showing the plaintext
// letter assigned to it or nothing: one tab stop, the arrow keys move between the slots, a
// letter assigns it and moves on, Delete, Backspace, space or "." empties the slot. A
// plaintext letter assigned to two cipher letters is marked in both; a locked slot shows a
// padlock and keeps its letter against typing.
class KeySlots : public QTableWidget {
    Q_OBJECT

public:
    explicit KeySlots(QWidget* parent = nullptr);

    // As wide as its 26 slots as the desktop's font draws them: never scrolled.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    const SubstitutionKey& key() const { return key_; }
    void SetKey(const SubstitutionKey& key);
    const LetterLocks& locks() const { return locks_; }
    void SetLocks(const LetterLocks& locks);

signals:
    // The user changed the key.
    void edited();
    // The user typed on a locked slot: nothing changed.
    void lockedTyped(int cipher);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowKey();

    SubstitutionKey key_;
    LetterLocks locks_{};
};

} // namespace tallivo
