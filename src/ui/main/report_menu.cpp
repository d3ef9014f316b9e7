#include "report_menu.h"

#include "fmain.h"
#include "frequency_report.h"
#include "fstats.h"
#include "message_service.h"
#include "ngram_counter.h"
#include "open_file_dialog.h"
#include "platform_services.h"
#include "read_progress.h"
#include "reference_frequencies.h"
#include "text_source.h"
#include "text_statistics.h"

#include <QAbstractScrollArea>
#include <QActionGroup>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>

namespace tallivo {

namespace {

QAction* MakeAction(QObject* parent, const char* name, const QString& text,
                    const QKeySequence& shortcut = {}) {
    auto* action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    action->setShortcutVisibleInContextMenu(true);
    return action;
}

} // namespace

ReportMenu::ReportMenu(FMain& window, const PlatformServices& services)
    : QObject(&window)
    , window_(window)
    , services_(services)
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
    chosenReference_ = noReference_;

    paste_ = MakeAction(this, "actPaste", QStringLiteral("Incolla testo"), QKeySequence::Paste);
    statistics_ = MakeAction(this, "actStatistics", QStringLiteral("Statistiche…"));
    copyReport_ =
        MakeAction(this, "actCopyReport", QStringLiteral("Copia rapporto"), QKeySequence::Copy);
    copyTable_ = MakeAction(this, "actCopyTable", QStringLiteral("Copia come tabella"),
                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    copyChart_ = MakeAction(this, "actCopyChart", QStringLiteral("Copia grafico"));
    menu_->addAction(paste_);
    menu_->addAction(statistics_);
    menu_->addSeparator();
    menu_->addAction(copyReport_);
    menu_->addAction(copyTable_);
    menu_->addAction(copyChart_);
    // The shortcuts work anywhere in the window, with the menu closed too.
    window.addActions({paste_, copyReport_, copyTable_});

    connect(references_, &QActionGroup::triggered, this, &ReportMenu::ChooseReference);
    connect(paste_, &QAction::triggered, this, &ReportMenu::PasteText);
    connect(statistics_, &QAction::triggered, this, &ReportMenu::ShowStatistics);
    connect(copyReport_, &QAction::triggered, &window, &FMain::CopyReport);
    connect(copyTable_, &QAction::triggered, this, &ReportMenu::CopyTable);
    connect(copyChart_, &QAction::triggered, this, &ReportMenu::CopyChart);
    connect(&window, &FMain::reportChanged, this, &ReportMenu::UpdateEnabled);

    for (QWidget* view : window.ReportViews()) {
        view->installEventFilter(this);
        if (auto* scrolled = qobject_cast<QAbstractScrollArea*>(view)) {
            scrolled->viewport()->installEventFilter(this);
        }
    }
    UpdateEnabled();
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
    const bool analysed = window_.totalLetters() != 0 && !window_.letterCounts().empty();
    for (QAction* action : {statistics_, copyReport_, copyTable_, copyChart_}) {
        action->setEnabled(analysed);
    }
}

void ReportMenu::ChooseReference(QAction* chosen) {
    std::optional<NamedReference> reference;
    if (chosen == italian_) {
        reference = NamedReference{"italiano", ItalianFrequencies()};
    } else if (chosen == english_) {
        reference = NamedReference{"inglese", EnglishFrequencies()};
    } else if (chosen == referenceText_) {
        reference = LoadReferenceText();
        if (!reference) {
            chosenReference_->setChecked(true); // a cancel or a failure keeps the last choice
            return;
        }
    }
    chosenReference_ = chosen;
    window_.SetReference(std::move(reference));
}

std::optional<NamedReference> ReportMenu::LoadReferenceText() {
    const QString fileName = services_.dialog.GetOpenFileName(&window_);
    if (IsCancelledName(fileName)) {
        return std::nullopt;
    }
    const TextSource source = TextSource::File(fileName);
    std::vector<std::int32_t> counts;
    std::int32_t total = 0;
    const std::optional<AnalysisError> failure = ReadWithProgress(
        services_.progress, &window_, source.DisplayName(),
        [&](const ReadObserver& observer) { source.CountLetters(counts, total, observer); });
    if (failure == AnalysisError::Cancelled) {
        return std::nullopt;
    }
    const QString title = QStringLiteral("Tallivo");
    if (failure) {
        services_.messages.ShowMessage(&window_, FailureMessage(*failure, source), title);
        return std::nullopt;
    }
    if (total == 0) {
        services_.messages.ShowMessage(
            &window_,
            QStringLiteral("Il file non contiene lettere dalla A alla Z e non può servire da "
                           "riferimento:\n%1")
                .arg(source.DisplayName()),
            title);
        return std::nullopt;
    }
    const QString name = QFileInfo(fileName).fileName();
    referenceText_->setText(QStringLiteral("Testo di riferimento: %1").arg(name));
    return NamedReference{name.toStdString(), ReferenceFromCounts(counts, total)};
}

void ReportMenu::PasteText() {
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) {
        services_.messages.ShowMessage(&window_,
                                       QStringLiteral("Gli appunti non contengono testo."),
                                       QStringLiteral("Tallivo"));
        return;
    }
    window_.AnalyseText(text.toUtf8());
}

void ReportMenu::ShowStatistics() {
    const std::optional<TextSource>& source = window_.lastSource();
    if (!source || window_.totalLetters() == 0) {
        return;
    }
    // The n-grams need the text itself: a second pass over it.
    NGramCounter ngrams;
    const std::optional<AnalysisError> failure = ReadWithProgress(
        services_.progress, &window_, source->DisplayName(), [&](const ReadObserver& observer) {
            source->Read(
                [&ngrams](const unsigned char* data, std::size_t size) { ngrams.Add(data, size); },
                observer);
        });
    if (failure == AnalysisError::Cancelled) {
        return;
    }
    const std::vector<std::int32_t>& counts = window_.letterCounts();
    bool same = !failure;
    for (int i = 0; same && i < kLetterCount; ++i) {
        same = ngrams.Letters()[i] == std::uint64_t(counts[i]);
    }
    if (!same) {
        services_.messages.ShowMessage(
            &window_,
            QStringLiteral("Impossibile calcolare le statistiche:\n%1\nIl file è cambiato o non "
                           "esiste più dall'ultima analisi. Analizzalo di nuovo.")
                .arg(source->DisplayName()),
            QStringLiteral("Tallivo"));
        return;
    }
    const std::optional<NamedReference>& reference = window_.reference();
    const std::vector<std::string> lines =
        StatisticsLines(counts, window_.totalLetters(), ngrams, reference ? &*reference : nullptr,
                        QLocale().decimalPoint().toStdString());
    QStringList texts;
    for (const std::string& line : lines) {
        texts << QString::fromStdString(line);
    }
    FStats stats(texts, &window_);
    stats.exec();
}

void ReportMenu::CopyTable() {
    if (window_.totalLetters() == 0 || window_.letterCounts().empty()) {
        return;
    }
    QGuiApplication::clipboard()->setText(QString::fromStdString(ReportTable(
        window_.letterCounts(), window_.totalLetters(), QLocale().decimalPoint().toStdString())));
}

void ReportMenu::CopyChart() {
    QGuiApplication::clipboard()->setPixmap(window_.ChartImage());
}

} // namespace tallivo
