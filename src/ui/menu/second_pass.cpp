#include "second_pass.h"

#include "fmain.h"
#include "message_service.h"
#include "text_source.h"

#include <QString>

namespace tallivo {

bool SameAsAnalysed(FMain& window, MessageService& messages, const QString& heading,
                    const TextSource& source, const FileStamp& stamp, const LetterTally& letters) {
    const std::vector<std::int32_t>& counts = window.letterCounts();
    bool same = stamp == window.lastStamp() && counts.size() == std::size_t(kLetterCount);
    for (int i = 0; same && i < kLetterCount; ++i) {
        same = letters[std::size_t(i)] == std::uint64_t(counts[std::size_t(i)]);
    }
    if (!same) {
        messages.ShowMessage(&window,
                             QStringLiteral("%1:\n%2\nIl file è cambiato o non esiste più "
                                            "dall'ultima analisi. Analizzalo di nuovo.")
                                 .arg(heading, source.DisplayName()),
                             QStringLiteral("Tallivo"));
    }
    return same;
}

} // namespace tallivo
