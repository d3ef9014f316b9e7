#include "source_counter.h"

#include "message_service.h"
#include "platform_services.h"
#include "read_progress.h"
#include "wait_cursor.h"

#include <QTimer>
#include <QWidget>

#include <exception>

namespace tallivo {

namespace {

// How often the progress window hears how far the read has got.
constexpr int kPollMs = 40;

const QString kUnexpectedError =
    QStringLiteral("Si è verificato un errore imprevisto: l'analisi non è stata completata.");

} // namespace

SourceCounter::SourceCounter(const PlatformServices& services, QObject* parent)
    : QObject(parent)
    , services_(services)
    , poll_(new QTimer(this)) {
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this,
            [this] { services_.progress.Advance(shared_->bytesRead.load()); });
}

SourceCounter::~SourceCounter() {
    if (shared_ != nullptr) {
        shared_->stop = true;
    }
    if (worker_.joinable()) {
        worker_.join();
    }
    if (busy_) {
        services_.progress.End();
    }
}

bool SourceCounter::CountLetters(QWidget* parent, const TextSource& source,
                                 std::function<void(std::optional<Counts>)> done) {
    auto counts = std::make_shared<Counts>();
    return Start(
        parent, source,
        [source, counts](const ReadObserver& observer) {
            return source.CountLetters(counts->letters, counts->total, observer);
        },
        [counts, done = std::move(done)](std::optional<FileStamp> stamp) {
            if (!stamp) {
                done(std::nullopt);
                return;
            }
            counts->stamp = *stamp;
            done(std::move(*counts));
        });
}

bool SourceCounter::Analyse(QWidget* parent, const TextSource& source,
                            std::function<void(std::optional<Analysis>)> done) {
    struct Pass {
        AnalysisBuilder builder;
        std::vector<std::int32_t> counts;
        std::int32_t total = 0;
    };
    auto pass = std::make_shared<Pass>();
    return Start(
        parent, source,
        [source, pass](const ReadObserver& observer) {
            return source.CountLetters(pass->counts, pass->total, observer, pass->builder.Prefix());
        },
        [pass, done = std::move(done)](std::optional<FileStamp> stamp) {
            if (!stamp) {
                done(std::nullopt);
                return;
            }
            done(pass->builder.Finish(std::move(pass->counts), pass->total, *stamp));
        });
}

bool SourceCounter::Start(QWidget* parent, const TextSource& source, Pass pass,
                          std::function<void(std::optional<FileStamp>)> done) {
    if (busy_) {
        return false;
    }
    busy_ = true;
    parent_ = parent;
    source_ = source;
    done_ = std::move(done);
    shared_ = std::make_shared<Shared>();
    hourglass_ = std::make_unique<WaitCursor>();
    services_.progress.Begin(parent, source.DisplayName(), [this] { Cancel(); });
    poll_->start();

    worker_ = std::jthread([this, shared = shared_, pass = std::move(pass)] {
        std::optional<AnalysisError> failure;
        bool unexpected = false;
        FileStamp stamp;
        try {
            stamp = pass([&shared](std::uint64_t bytesRead) {
                shared->bytesRead = bytesRead;
                return !shared->stop.load();
            });
        } catch (const AnalysisFailure& error) {
            failure = error.kind();
        } catch (const std::exception& error) {
            // The detail is for a bug report; the user reads Italian only.
            qWarning("tallivo: unexpected error: %s", error.what());
            unexpected = true;
        }
        QMetaObject::invokeMethod(
            this, [this, failure, unexpected, stamp] { Finish(failure, unexpected, stamp); },
            Qt::QueuedConnection);
    });
    return true;
}

void SourceCounter::Cancel() {
    if (shared_ != nullptr) {
        shared_->stop = true;
    }
}

void SourceCounter::Finish(std::optional<AnalysisError> failure, bool unexpected, FileStamp stamp) {
    poll_->stop();
    worker_.join();
    services_.progress.End();
    hourglass_.reset();
    const bool stopped = shared_->stop.load() || failure == AnalysisError::Cancelled;
    busy_ = false;
    std::function<void(std::optional<FileStamp>)> done = std::move(done_);
    done_ = nullptr;
    const TextSource source = *source_;
    source_.reset(); // a pasted text is let go with its pass

    if (unexpected) {
        services_.messages.ShowMessage(parent_, kUnexpectedError, QStringLiteral("Tallivo"));
    } else if (failure && !stopped) {
        services_.messages.ShowMessage(parent_, FailureMessage(*failure, source),
                                       QStringLiteral("Tallivo"));
    }
    if (failure || unexpected || stopped) {
        done(std::nullopt);
    } else {
        done(stamp);
    }
    emit finished();
}

} // namespace tallivo
