#include "text_intake.h"

#include "clipboard_text.h"
#include "fmain.h"
#include "message_service.h"
#include "platform_services.h"
#include "text_source.h"
#include "wait_cursor.h"

#include <QAction>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <new>

namespace tallivo {

namespace {

const QString kUtf8Text = QStringLiteral("text/plain;charset=utf-8");
const QString kPlainText = QStringLiteral("text/plain");

// A clipboard that gives no answer for this long has an owner that did not reply.
constexpr qint64 kNoAnswerMs = 2000;

// Returns the text a drag or the clipboard carries, as the bytes it was sent in: UTF-8 where
// the sender offers it, its plain text otherwise. Asks for it once.
QByteArray TextBytes(const QMimeData& data, const QStringList& formats) {
    if (formats.contains(kUtf8Text)) {
        return data.data(kUtf8Text);
    }
    if (formats.contains(kPlainText)) {
        return data.data(kPlainText);
    }
    return data.text().toUtf8(); // a sender that names its text otherwise
}

// Returns the format to ask for a text in: UTF-8 where offered, else plain text, else any
// plain text the sender names otherwise; empty when none is offered.
QString TextFormat(const QStringList& formats) {
    if (formats.contains(kUtf8Text)) {
        return kUtf8Text;
    }
    if (formats.contains(kPlainText)) {
        return kPlainText;
    }
    const auto other = std::find_if(formats.begin(), formats.end(), [](const QString& format) {
        return format.startsWith(kPlainText);
    });
    return other != formats.end() ? *other : QString();
}

// Returns the name bytes of a local file's address, exactly as the sender wrote them, so a
// name that is no valid UTF-8 still opens.
QByteArray LocalFileBytes(const QUrl& url) {
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

} // namespace

TextIntake::TextIntake(FMain& window, const PlatformServices& services)
    : QObject(&window)
    , window_(window)
    , services_(services)
    , paste_(new QAction(QStringLiteral("Incolla testo"), this)) {
    paste_->setObjectName(QStringLiteral("actPaste"));
    paste_->setShortcut(QKeySequence::Paste);
    connect(paste_, &QAction::triggered, this, &TextIntake::Paste);
    window.setAcceptDrops(true);
    connect(&window, &FMain::dropped, this, &TextIntake::Drop);
}

void TextIntake::Tell(const QString& text) {
    services_.messages.ShowMessage(&window_, text, QStringLiteral("Tallivo"));
}

void TextIntake::Paste() {
    // Another program's text is read as it comes, on the worker, however long it is.
    if (std::optional<TextStream> stream = services_.clipboard.Stream()) {
        window_.Analyse(TextSource::Stream(TextSource::Kind::Pasted, std::move(*stream)));
        return;
    }
    QByteArray text;
    bool offered = false;
    QElapsedTimer asking;
    asking.start();
    try {
        const WaitCursor hourglass;
        if (const QMimeData* data = QGuiApplication::clipboard()->mimeData()) {
            // The clipboard is asked once for its formats and once for the text, in the best
            // of them: an owner that never answers costs one wait, not three.
            const QString format = TextFormat(data->formats());
            offered = !format.isEmpty();
            if (offered) {
                text = data->data(format);
            }
        }
    } catch (const std::bad_alloc&) {
        Tell(QStringLiteral("Il testo degli appunti è troppo grande per essere analizzato."));
        return;
    }
    if (!text.isEmpty()) {
        // Counted on the worker like a file; the model keeps only what the workbench needs.
        window_.Analyse(TextSource::Text(TextSource::Kind::Pasted, text));
        return;
    }
    // Said as a paste read as it comes says it.
    const TextSource pasted = TextSource::Text(TextSource::Kind::Pasted, {});
    if (offered) {
        Tell(FailureMessage(AnalysisError::ReadError, pasted));
    } else if (asking.elapsed() >= kNoAnswerMs) {
        Tell(FailureMessage(AnalysisError::NoAnswer, pasted));
    } else {
        Tell(FailureMessage(AnalysisError::NoText, pasted));
    }
}

void TextIntake::Drop(const QMimeData* data) {
    if (data == nullptr) {
        return;
    }
    if (data->hasUrls()) {
        const QList<QUrl> urls = data->urls();
        if (urls.size() > 1) {
            Tell(QStringLiteral("Si può analizzare un solo file alla volta: trascina un file "
                                "solo."));
        } else if (urls.size() == 1 && urls.first().isLocalFile()) {
            window_.Analyse(TextSource::FileNamed(LocalFileBytes(urls.first())));
        } else if (urls.size() == 1) {
            Tell(QStringLiteral("Si possono analizzare solo i file di questo computer:\n%1")
                     .arg(urls.first().toDisplayString()));
        }
        return;
    }
    const QByteArray text = TextBytes(*data, data->formats());
    if (text.isEmpty()) {
        Tell(QStringLiteral("Il testo trascinato non è arrivato. L'analisi precedente resta "
                            "com'era."));
        return;
    }
    window_.Analyse(TextSource::Text(TextSource::Kind::Dropped, text));
}

} // namespace tallivo
