#include "composition.h"

#include "analysis_model.h"
#include "exercise_controller.h"
#include "fdecifra.h"
#include "fmain.h"
#include "menu_action.h"
#include "new_exercise_dialog.h"
#include "platform_services.h"
#include "print_service.h"
#include "question_service.h"
#include "reference_choice.h"
#include "report_export.h"
#include "report_menu.h"
#include "save_file_dialog.h"
#include "text_intake.h"
#include "window_service.h"

#include <QAction>

#include <memory>

namespace tallivo {

namespace {

// The platform's dialogs the exercises show besides the services every window has.
struct ExerciseDialogs {
    QtQuestionService questions;
    QtNewExerciseDialog newExercise;
    QtSaveFileDialog save;
    QtPrintService print;
};

} // namespace

Features ComposeFeatures(FMain& window, AnalysisModel& model, const PlatformServices& services,
                         SourceCounter& counter) {
    Features features;
    features.reference = new ReferenceChoice(model, services, counter, &window);
    features.intake = new TextIntake(window, services);
    features.exporter = new ReportExport(model, services.messages, &window);
    features.statistics = MakeMenuAction(&window, "actStatistics", QStringLiteral("Statistiche…"));
    features.workbench = MakeMenuAction(&window, "actDecifra", QStringLiteral("Decifra…"),
                                        QKeySequence(Qt::CTRL | Qt::Key_D));
    QObject::connect(features.statistics, &QAction::triggered, &window,
                     [&services] { services.windows.ShowStatistics(); });
    QObject::connect(features.workbench, &QAction::triggered, &window,
                     [&services] { services.windows.ShowWorkbench(); });

    // The report's menu, in this order, and the shortcuts that work anywhere in the window.
    auto* menu = new ReportMenu(model, &window);
    menu->AddMenu(features.reference->menu());
    menu->AddAction(features.intake->pasteAction(), false);
    menu->AddAction(features.statistics, true);
    menu->AddAction(features.workbench, true);
    menu->AddSeparator();
    for (QAction* copy : features.exporter->actions()) {
        menu->AddAction(copy, true);
    }
    window.addActions({features.intake->pasteAction(), features.workbench});
    window.addActions(features.exporter->actions().mid(0, 2));
    window.SetReportMenu(menu->menu(), ReportMenu::Hint());

    // F1: the guide at the main window's part.
    auto* help =
        MakeMenuAction(&window, "actGuida", QStringLiteral("Guida"), QKeySequence(Qt::Key_F1));
    help->setShortcutContext(Qt::WindowShortcut);
    window.addAction(help);
    QObject::connect(help, &QAction::triggered, &window,
                     [&services] { services.windows.ShowGuide(QStringLiteral("finestra")); });

    // The teacher's exercises, in each workbench as it is built, with the workbench as their host.
    services.windows.SetWorkbenchSetup(
        [&services, dialogs = std::make_shared<ExerciseDialogs>()](FDecifra& workbench) {
            auto* exercises = new ExerciseController(
                workbench, workbench,
                ExerciseServices{services.messages, dialogs->questions, dialogs->newExercise,
                                 services.dialog, dialogs->save, dialogs->print},
                &workbench);
            workbench.AddExerciseActions(exercises->actions());
        });
    features.menu = menu;
    return features;
}

} // namespace tallivo
