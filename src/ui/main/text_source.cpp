#include "text_source.h"

#include "letter_counter.h"
#include "read_progress.h"
#include "wait_cursor.h"

#include <QDir>
#include <QFile>

namespace tallivo {

namespace {

QString ErrorReason(AnalysisError kind) {
    switch (kind) {
    case AnalysisError::FileNotFound:
        return QStringLiteral("Il file non esiste.");
    case AnalysisError::AccessDenied:
        return QStringLiteral("Accesso negato.");
    case AnalysisError::NotRegularFile:
        return QStringLiteral("Non è un file normale.");
    case AnalysisError::TooManyLetters:
        return QStringLiteral("Il file contiene troppe lettere da contare (più di 2147483647).");
    default:
        return QStringLiteral("Errore durante la lettura.");
    }
}

QString ErrorHeading(AnalysisError kind) {
    switch (kind) {
    case AnalysisError::FileNotFound:
    case AnalysisError::AccessDenied:
    case AnalysisError::NotRegularFile:
        return QStringLiteral("Impossibile aprire il file:");
    default:
        return QStringLiteral("Impossibile analizzare il file:");
    }
}

} // namespace

TextSource::TextSource(bool pasted, QString fileName, QByteArray text)
    : pasted_(pasted)
    , fileName_(std::move(fileName))
    , text_(std::move(text)) {}

TextSource TextSource::File(const QString& fileName) {
    return TextSource(false, fileName, QByteArray());
}

TextSource TextSource::Pasted(const QByteArray& text) {
    return TextSource(true, QString(), text);
}

QString TextSource::DisplayName() const {
    return pasted_ ? QStringLiteral("(testo incollato)") : QDir::toNativeSeparators(fileName_);
}

void TextSource::CountLetters(std::vector<std::int32_t>& counts, std::int32_t& total,
                              const ReadObserver& observer) const {
    if (pasted_) {
        CountLettersInText(std::string_view(text_.constData(), std::size_t(text_.size())), counts,
                           total, observer);
    } else {
        tallivo::CountLetters(QFile::encodeName(fileName_).toStdString(), counts, total, observer);
    }
}

void TextSource::Read(const BlockSink& sink, const ReadObserver& observer) const {
    if (!pasted_) {
        ReadInBlocks(QFile::encodeName(fileName_).toStdString(), kReadBufferSize, sink, observer);
        return;
    }
    ReadTextInBlocks(std::string_view(text_.constData(), std::size_t(text_.size())),
                     kReadBufferSize, sink, observer);
}

bool IsCancelledName(const QString& name) {
    for (const QChar c : name) {
        if (c != QLatin1Char(' ')) {
            return false;
        }
    }
    return true;
}

std::optional<AnalysisError>
ReadWithProgress(ReadProgress& progress, QWidget* parent, const QString& what,
                 const std::function<void(const ReadObserver&)>& read) {
    WaitCursor hourglass;
    try {
        ProgressWatch watch(progress, parent, what);
        read([&watch](std::uint64_t bytesRead) { return watch(bytesRead); });
    } catch (const AnalysisFailure& failure) {
        return failure.kind();
    }
    return std::nullopt;
}

QString FailureMessage(AnalysisError kind, const TextSource& source) {
    return ErrorHeading(kind) + QLatin1Char('\n') + source.DisplayName() + QLatin1Char('\n') +
           ErrorReason(kind);
}

} // namespace tallivo
