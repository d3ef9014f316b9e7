#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <cstdint>

class QProgressDialog;
class QWidget;

namespace tallivo {

// Watches a long read: after a while it shows how far the read has got and lets the user stop
// it. A read that ends sooner shows nothing. Tests hand the window a scripted one.
class ReadProgress {
public:
    virtual ~ReadProgress() = default;
    // Starts watching a read of what (a file name as the user knows it).
    virtual void Begin(QWidget* parent, const QString& what) = 0;
    // Told the bytes read so far; returns false once the user has asked to stop.
    virtual bool Advance(std::uint64_t bytesRead) = 0;
    // Ends the watch; the progress window, if it showed, goes.
    virtual void End() = 0;
};

// Ends the watch of progress however the scope is left.
class ProgressWatch {
public:
    ProgressWatch(ReadProgress& progress, QWidget* parent, const QString& what);
    ~ProgressWatch();

    ProgressWatch(const ProgressWatch&) = delete;
    ProgressWatch& operator=(const ProgressWatch&) = delete;

    // Returns whether the read may go on after bytesRead bytes.
    bool operator()(std::uint64_t bytesRead) { return progress_.Advance(bytesRead); }

private:
    ReadProgress& progress_;
};

// A modal progress window in Italian with "Annulla", shown once a read has taken
// thresholdMs; while it shows, the program repaints and the window takes the only input.
class QtReadProgress : public ReadProgress {
public:
    explicit QtReadProgress(int thresholdMs = 500);
    ~QtReadProgress() override;

    void Begin(QWidget* parent, const QString& what) override;
    bool Advance(std::uint64_t bytesRead) override;
    void End() override;

private:
    void Show();

    int thresholdMs_;
    QPointer<QWidget> parent_;
    QString what_;
    QElapsedTimer sinceBegin_;
    QElapsedTimer sinceUpdate_;
    QPointer<QProgressDialog> window_;
};

} // namespace tallivo
