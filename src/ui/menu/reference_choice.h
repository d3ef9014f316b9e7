#pragma once

#include "analysis_model.h"

#include <QObject>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace tallivo {

class SourceCounter;
struct PlatformServices;

// The submenu "Confronta con": no reference, Italian, English, or the letter frequencies of a
// text the user picks, counted through the counting road. The choice becomes the model's
// reference; the submenu always shows the model's.
class ReferenceChoice : public QObject {
    Q_OBJECT

public:
    ReferenceChoice(AnalysisModel& model, const PlatformServices& services, SourceCounter& counter,
                    QWidget* window);

    QMenu* menu() const { return menu_; }

    // Chooses no reference, Italian or English.
    void Choose(Reference::Kind kind);

    // Asks for a reference text and counts it; it becomes the reference once counted. A cancel,
    // a failure or a text without letters keeps the last choice (the last two with a message).
    void ChooseText();

private:
    // Checks the item of the model's reference.
    void ShowChoice();

    AnalysisModel& model_;
    const PlatformServices& services_;
    SourceCounter& counter_;
    QWidget* window_;
    QMenu* menu_;
    QActionGroup* group_;
    QAction* none_;
    QAction* italian_;
    QAction* english_;
    QAction* text_;
};

} // namespace tallivo
