#include "app_fonts.h"
#include "command_line.h"
#include "fmain.h"
#include "message_service.h"
#include "open_file_dialog.h"
#include "platform_services.h"
#include "qt_window_service.h"
#include "read_progress.h"
#include "report_menu.h"
#include "source_counter.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

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

int main(int argc, char* argv[]) {
    const tallivo::CommandLine commandLine(QStringLiteral(TALLIVO_VERSION));
    // Help and the version need no display: answered before the toolkit starts.
    if (const QStringList raw = RawArguments(argc, argv);
        tallivo::CommandLine::AsksForTextOnly(raw)) {
        const tallivo::StartPlan plan = commandLine.Plan(raw);
        if (!plan.run) {
            Announce(plan);
            return plan.exitCode;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallivo"));
    QApplication::setApplicationVersion(QStringLiteral(TALLIVO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("it.orvedel.Tallivo"));

    // The toolkit has taken its own options (-platform, -style ...) out of the arguments.
    const tallivo::StartPlan plan = commandLine.Plan(QApplication::arguments());
    if (!Announce(plan)) {
        return plan.exitCode;
    }

    // The platform's own dialogs and boxes speak Italian, like the rest of the program.
    QTranslator qtItalian;
    if (qtItalian.load(QStringLiteral("qtbase_it"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtItalian);
    }
    tallivo::InstallUiFont();

    tallivo::QtOpenFileDialog dialog;
    tallivo::QtMessageService messages;
    tallivo::QtReadProgress progress;
    tallivo::QtWindowService windows;
    const tallivo::PlatformServices services{dialog, messages, progress, windows};
    // The one counting road, the specified window, and what is built around it.
    tallivo::SourceCounter counter(services);
    tallivo::FMain window(services, counter);
    new tallivo::ReportMenu(window, services, counter);
    window.show();
    if (!plan.fileName.isEmpty()) {
        // Once the window shows, as if the file had been picked in the Open dialog.
        const QString fileName = QDir::current().absoluteFilePath(plan.fileName);
        QTimer::singleShot(0, &window, [&window, fileName] {
            window.Analyse(tallivo::TextSource::File(fileName));
        });
    }
    return QApplication::exec();
}
