#pragma once

#include "substitution_key.h"

#include <QTableWidget>

namespace tallivo {

// The 26 slots of a substitution key, one per cipher letter A..Z, each showing the plaintext
// letter assigned to it or nothing: one tab stop, the arrow keys move between the slots, a
// letter assigns it and moves on, Delete, Backspace, space or "." empties the slot. A
// plaintext letter assigned to two cipher letters is marked in both.
class KeySlots : public QTableWidget {
    Q_OBJECT

public:
    explicit KeySlots(QWidget* parent = nullptr);

    const SubstitutionKey& key() const { return key_; }
    void SetKey(const SubstitutionKey& key);

signals:
    // The user changed the key.
    void edited();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowKey();

    SubstitutionKey key_;
};

} // namespace tallivo
