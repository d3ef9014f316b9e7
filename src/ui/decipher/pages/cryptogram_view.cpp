#include "cryptogram_view.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace tallivo {

namespace {

constexpr int kMargin = 4;

// The letter of c (0 = a, either case) if it is an ASCII letter, else -1.
int LetterOf(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'a' && u <= u'z') {
        return u - u'a';
    }
    if (u >= u'A' && u <= u'Z') {
        return u - u'A';
    }
    return -1;
}

} // namespace

CryptogramView::CryptogramView(QWidget* parent)
    : QAbstractScrollArea(parent) {
    setAccessibleName(QStringLiteral("Crittogramma"));
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    viewport()->setCursor(Qt::IBeamCursor);
    Relayout();
}

void CryptogramView::SetText(const QString& text) {
    text_ = text;
    caret_ = 0;
    word_.clear();
    Relayout();
    verticalScrollBar()->setValue(0);
    setAccessibleDescription(CaretLineText());
    viewport()->update();
}

void CryptogramView::SetKey(const SubstitutionKey& key, const LetterLocks& locks) {
    key_ = key;
    locks_ = locks;
    setAccessibleDescription(CaretLineText());
    viewport()->update();
}

void CryptogramView::SetChosenLetter(int cipher) {
    if (chosen_ != cipher) {
        chosen_ = cipher;
        viewport()->update();
    }
}

int CryptogramView::CharWidth() const {
    return std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('M')));
}

int CryptogramView::LineHeight() const {
    return fontMetrics().height();
}

int CryptogramView::RowHeight() const {
    // The ciphertext, its plaintext, and half a line between one row and the next.
    return 2 * LineHeight() + LineHeight() / 2;
}

void CryptogramView::Relayout() {
    columns_ = std::max(8, (viewport()->width() - 2 * kMargin) / CharWidth());
    rows_.clear();
    const qsizetype size = text_.size();
    qsizetype lineStart = 0;
    for (qsizetype at = 0; at <= size; ++at) {
        if (at < size && text_[at] != QLatin1Char('\n')) {
            continue;
        }
        qsizetype from = lineStart;
        while (at - from > columns_) {
            // Break after the last space that leaves the row no wider than the view.
            qsizetype space = from + columns_ - 1;
            while (space > from && text_[space] != QLatin1Char(' ')) {
                --space;
            }
            const qsizetype to = space > from ? space + 1 : from + columns_;
            rows_.emplace_back(from, to);
            from = to;
        }
        rows_.emplace_back(from, at);
        lineStart = at + 1;
    }
    const int inView = std::max(1, viewport()->height() / RowHeight());
    verticalScrollBar()->setRange(0, std::max<int>(0, int(rows_.size()) - inView));
    verticalScrollBar()->setPageStep(inView);
    verticalScrollBar()->setSingleStep(1);
}

qsizetype CryptogramView::RowOf(qsizetype offset) const {
    const auto after =
        std::upper_bound(rows_.begin(), rows_.end(), offset,
                         [](qsizetype value, const auto& row) { return value < row.first; });
    return std::max<qsizetype>(0, qsizetype(after - rows_.begin()) - 1);
}

QRect CryptogramView::CharacterRect(qsizetype offset) const {
    const qsizetype row = RowOf(offset);
    const int x = kMargin + int(offset - rows_[std::size_t(row)].first) * CharWidth();
    const int y = int(row - verticalScrollBar()->value()) * RowHeight();
    return QRect(x, y, CharWidth(), LineHeight());
}

qsizetype CryptogramView::OffsetAt(const QPoint& point) const {
    const qsizetype row = std::clamp<qsizetype>(
        verticalScrollBar()->value() + std::max(0, point.y()) / RowHeight(), 0, RowCount() - 1);
    const auto& [from, to] = rows_[std::size_t(row)];
    const qsizetype column = std::max(0, point.x() - kMargin) / CharWidth();
    return std::min(from + column, std::max(from, to - 1));
}

QChar CryptogramView::CipherShown(qsizetype offset) const {
    const QChar c = text_[offset];
    if (LetterOf(c) >= 0) {
        return c.toUpper();
    }
    return c.unicode() < 0x20 ? QLatin1Char(' ') : c;
}

QChar CryptogramView::PlainShown(qsizetype offset) const {
    const int cipher = LetterOf(text_[offset]);
    if (cipher < 0) {
        return QLatin1Char(' ');
    }
    const int plain = key_.PlainOf(cipher);
    return plain == SubstitutionKey::kNone ? QChar(0x00B7) : QChar(char16_t(u'a' + plain));
}

void CryptogramView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(font());
    QFont bold = font();
    bold.setBold(true);
    const int width = CharWidth();
    const int line = LineHeight();
    QColor marked = palette().color(QPalette::Highlight);
    marked.setAlpha(70);
    const QColor plainColour = palette().color(QPalette::Link);
    const QColor openColour = palette().color(QPalette::PlaceholderText);
    int y = 0;
    for (qsizetype row = verticalScrollBar()->value(); row < RowCount() && y < viewport()->height();
         ++row, y += RowHeight()) {
        const auto& [from, to] = rows_[std::size_t(row)];
        for (qsizetype offset = from; offset < to; ++offset) {
            const QRect cipherRect(kMargin + int(offset - from) * width, y, width, line);
            const QRect plainRect = cipherRect.translated(0, line);
            const int cipher = LetterOf(text_[offset]);
            if (cipher >= 0 && cipher == chosen_) {
                painter.fillRect(cipherRect.united(plainRect), marked);
            }
            if (offset == caret_) {
                painter.setPen(QPen(palette().color(QPalette::Text), hasFocus() ? 2 : 1,
                                    hasFocus() ? Qt::SolidLine : Qt::DotLine));
                painter.drawRect(cipherRect.united(plainRect).adjusted(0, 0, -1, -1));
            }
            painter.setFont(font());
            painter.setPen(palette().color(QPalette::Text));
            painter.drawText(cipherRect, Qt::AlignCenter, QString(CipherShown(offset)));
            if (cipher < 0) {
                continue;
            }
            const bool locked = locks_[std::size_t(cipher)];
            painter.setFont(locked ? bold : font());
            painter.setPen(key_.PlainOf(cipher) == SubstitutionKey::kNone ? openColour
                                                                          : plainColour);
            painter.drawText(plainRect, Qt::AlignCenter, QString(PlainShown(offset)));
        }
        if (caret_ >= to && caret_ < text_.size() && text_[caret_] == QLatin1Char('\n') &&
            RowOf(caret_) == row) {
            painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
            painter.drawRect(
                QRect(kMargin + int(to - from) * width, y, width, 2 * line).adjusted(0, 0, -1, -1));
        }
    }
}

void CryptogramView::keyPressEvent(QKeyEvent* event) {
    const qsizetype row = RowOf(caret_);
    const auto& [from, to] = rows_[std::size_t(row)];
    const auto inRow = [this](qsizetype target, qsizetype column) {
        const auto& [start, end] = rows_[std::size_t(target)];
        return std::min(start + column, std::max(start, end - 1));
    };
    const qsizetype column = caret_ - from;
    const qsizetype pageRows = std::max(1, verticalScrollBar()->pageStep());
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        MoveCaret(caret_ - 1);
        return;
    case Qt::Key_Right:
        MoveCaret(caret_ + 1);
        return;
    case Qt::Key_Up:
        MoveCaret(inRow(std::max<qsizetype>(0, row - 1), column));
        return;
    case Qt::Key_Down:
        MoveCaret(inRow(std::min(RowCount() - 1, row + 1), column));
        return;
    case Qt::Key_PageUp:
        MoveCaret(inRow(std::max<qsizetype>(0, row - pageRows), column));
        return;
    case Qt::Key_PageDown:
        MoveCaret(inRow(std::min(RowCount() - 1, row + pageRows), column));
        return;
    case Qt::Key_Home:
        MoveCaret(control ? 0 : from);
        return;
    case Qt::Key_End:
        MoveCaret(control ? text_.size() - 1 : std::max(from, to - 1));
        return;
    default:
        break;
    }
    const int cipher = CipherAtCaret();
    const QString typed = event->text();
    const QChar c = typed.size() == 1 ? typed.front() : QChar();
    const bool clear = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace ||
                       c == QLatin1Char('.');
    const int plain = LetterOf(c);
    if (cipher < 0 || (!clear && plain < 0) || (event->modifiers() & ~Qt::ShiftModifier)) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    emit assignRequested(cipher, clear ? -1 : plain);
    if (!clear && !locks_[std::size_t(cipher)]) {
        // On to the next letter, as a pencil moves along the line.
        qsizetype next = caret_ + 1;
        while (next < text_.size() && LetterOf(text_[next]) < 0) {
            ++next;
        }
        if (next < text_.size()) {
            MoveCaret(next);
        }
    }
}

void CryptogramView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (!text_.isEmpty()) {
        MoveCaret(OffsetAt(event->position().toPoint()));
    }
}

void CryptogramView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    Relayout();
    SetCaret(caret_);
}

void CryptogramView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CryptogramView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void CryptogramView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        Relayout();
        viewport()->update();
    }
}

void CryptogramView::SetCaret(qsizetype offset) {
    MoveCaret(offset);
}

void CryptogramView::MoveCaret(qsizetype offset) {
    caret_ = std::clamp<qsizetype>(offset, 0, std::max<qsizetype>(0, text_.size() - 1));
    const qsizetype row = RowOf(caret_);
    QScrollBar* bar = verticalScrollBar();
    if (row < bar->value()) {
        bar->setValue(int(row));
    } else if (row >= bar->value() + bar->pageStep()) {
        bar->setValue(int(row - bar->pageStep() + 1));
    }
    viewport()->update();
    setAccessibleDescription(CaretLineText());
    const int cipher = CipherAtCaret();
    if (cipher >= 0) {
        emit letterChosen(cipher);
    }
    const QString word = WordAtCaret();
    if (word != word_) {
        word_ = word;
        if (!word.isEmpty()) {
            emit wordChosen(word);
        }
    }
}

qsizetype CryptogramView::OffsetOfLetter(std::size_t letter) const {
    std::size_t seen = 0;
    for (qsizetype offset = 0; offset < text_.size(); ++offset) {
        if (LetterOf(text_[offset]) >= 0 && seen++ == letter) {
            return offset;
        }
    }
    return text_.size();
}

int CryptogramView::CipherAtCaret() const {
    return caret_ < text_.size() ? LetterOf(text_[caret_]) : -1;
}

QString CryptogramView::WordAtCaret() const {
    if (CipherAtCaret() < 0) {
        return {};
    }
    qsizetype from = caret_;
    while (from > 0 && LetterOf(text_[from - 1]) >= 0) {
        --from;
    }
    qsizetype to = caret_;
    while (to < text_.size() && LetterOf(text_[to]) >= 0) {
        ++to;
    }
    return text_.mid(from, to - from).toUpper();
}

QString CryptogramView::CaretLineText() const {
    if (text_.isEmpty()) {
        return QStringLiteral("Nessun testo.");
    }
    const auto& [from, to] = rows_[std::size_t(RowOf(caret_))];
    QString cipher;
    QString plain;
    for (qsizetype offset = from; offset < to; ++offset) {
        cipher += CipherShown(offset);
        plain += LetterOf(text_[offset]) >= 0 ? PlainShown(offset) : CipherShown(offset);
    }
    QString said =
        QStringLiteral("Cifrato: %1. In chiaro: %2.").arg(cipher.trimmed(), plain.trimmed());
    const int letter = CipherAtCaret();
    if (letter >= 0) {
        const int assigned = key_.PlainOf(letter);
        said += QStringLiteral(" Lettera %1: %2%3.")
                    .arg(QChar(char16_t(u'A' + letter)))
                    .arg(assigned == SubstitutionKey::kNone
                             ? QStringLiteral("non assegnata")
                             : QStringLiteral("in chiaro %1").arg(QChar(char16_t(u'a' + assigned))))
                    .arg(locks_[std::size_t(letter)] ? QStringLiteral(", bloccata") : QString());
    }
    return said;
}

} // namespace tallivo
