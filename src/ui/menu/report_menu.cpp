#include "report_menu.h"

#include "fmain.h"
#include "message_service.h"
#include "ngram_counter.h"
#include "platform_services.h"
#include "reference_choice.h"
#include "report_export.h"
#include "second_pass.h"
#include "source_counter.h"
#include "text_intake.h"
#include "text_statistics.h"
#include "window_service.h"

#include <QAbstractScrollArea>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QToolTip>

#include <memory>

namespace tallivo {

namespace {

const QString kMenuHint =
    QStringLiteral("Clic destro: confronta con una lingua, incolla un testo, statistiche, decifra");

QAction* MakeAction(QObject* parent, const char* name, const QString& text,
                    const QKeySequence& shortcut = {}) {
    auto* action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    action->setShortcutVisibleInContextMenu(true);
    return action;
}

} // namespace

ReportMenu::ReportMenu(FMain& window, const PlatformServices& services, SourceCounter& counter)
    : QObject(&window)
    , window_(window)
    , services_(services)
    , counter_(counter)
    , reference_(new ReferenceChoice(window, services, counter))
    , intake_(new TextIntake(window, services))
    , export_(new ReportExport(window, *reference_, this))
    , menu_(new QMenu(&window)) {
    setObjectName(QStringLiteral("reportTools"));
    menu_->setObjectName(QStringLiteral("reportMenu"));
    menu_->setAccessibleName(QStringLiteral("Menu del rapporto"));

    QMenu* compare = menu_->addMenu(QStringLiteral("Confronta con"));
    compare->setObjectName(QStringLiteral("compareMenu"));
    compare->setAccessibleName(QStringLiteral("Confronta con"));
    references_ = new QActionGroup(this);
    noReference_ = MakeAction(references_, "actNoReference", QStringLiteral("Nessun riferimento"));
    italian_ = MakeAction(references_, "actItalian", QStringLiteral("Italiano"));
    english_ = MakeAction(references_, "actEnglish", QStringLiteral("Inglese"));
    referenceText_ =
        MakeAction(references_, "actReferenceText", QStringLiteral("Testo di riferimento…"));
    for (QAction* action : references_->actions()) {
        action->setCheckable(true);
        compare->addAction(action);
    }
    noReference_->setChecked(true);

    QAction* paste =
        MakeAction(this, "actPaste", QStringLiteral("Incolla testo"), QKeySequence::Paste);
    QAction* statistics = MakeAction(this, "actStatistics", QStringLiteral("Statistiche…"));
    QAction* copyReport =
        MakeAction(this, "actCopyReport", QStringLiteral("Copia rapporto"), QKeySequence::Copy);
    QAction* copyTable = MakeAction(this, "actCopyTable", QStringLiteral("Copia come tabella"),
                                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    QAction* copyChart = MakeAction(this, "actCopyChart", QStringLiteral("Copia grafico"));
    menu_->addAction(paste);
    AddReportAction(statistics);
    menu_->addSeparator();
    AddReportAction(copyReport);
    AddReportAction(copyTable);
    AddReportAction(copyChart);
    // The shortcuts work anywhere in the window, with the menu closed too.
    window.addActions({paste, copyReport, copyTable});

    connect(references_, &QActionGroup::triggered, this, [this](QAction* chosen) {
        if (chosen == referenceText_) {
            reference_->ChooseText();
        } else {
            reference_->Choose(chosen == italian_   ? ReferenceChoice::Kind::Italian
                               : chosen == english_ ? ReferenceChoice::Kind::English
                                                    : ReferenceChoice::Kind::None);
        }
    });
    connect(reference_, &ReferenceChoice::changed, this, &ReportMenu::ShowReferenceChoice);
    connect(paste, &QAction::triggered, intake_, &TextIntake::Paste);
    connect(statistics, &QAction::triggered, this, &ReportMenu::ShowStatistics);
    connect(copyReport, &QAction::triggered, export_, &ReportExport::CopyReport);
    connect(copyTable, &QAction::triggered, export_, &ReportExport::CopyTable);
    connect(copyChart, &QAction::triggered, export_, &ReportExport::CopyChart);
    connect(&window, &FMain::analysed, this, &ReportMenu::UpdateEnabled);

    for (QWidget* view : window.ReportViews()) {
        view->installEventFilter(this);
        if (auto* scrolled = qobject_cast<QAbstractScrollArea*>(view)) {
            scrolled->viewport()->installEventFilter(this);
        }
    }
    UpdateEnabled();
}

void ReportMenu::AddReportAction(QAction* action) {
    menu_->addAction(action);
    needReport_.append(action);
    action->setEnabled(window_.HasReport());
}

void ReportMenu::Popup(const QPoint& globalPos) {
    UpdateEnabled();
    menu_->popup(globalPos);
}

bool ReportMenu::eventFilter(QObject* watched, QEvent* event) {
    auto* view = qobject_cast<QWidget*>(watched);
    if (view == nullptr) {
        return false;
    }
    // Before there is a report, the list and the bars say what their menu offers.
    if (event->type() == QEvent::ToolTip && !window_.HasReport()) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), kMenuHint, view);
        return true;
    }
    if (event->type() == QEvent::ContextMenu) {
        Popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            Popup(view->mapToGlobal(view->rect().center()));
            return true;
        }
    }
    return false;
}

void ReportMenu::UpdateEnabled() {
    for (QAction* action : needReport_) {
        action->setEnabled(window_.HasReport());
    }
}

void ReportMenu::ShowReferenceChoice() {
    switch (reference_->kind()) {
    case ReferenceChoice::Kind::None:
        noReference_->setChecked(true);
        break;
    case ReferenceChoice::Kind::Italian:
        italian_->setChecked(true);
        break;
    case ReferenceChoice::Kind::English:
        english_->setChecked(true);
        break;
    case ReferenceChoice::Kind::Text:
        referenceText_->setChecked(true);
        referenceText_->setText(
            QStringLiteral("Testo di riferimento: %1").arg(reference_->current()->name));
        break;
    }
}

void ReportMenu::ShowStatistics() {
    const std::optional<TextSource>& source = window_.lastSource();
    if (!source || !window_.HasReport()) {
        return;
    }
    // The n-grams need the text itself: a second pass over it.
    auto ngrams = std::make_shared<NGramCounter>();
    counter_.Read(
        &window_, *source,
        [ngrams](const unsigned char* data, std::size_t size) { ngrams->Add(data, size); },
        [this, ngrams, source = *source](std::optional<FileStamp> stamp) {
            if (!stamp) {
                return; // stopped, or told already
            }
            if (!SameAsAnalysed(window_, services_.messages,
                                QStringLiteral("Impossibile calcolare le statistiche"), source,
                                *stamp, ngrams->Letters())) {
                return;
            }
            const std::vector<std::int32_t>& counts = window_.letterCounts();
            const std::optional<NamedReference>& reference = reference_->current();
            services_.windows.ShowStatistics(&window_,
                                             Statistics(counts, window_.totalLetters(), *ngrams,
                                                        reference ? &reference->table : nullptr),
                                             reference ? reference->name : QString());
        });
}

} // namespace tallivo
