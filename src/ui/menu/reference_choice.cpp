#include "reference_choice.h"

#include "fmain.h"
#include "message_service.h"
#include "open_file_dialog.h"
#include "platform_services.h"
#include "source_counter.h"
#include "text_source.h"

namespace tallivo {

ReferenceChoice::ReferenceChoice(FMain& window, const PlatformServices& services,
                                 SourceCounter& counter)
    : QObject(&window)
    , window_(window)
    , services_(services)
    , counter_(counter) {}

void ReferenceChoice::Choose(Kind kind) {
    switch (kind) {
    case Kind::Italian:
        Set(kind, NamedReference{QStringLiteral("italiano"), ItalianFrequencies()});
        break;
    case Kind::English:
        Set(kind, NamedReference{QStringLiteral("inglese"), EnglishFrequencies()});
        break;
    case Kind::None:
    case Kind::Text:
        Set(Kind::None, std::nullopt);
        break;
    }
}

void ReferenceChoice::ChooseText() {
    const QString fileName = services_.dialog.GetOpenFileName(&window_);
    if (IsCancelledName(fileName)) {
        emit changed();
        return;
    }
    const TextSource source = TextSource::File(fileName);
    const bool started = counter_.CountLetters(
        &window_, source, [this, source](std::optional<SourceCounter::Counts> counts) {
            if (counts && counts->total == 0) {
                services_.messages.ShowMessage(
                    &window_,
                    QStringLiteral("Il file non contiene lettere dalla A alla Z e non può "
                                   "servire da riferimento:\n%1")
                        .arg(source.DisplayName()),
                    QStringLiteral("Tallivo"));
            }
            if (!counts || counts->total == 0) {
                emit changed(); // the last choice stands
                return;
            }
            Set(Kind::Text, NamedReference{source.ShortName(),
                                           ReferenceFromCounts(counts->letters, counts->total)});
        });
    if (!started) {
        emit changed();
    }
}

void ReferenceChoice::Set(Kind kind, std::optional<NamedReference> reference) {
    kind_ = kind;
    current_ = std::move(reference);
    window_.SetMarkers(current_ ? std::optional<ReferenceTable>(current_->table) : std::nullopt);
    emit changed();
}

} // namespace tallivo
