#pragma once

#include "message_service.h"
#include "open_file_dialog.h"
#include "platform_services.h"
#include "read_progress.h"

#include <QGuiApplication>
#include <QQueue>
#include <QString>
#include <QStringList>

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

// Records every message (and the pointer it was shown under) and every request to end the program
// instead of acting on it.
class RecordingMessages : public tallivo::MessageService {
public:
    void ShowMessage(QWidget*, const QString& text, const QString& title) override {
        texts.append(text);
        titles.append(title);
        busyPointer.append(QGuiApplication::overrideCursor() != nullptr);
    }
    void EndProgram() override { ++endRequests; }

    QStringList texts;
    QStringList titles;
    QList<bool> busyPointer; // whether the hourglass was still up when each message came
    int endRequests = 0;
};

// Watches reads without a window; stops a read at its stopAfter-th block when that is set.
class ScriptedProgress : public tallivo::ReadProgress {
public:
    void Begin(QWidget*, const QString& what) override {
        watched.append(what);
        blocks = 0;
    }
    bool Advance(std::uint64_t) override { return ++blocks != stopAfter; }
    void End() override { ++ended; }

    QStringList watched;
    int blocks = 0;
    int stopAfter = 0;
    int ended = 0;
};

// The fakes together, as the windows take them.
struct FakeServices {
    ScriptedDialog dialog;
    RecordingMessages messages;
    ScriptedProgress progress;
    tallivo::PlatformServices services{dialog, messages, progress};
};
