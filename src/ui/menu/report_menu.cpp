#include "report_menu.h"

#include "analysis_model.h"

#include <QAction>
#include <QMenu>

namespace tallivo {

ReportMenu::ReportMenu(const AnalysisModel& model, QWidget* owner)
    : QObject(owner)
    , model_(model)
    , menu_(new QMenu(owner)) {
    setObjectName(QStringLiteral("reportTools"));
    menu_->setObjectName(QStringLiteral("reportMenu"));
    menu_->setAccessibleName(QStringLiteral("Menu del rapporto"));
    connect(&model_, &AnalysisModel::resultChanged, this, &ReportMenu::UpdateEnabled);
    connect(menu_, &QMenu::aboutToShow, this, &ReportMenu::UpdateEnabled);
}

QString ReportMenu::Hint() {
    return QStringLiteral(
        "Clic destro: confronta con una lingua, incolla un testo, statistiche, decifra");
}

void ReportMenu::AddAction(QAction* action, bool needsReport) {
    action->setShortcutVisibleInContextMenu(true);
    menu_->addAction(action);
    if (needsReport) {
        needReport_.append(action);
        action->setEnabled(model_.HasReport());
    }
}

void ReportMenu::AddMenu(QMenu* submenu) {
    menu_->addMenu(submenu);
}

void ReportMenu::AddSeparator() {
    menu_->addSeparator();
}

void ReportMenu::UpdateEnabled() {
    for (QAction* action : needReport_) {
        action->setEnabled(model_.HasReport());
    }
}

} // namespace tallivo
