#pragma once

#include "reference_frequencies.h"

#include <QObject>
#include <QString>

#include <optional>

namespace tallivo {

class FMain;
class SourceCounter;
struct PlatformServices;

// A reference the bars are compared with: its name as the windows give it and its table.
struct NamedReference {
    QString name; // "italiano", "inglese" or the reference text's file name
    ReferenceTable table;
};

// Which reference the main window's bars are marked with: none, a language, or the letter
// frequencies of a text the user picks. It keeps the choice for the run and marks the window.
class ReferenceChoice : public QObject {
    Q_OBJECT

public:
    enum class Kind { None, Italian, English, Text };

    ReferenceChoice(FMain& window, const PlatformServices& services, SourceCounter& counter);

    Kind kind() const { return kind_; }
    const std::optional<NamedReference>& current() const { return current_; }

    // Chooses no reference, Italian or English.
    void Choose(Kind kind);

    // Asks for a reference text and counts it through the counting road; it becomes the
    // reference once counted. A cancel, a failure or a text without letters keeps the last
    // choice (the last two with a message). changed() follows in every case.
    void ChooseText();

signals:
    // The choice has been made, or kept after a text could not be had.
    void changed();

private:
    void Set(Kind kind, std::optional<NamedReference> reference);

    FMain& window_;
    const PlatformServices& services_;
    SourceCounter& counter_;
    Kind kind_ = Kind::None;
    std::optional<NamedReference> current_;
};

} // namespace tallivo
