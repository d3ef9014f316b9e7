#include "page_widgets.h"

#include "cipher_page.h"
#include "language_model.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>

namespace tallivo {

QTableWidget* MakeTable(QWidget* parent, const char* name, const QString& accessibleName,
                        const QStringList& headers) {
    auto* table = new QTableWidget(0, int(headers.size()), parent);
    table->setObjectName(QLatin1String(name));
    table->setAccessibleName(accessibleName);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->setVisible(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setTabKeyNavigation(false);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    return table;
}

void SetCell(QTableWidget* table, int row, int column, const QString& text, bool bold) {
    auto* item = new QTableWidgetItem(text);
    QFont font = item->font();
    font.setBold(bold);
    item->setFont(font);
    table->setItem(row, column, item);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QSpinBox* MakeSpin(QWidget* parent, const char* name, const QString& accessibleName, int low,
                   int high) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setAccessibleName(accessibleName);
    spin->setRange(low, high);
    return spin;
}

QLineEdit* MakeLine(QWidget* parent, const char* name, const QString& accessibleName) {
    auto* line = new QLineEdit(parent);
    line->setObjectName(QLatin1String(name));
    line->setAccessibleName(accessibleName);
    return line;
}

QLabel* MakeHint(QWidget* parent, const char* name) {
    auto* hint = new QLabel(parent);
    hint->setObjectName(QLatin1String(name));
    hint->setWordWrap(true);
    QFont font = hint->font();
    font.setItalic(true);
    hint->setFont(font);
    return hint;
}

QLabel* MakeBuddyLabel(QWidget* parent, const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

void SetQuietly(QSpinBox* spin, int value) {
    const QSignalBlocker quiet(spin);
    spin->setValue(value);
}

QString KeyErrorText(KeyError error, const QString& rule) {
    QString why;
    switch (error) {
    case KeyError::Empty:
        why = QStringLiteral("La chiave è vuota.");
        break;
    case KeyError::NotALetter:
        why = QStringLiteral("La chiave contiene caratteri che non sono lettere a–z.");
        break;
    case KeyError::NotANumber:
        why = QStringLiteral("La chiave deve essere un numero.");
        break;
    case KeyError::OutOfRange:
        why = QStringLiteral("Il numero è fuori dall'intervallo ammesso.");
        break;
    case KeyError::NotCoprime:
        why = QStringLiteral("Il moltiplicatore ha un divisore in comune con 26, quindi due "
                             "lettere finirebbero sulla stessa.");
        break;
    case KeyError::TooShort:
        why = QStringLiteral("La chiave è troppo corta.");
        break;
    case KeyError::TooLong:
        why = QStringLiteral("La chiave è troppo lunga.");
        break;
    case KeyError::WrongLength:
        why = QStringLiteral("La chiave non ha la lunghezza giusta.");
        break;
    case KeyError::RepeatedLetter:
        why = QStringLiteral("Una lettera compare due volte dove ognuna va una volta sola.");
        break;
    case KeyError::NotAPermutation:
        why = QStringLiteral("I numeri delle colonne devono essere 1, 2, … n, ognuno una volta.");
        break;
    }
    return why + QLatin1Char(' ') + rule + QStringLiteral(" La chiave in uso non cambia.");
}

const LanguageModel& ScoringModel(const WorkLanguage& language) {
    return language.model != nullptr ? *language.model : LanguageModel::Get(Language::Italian);
}

std::optional<QString> SearchRefusal(const WorkText& text) {
    if (!text.text || text.text->letters().size() < 8) {
        return QStringLiteral("Il testo ha troppo poche lettere per cercare la chiave.");
    }
    return std::nullopt;
}

QString Decimal(double value, int decimals) {
    return QLocale().toString(value, 'f', decimals);
}

} // namespace tallivo
