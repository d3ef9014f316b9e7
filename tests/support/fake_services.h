#pragma once

#include "analysis_model.h"
#include "clipboard_text.h"
#include "message_service.h"
#include "open_file_dialog.h"
#include "platform_services.h"
#include "read_progress.h"
#include "source_counter.h"
#include "window_service.h"

#include <QGuiApplication>
#include <QQueue>
#include <QSignalSpy>
#include <QString>
#include <QStringList>
#include <QTest>

// An Open dialog that returns the names it was given, one per showing, then empty names.
class ScriptedDialog : public tallivo::OpenFileDialog {
public:
    QString GetOpenFileName(QWidget*) override {
        ++shown;
        return names.isEmpty() ? QString() : names.dequeue();
    }

    QQueue<QString> names;
    int shown = 0;
};

// A clipboard whose text comes as stream says, or, without one, from the toolkit's clipboard.
class ScriptedClipboard : public tallivo::ClipboardText {
public:
    std::optional<tallivo::TextStream> Stream() override {
        ++asked;
        return stream;
    }

    std::optional<tallivo::TextStream> stream;
    int asked = 0;
};

// Records every message (and the pointer it was shown under), every question (answering as
// scripted) and every request to end the program instead of acting on it.
class RecordingMessages : public tallivo::MessageService {
public:
    void ShowMessage(QWidget*, const QString& text, const QString& title) override {
        texts.append(text);
        titles.append(title);
        busyPointer.append(QGuiApplication::overrideCursor() != nullptr);
    }
    // Records the question and gives the next scripted answer (-1, no answer, once they run out).
    int Ask(QWidget*, const QString& question, const QString&,
            const QStringList& offered) override {
        questions.append(question);
        answersOffered.append(offered);
        return answers.isEmpty() ? -1 : answers.dequeue();
    }
    void EndProgram() override { ++endRequests; }

    QStringList questions;
    QList<QStringList> answersOffered;
    QQueue<int> answers;
    QStringList texts;
    QStringList titles;
    QList<bool> busyPointer; // whether the hourglass was still up when each message came
    int endRequests = 0;
};

// Watches reads without a window; with stopAtBegin, asks every read to stop as it starts.
class ScriptedProgress : public tallivo::ReadProgress {
public:
    void Begin(QWidget*, const QString& what, std::function<void()> stop) override {
        watched.append(what);
        if (stopAtBegin) {
            stop();
        }
    }
    void Advance(std::uint64_t bytesRead) override { lastRead = bytesRead; }
    void End() override { ++ended; }

    QStringList watched;
    std::uint64_t lastRead = 0; // as last heard
    bool stopAtBegin = false;
    int ended = 0;
};

// Records the windows the program asks to show instead of showing them.
class RecordingWindows : public tallivo::WindowService {
public:
    void ShowInformation() override { ++informationShown; }
    void ShowStatistics() override { ++statisticsShown; }
    void ShowWorkbench() override { ++workbenchShown; }
    void ShowGuide(const QString& topic) override { guideTopics << topic; }

    QStringList guideTopics;
    int informationShown = 0;
    int statisticsShown = 0;
    int workbenchShown = 0;
};

// The fakes together, as the windows take them, the model and the counting road over them.
struct FakeServices {
    ScriptedDialog dialog;
    RecordingMessages messages;
    ScriptedProgress progress;
    RecordingWindows windows;
    ScriptedClipboard clipboard;
    tallivo::PlatformServices services{dialog, messages, progress, windows, clipboard};
    tallivo::SourceCounter counter{services};
    tallivo::AnalysisModel model;

    // Runs command, which may start a pass over a source, and waits until that pass has ended.
    template <typename Command> void AndWait(Command command) {
        QSignalSpy ended(&counter, &tallivo::SourceCounter::finished);
        command();
        if (counter.IsBusy()) {
            QVERIFY(ended.wait(10000));
        }
    }
};
