#pragma once

#include "analysis.h"
#include "analysis_error.h"
#include "input_file.h"
#include "text_source.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class QTimer;
class QWidget;

namespace tallivo {

class WaitCursor;
struct PlatformServices;

// The one road from a TextSource to what is counted in it. A pass over the source runs the
// analysis core on a worker thread while the event loop goes on: the windows repaint and
// answer the accessibility bus, the pointer is the hourglass, and after half a second the
// progress window offers "Annulla", window-modal over the window the pass was started from.
// A failure becomes its Italian message; a cancel changes nothing and says nothing. One pass
// at a time: a command that would start another while one runs is refused.
class SourceCounter : public QObject {
    Q_OBJECT

public:
    // What a count found: the 26 counts (index 0 = a), their total and the stamp of the file.
    struct Counts {
        std::vector<std::int32_t> letters;
        std::int32_t total = 0;
        FileStamp stamp;
    };

    explicit SourceCounter(const PlatformServices& services, QObject* parent = nullptr);
    ~SourceCounter() override;

    // Counts the letters of source for the window parent. done is called later on this thread
    // with the counts, or with nothing after a cancel or a failure (already told the user).
    // Returns false, and does nothing, while another pass runs.
    bool CountLetters(QWidget* parent, const TextSource& source,
                      std::function<void(std::optional<Counts>)> done);

    // Counts the letters of source and keeps, in the same pass, its first bytes and their
    // n-grams; done is called as CountLetters calls it.
    bool Analyse(QWidget* parent, const TextSource& source,
                 std::function<void(std::optional<Analysis>)> done);

    bool IsBusy() const { return busy_; }

    // Stops the pass under way, as "Annulla" does; its done is called with nothing.
    void Cancel();

signals:
    // A pass has ended and its done has run.
    void finished();

private:
    // What the worker shares with this thread, and nothing else.
    struct Shared {
        std::atomic<bool> stop{false};
        std::atomic<std::uint64_t> bytesRead{0};
    };
    using Pass = std::function<FileStamp(const ReadObserver&)>;

    bool Start(QWidget* parent, const TextSource& source, Pass pass,
               std::function<void(std::optional<FileStamp>)> done);
    void Finish(std::optional<AnalysisError> failure, bool unexpected, FileStamp stamp);

    const PlatformServices& services_;
    bool busy_ = false;
    QPointer<QWidget> parent_;
    std::optional<TextSource> source_;
    std::function<void(std::optional<FileStamp>)> done_;
    std::shared_ptr<Shared> shared_;
    std::unique_ptr<WaitCursor> hourglass_;
    QTimer* poll_;
    std::jthread worker_;
};

} // namespace tallivo
