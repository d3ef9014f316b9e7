#include "reference_choice.h"

#include "message_service.h"
#include "open_file_dialog.h"
#include "platform_services.h"
#include "source_counter.h"
#include "text_source.h"

#include <QActionGroup>
#include <QMenu>

namespace tallivo {

namespace {

QAction* MakeChoice(QActionGroup* group, const char* name, const QString& text) {
    auto* action = new QAction(text, group);
    action->setObjectName(QLatin1String(name));
    action->setCheckable(true);
    return action;
}

} // namespace

ReferenceChoice::ReferenceChoice(AnalysisModel& model, const PlatformServices& services,
                                 SourceCounter& counter, QWidget* window)
    : QObject(window)
    , model_(model)
    , services_(services)
    , counter_(counter)
    , window_(window)
    , menu_(new QMenu(QStringLiteral("Confronta con"), window))
    , group_(new QActionGroup(this)) {
    menu_->setObjectName(QStringLiteral("compareMenu"));
    menu_->setAccessibleName(QStringLiteral("Confronta con"));
    none_ = MakeChoice(group_, "actNoReference", QStringLiteral("Nessun riferimento"));
    italian_ = MakeChoice(group_, "actItalian", QStringLiteral("Italiano"));
    english_ = MakeChoice(group_, "actEnglish", QStringLiteral("Inglese"));
    text_ = MakeChoice(group_, "actReferenceText", QStringLiteral("Testo di riferimento…"));
    menu_->addActions(group_->actions());
    none_->setChecked(true);

    connect(group_, &QActionGroup::triggered, this, [this](QAction* chosen) {
        if (chosen == text_) {
            ChooseText();
        } else {
            Choose(chosen == italian_   ? Reference::Kind::Italian
                   : chosen == english_ ? Reference::Kind::English
                                        : Reference::Kind::None);
        }
    });
    connect(&model_, &AnalysisModel::referenceChanged, this, &ReferenceChoice::ShowChoice);
}

void ReferenceChoice::Choose(Reference::Kind kind) {
    model_.SetReference(Reference::Of(kind));
}

void ReferenceChoice::ChooseText() {
    const QString fileName = services_.dialog.GetOpenFileName(window_);
    if (IsCancelledName(fileName)) {
        ShowChoice();
        return;
    }
    const TextSource source = TextSource::File(fileName);
    const bool started = counter_.CountLetters(
        window_, source, [this, source](std::optional<SourceCounter::Counts> counts) {
            if (counts && counts->total == 0) {
                services_.messages.ShowMessage(
                    window_,
                    QStringLiteral("Il file non contiene lettere dalla A alla Z e non può "
                                   "servire da riferimento:\n%1")
                        .arg(source.DisplayName()),
                    QStringLiteral("Tallivo"));
            }
            if (!counts || counts->total == 0) {
                ShowChoice(); // the last choice stands
                return;
            }
            model_.SetReference(Reference{Reference::Kind::Text, source.ShortName(),
                                          ReferenceFromCounts(counts->letters, counts->total)});
        });
    if (!started) {
        ShowChoice();
    }
}

void ReferenceChoice::ShowChoice() {
    const Reference& reference = model_.reference();
    switch (reference.kind) {
    case Reference::Kind::None:
        none_->setChecked(true);
        break;
    case Reference::Kind::Italian:
        italian_->setChecked(true);
        break;
    case Reference::Kind::English:
        english_->setChecked(true);
        break;
    case Reference::Kind::Text:
        text_->setChecked(true);
        break;
    }
    text_->setText(reference.kind == Reference::Kind::Text
                       ? QStringLiteral("Testo di riferimento: %1").arg(reference.name)
                       : QStringLiteral("Testo di riferimento…"));
}

} // namespace tallivo
