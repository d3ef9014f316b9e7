#include "key_slots.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace tallivo {

KeySlots::KeySlots(QWidget* parent)
    : QTableWidget(1, 26, parent) {
    QStringList letters;
    for (int i = 0; i < 26; ++i) {
        letters << QString(QChar('A' + i));
        setItem(0, i, new QTableWidgetItem);
    }
    setHorizontalHeaderLabels(letters);
    setVerticalHeaderLabels({QStringLiteral("In chiaro")});
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultSectionSize(26);
    horizontalHeader()->setMinimumSectionSize(20);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFixedHeight(horizontalHeader()->sizeHint().height() + rowHeight(0) + 2 * frameWidth());
    setMinimumWidth(verticalHeader()->sizeHint().width() + 26 * 26 + 2 * frameWidth());
    setCurrentCell(0, 0);
    ShowKey();
}

void KeySlots::SetKey(const SubstitutionKey& key) {
    key_ = key;
    ShowKey();
}

void KeySlots::keyPressEvent(QKeyEvent* event) {
    const int cipher = currentColumn();
    const QString text = event->text();
    const QChar c = text.size() == 1 ? text.front() : QChar();
    const bool clear = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace ||
                       c == QLatin1Char(' ') || c == QLatin1Char('.');
    const bool letter =
        c.isLetter() && c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('z');
    if (cipher < 0 || (!clear && !letter) || (event->modifiers() & ~Qt::ShiftModifier)) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    key_.Assign(cipher, clear ? SubstitutionKey::kNone : c.toLower().unicode() - 'a');
    ShowKey();
    if (letter && cipher < 25) {
        setCurrentCell(0, cipher + 1);
    }
    emit edited();
}

void KeySlots::ShowKey() {
    const std::array<bool, 26> repeated = key_.Repeated();
    for (int cipher = 0; cipher < 26; ++cipher) {
        QTableWidgetItem* slot = item(0, cipher);
        const int plain = key_.PlainOf(cipher);
        const QString shown =
            plain == SubstitutionKey::kNone ? QString() : QString(QChar('a' + plain));
        slot->setText(shown);
        slot->setTextAlignment(Qt::AlignCenter);
        const QString name = QStringLiteral("%1: %2")
                                 .arg(QChar('A' + cipher))
                                 .arg(shown.isEmpty() ? QStringLiteral("nessuna") : shown);
        if (repeated[std::size_t(cipher)]) {
            slot->setBackground(QColor(255, 200, 200));
            slot->setToolTip(QStringLiteral("%1 — assegnata anche a un'altra lettera").arg(name));
        } else {
            slot->setBackground(QBrush());
            slot->setToolTip(name);
        }
        slot->setData(Qt::AccessibleTextRole, slot->toolTip());
    }
}

} // namespace tallivo
