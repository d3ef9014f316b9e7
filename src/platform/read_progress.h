#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>

class QProgressDialog;
class QWidget;

namespace tallivo {

// Shows how far a long read has got and lets the user stop it. Called on the user-interface
// thread only; the read itself runs elsewhere. Tests hand the program a scripted one.
class ReadProgress {
public:
    virtual ~ReadProgress() = default;
    // Starts watching a read of what (a file name as the user knows it); stop asks the read to
    // end, and may be called at any time until End.
    virtual void Begin(QWidget* parent, const QString& what, std::function<void()> stop) = 0;
    // Told now and then how many bytes have been read so far.
    virtual void Advance(std::uint64_t bytesRead) = 0;
    // Ends the watch; the progress window, if it showed, goes.
    virtual void End() = 0;
};

// A progress window in Italian with "Annulla", shown once a read has taken thresholdMs, modal
// over the window the read was started from, which meanwhile takes no input but can still be
// read by a screen reader. Escape, "Annulla" and its close box stop the read.
class QtReadProgress : public ReadProgress {
public:
    explicit QtReadProgress(int thresholdMs = 500);
    ~QtReadProgress() override;

    void Begin(QWidget* parent, const QString& what, std::function<void()> stop) override;
    void Advance(std::uint64_t bytesRead) override;
    void End() override;

private:
    void Show();

    int thresholdMs_;
    QPointer<QWidget> parent_;
    QString what_;
    std::function<void()> stop_;
    QElapsedTimer sinceBegin_;
    QPointer<QProgressDialog> window_;
};

} // namespace tallivo
