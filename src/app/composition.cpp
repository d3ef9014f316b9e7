#include "composition.h"

#include "analysis_model.h"
#include "fmain.h"
#include "menu_action.h"
#include "platform_services.h"
#include "reference_choice.h"
#include "report_export.h"
#include "report_menu.h"
#include "text_intake.h"
#include "window_service.h"

#include <QAction>

namespace tallivo {

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
    features.menu = menu;
    return features;
}

} // namespace tallivo
