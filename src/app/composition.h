#pragma once

class QAction;

namespace tallivo {

class AnalysisModel;
class FMain;
class ReferenceChoice;
class ReportExport;
class ReportMenu;
class SourceCounter;
class TextIntake;
struct PlatformServices;

// What is built around the main window.
struct Features {
    ReportMenu* menu = nullptr;
    ReferenceChoice* reference = nullptr;
    TextIntake* intake = nullptr;
    ReportExport* exporter = nullptr;
    QAction* statistics = nullptr; // "Statistiche…"
    QAction* workbench = nullptr;  // "Decifra…" (Ctrl+D)
};

// Builds every feature around window, owned by it: each is given the model, the services and
// the counting road it uses; their items are gathered here, in order, into the report's menu
// and the window's shortcuts. No feature builds another.
Features ComposeFeatures(FMain& window, AnalysisModel& model, const PlatformServices& services,
                         SourceCounter& counter);

} // namespace tallivo
