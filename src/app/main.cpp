#include "analysis_model.h"
#include "clipboard_text.h"
#include "command_line.h"
#include "composition.h"
#include "fmain.h"
#include "message_service.h"
#include "open_file_dialog.h"
#include "platform_services.h"
#include "qt_window_service.h"
#include "read_progress.h"
#include "sample_texts.h"
#include "source_counter.h"
#include "text_source.h"
#include "window_accessibility.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QProcessEnvironment>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <memory>

namespace {

// Prints the plan's texts; returns whether the window is to start.
bool Announce(const tallivo::StartPlan& plan) {
    std::fputs(plan.output.toLocal8Bit().constData(), stdout);
    std::fputs(plan.errors.toLocal8Bit().constData(), stderr);
    return plan.run;
}

QStringList RawArguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

} // namespace

// Where the program is put together: the platform's services, the model of what was
// analysed, the counting road, the main window, and the features composed around it.
int main(int argc, char* argv[]) {
    const tallivo::CommandLine commandLine(QStringLiteral(TALLIVO_VERSION));
    // Help, the version and every option error are answered before the toolkit starts, so they
    // need no display; the toolkit's own options are left to it.
    const QStringList raw = RawArguments(argc, argv);
    const QList<int> own = tallivo::CommandLine::OwnArguments(raw);
    QStringList arguments;
    for (const int i : own) {
        arguments << raw[i];
    }
    const tallivo::StartPlan plan = commandLine.Plan(arguments);
    if (!Announce(plan)) {
        return plan.exitCode;
    }
    // The file's name exactly as the system gave it, whatever its bytes.
    QByteArray fileName;
    if (plan.fileIndex >= 0) {
        fileName = argv[own[plan.fileIndex]];
    }

    // Without a display the toolkit would abort: say so in Italian and end.
    const tallivo::StartPlan display =
        tallivo::CommandLine::DisplayCheck(raw, QProcessEnvironment::systemEnvironment());
    if (!Announce(display)) {
        return display.exitCode;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallivo"));
    QApplication::setApplicationVersion(QStringLiteral(TALLIVO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("it.orvedel.Tallivo"));

    // The platform's own dialogs and boxes speak Italian, like the rest of the program.
    QTranslator qtItalian;
    if (qtItalian.load(QStringLiteral("qtbase_it"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtItalian);
    }

    tallivo::InstallWindowAccessibility();
    tallivo::QtOpenFileDialog dialog;
    tallivo::QtMessageService messages;
    tallivo::QtReadProgress progress;
    tallivo::AnalysisModel model;
    tallivo::QtWindowService windows(model, messages);
    tallivo::SystemClipboardText clipboard;
    const tallivo::PlatformServices services{dialog, messages, progress, windows, clipboard};
    tallivo::SourceCounter counter(services);
    tallivo::FMain window(services, counter, model);
    windows.SetOwner(&window);
    tallivo::ComposeFeatures(window, model, services, counter);
    // A sample the guide offers is analysed as a text and opened in the workbench.
    windows.SetSampleHandler([&window, &windows](const QString& name) {
        auto opened = std::make_shared<QMetaObject::Connection>();
        *opened = QObject::connect(&window, &tallivo::FMain::analysed, &window, [&windows, opened] {
            QObject::disconnect(*opened);
            windows.ShowWorkbench();
        });
        window.Analyse(tallivo::TextSource::Sample(name, tallivo::SampleTexts::Text(name)));
    });
    window.show();
    if (!fileName.isEmpty()) {
        if (!fileName.startsWith('/')) {
            fileName = QFile::encodeName(QDir::currentPath()) + '/' + fileName;
        }
        // Once the window shows, as if the file had been picked in the Open dialog.
        QTimer::singleShot(0, &window, [&window, fileName] {
            window.Analyse(tallivo::TextSource::FileNamed(fileName));
        });
    }
    return QApplication::exec();
}
