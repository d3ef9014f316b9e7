#pragma once

#include "key_error.h"

#include <QString>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QWidget;

namespace tallivo {

class LanguageModel;
struct WorkLanguage;
struct WorkText;

// The controls the workbench's pages share, made alike: named for the tests and for a screen
// reader, buttons that are never a default.

QTableWidget* MakeTable(QWidget* parent, const char* name, const QString& accessibleName,
                        const QStringList& headers);
void SetCell(QTableWidget* table, int row, int column, const QString& text, bool bold = false);
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text);
QSpinBox* MakeSpin(QWidget* parent, const char* name, const QString& accessibleName, int low,
                   int high);
QLineEdit* MakeLine(QWidget* parent, const char* name, const QString& accessibleName);
// A label for messages about the key, in a colour that reads on light and dark themes.
QLabel* MakeHint(QWidget* parent, const char* name);
// A label that gives buddy its access key.
QLabel* MakeBuddyLabel(QWidget* parent, const QString& text, QWidget* buddy);

// Sets the spin box without telling its listeners: a change made by the program, not the user.
void SetQuietly(QSpinBox* spin, int value);

// Returns the Italian sentence for a key that cannot be used: why, then rule (what the cipher's
// key is), then that the key in use stays.
QString KeyErrorText(KeyError error, const QString& rule);

// Returns the model a page scores plaintexts with: the language's own, or Italian's for a
// language the program carries no n-grams for (a reference text).
const LanguageModel& ScoringModel(const WorkLanguage& language);

// Returns why a key search cannot start on text (too few letters to score), or nothing.
std::optional<QString> SearchRefusal(const WorkText& text);

// Returns value in the user's locale with decimals decimals.
QString Decimal(double value, int decimals);

} // namespace tallivo
