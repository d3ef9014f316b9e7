#include "text_source.h"

#include "letter_counter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tallivo {

namespace {

QString ErrorReason(AnalysisError kind) {
    switch (kind) {
    case AnalysisError::FileNotFound:
        return QStringLiteral("Il file non esiste.");
    case AnalysisError::NameTooLong:
        return QStringLiteral("Il nome del file è troppo lungo.");
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
    case AnalysisError::NameTooLong:
    case AnalysisError::AccessDenied:
    case AnalysisError::NotRegularFile:
        return QStringLiteral("Impossibile aprire il file:");
    default:
        return QStringLiteral("Impossibile analizzare il file:");
    }
}

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), std::size_t(bytes.size())};
}

} // namespace

TextSource::TextSource(Kind kind, QByteArray bytes)
    : kind_(kind)
    , bytes_(std::move(bytes)) {}

TextSource TextSource::File(const QString& fileName) {
    return TextSource(Kind::File, QFile::encodeName(fileName));
}

TextSource TextSource::FileNamed(const QByteArray& nameBytes) {
    return TextSource(Kind::File, nameBytes);
}

TextSource TextSource::Text(Kind kind, const QByteArray& bytes) {
    return TextSource(kind == Kind::File ? Kind::Pasted : kind, bytes);
}

TextSource TextSource::Stream(Kind kind, TextStream stream) {
    TextSource source(kind == Kind::File ? Kind::Pasted : kind, {});
    source.stream_ = std::move(stream);
    return source;
}

TextSource TextSource::Sample(const QString& name, const QByteArray& bytes) {
    TextSource source(Kind::Sample, bytes);
    source.sample_ = name;
    return source;
}

QString TextSource::DisplayName() const {
    switch (kind_) {
    case Kind::Pasted:
        return QStringLiteral("(testo incollato)");
    case Kind::Dropped:
        return QStringLiteral("(testo trascinato)");
    case Kind::Sample:
        return QStringLiteral("(esempio «%1»)").arg(sample_);
    case Kind::File:
        break;
    }
    // Bytes that are no text in the system's encoding show as replacement characters.
    return QDir::toNativeSeparators(QFile::decodeName(bytes_));
}

QString TextSource::ShortName() const {
    return IsText() ? DisplayName() : QFileInfo(QFile::decodeName(bytes_)).fileName();
}

QString TextSource::NoLettersMessage() const {
    switch (kind_) {
    case Kind::Pasted:
        return QStringLiteral("Il testo incollato non contiene lettere dalla A alla Z.");
    case Kind::Dropped:
        return QStringLiteral("Il testo trascinato non contiene lettere dalla A alla Z.");
    case Kind::Sample:
        return QStringLiteral("L'esempio non contiene lettere dalla A alla Z.");
    case Kind::File:
        break;
    }
    return QStringLiteral("Il file non contiene lettere dalla A alla Z.");
}

FileStamp TextSource::CountLetters(std::vector<std::int32_t>& counts, std::int32_t& total,
                                   const ReadObserver& observer, const PrefixSink& prefix) const {
    if (stream_) {
        CountLettersInStream(stream_, counts, total, observer, prefix);
        return {};
    }
    if (IsText()) {
        CountLettersInText(View(bytes_), counts, total, observer, prefix);
        return {};
    }
    return tallivo::CountLetters(bytes_.toStdString(), counts, total, observer, prefix);
}

bool IsCancelledName(const QString& name) {
    for (const QChar c : name) {
        if (c != QLatin1Char(' ')) {
            return false;
        }
    }
    return true;
}

QString FailureMessage(AnalysisError kind, const TextSource& source) {
    if (source.kind() == TextSource::Kind::Pasted) {
        switch (kind) {
        case AnalysisError::NoText:
            return QStringLiteral("Gli appunti non contengono testo.");
        case AnalysisError::NoAnswer:
            return QStringLiteral("Gli appunti non hanno risposto: il programma che li possiede "
                                  "non ha inviato il testo.");
        case AnalysisError::ReadError:
            return QStringLiteral("Il testo degli appunti non è arrivato: il trasferimento si è "
                                  "interrotto. L'analisi precedente resta com'era.");
        default:
            break;
        }
    }
    return ErrorHeading(kind) + QLatin1Char('\n') + source.DisplayName() + QLatin1Char('\n') +
           ErrorReason(kind);
}

} // namespace tallivo
