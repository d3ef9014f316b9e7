#include "app_fonts.h"
#include "fmain.h"
#include "message_service.h"
#include "open_file_dialog.h"
#include "platform_services.h"
#include "read_progress.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallivo"));

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
    const tallivo::PlatformServices services{dialog, messages, progress};
    tallivo::FMain window(services);
    window.show();
    return QApplication::exec();
}
