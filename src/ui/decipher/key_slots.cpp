#include "key_slots.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace tallivo {

namespace {

// Room for a letter and a padlock.
constexpr int kSlotWidth = 30;

} // namespace

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
    horizontalHeader()->setDefaultSectionSize(kSlotWidth);
    setIconSize(QSize(8, 10));
    horizontalHeader()->setMinimumSectionSize(20);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFixedHeight(horizontalHeader()->sizeHint().height() + rowHeight(0) + 2 * frameWidth());
    setCurrentCell(0, 0);
    ShowKey();
}

void KeySlots::SetKey(const SubstitutionKey& key) {
    key_ = key;
    ShowKey();
}

void KeySlots::SetLocks(const LetterLocks& locks) {
    locks_ = locks;
    ShowKey();
}

QSize KeySlots::sizeHint() const {
    return minimumSizeHint();
}

QSize KeySlots::minimumSizeHint() const {
    const int letters = std::max(horizontalHeader()->length(), 26 * kSlotWidth);
    return {verticalHeader()->sizeHint().width() + letters + 2 * frameWidth(), height()};
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
    if (locks_[std::size_t(cipher)]) {
        emit lockedTyped(cipher);
        return;
    }
    key_.Assign(cipher, clear ? SubstitutionKey::kNone : c.toLower().unicode() - 'a');
    ShowKey();
    if (letter && cipher < 25) {
        setCurrentCell(0, cipher + 1);
    }
    emit edited();
}

namespace {

// A small padlock, drawn rather than taken from a font.
QIcon Padlock(const QColor& colour) {
    QPixmap picture(10, 12);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1.5));
    painter.drawArc(QRectF(2, 0.75, 6, 7), 0, 180 * 16);
    painter.drawLine(QPointF(2, 4.25), QPointF(2, 6));
    painter.drawLine(QPointF(8, 4.25), QPointF(8, 6));
    painter.fillRect(QRectF(0.5, 5.5, 9, 6), colour);
    return QIcon(picture);
}

} // namespace

void KeySlots::ShowKey() {
    const std::array<bool, 26> repeated = key_.Repeated();
    const QIcon padlock = Padlock(palette().color(QPalette::Text));
    for (int cipher = 0; cipher < 26; ++cipher) {
        QTableWidgetItem* slot = item(0, cipher);
        const int plain = key_.PlainOf(cipher);
        const QString shown =
            plain == SubstitutionKey::kNone ? QString() : QString(QChar('a' + plain));
        slot->setText(shown);
        slot->setTextAlignment(Qt::AlignCenter);
        const bool locked = locks_[std::size_t(cipher)];
        slot->setIcon(locked ? padlock : QIcon());
        const QString name = QStringLiteral("%1: %2%3")
                                 .arg(QChar('A' + cipher))
                                 .arg(shown.isEmpty() ? QStringLiteral("nessuna") : shown)
                                 .arg(locked ? QStringLiteral(", bloccata") : QString());
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
