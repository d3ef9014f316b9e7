#pragma once

#include <QString>
#include <QStringList>

class QProcessEnvironment;

namespace tallivo {

// What the program does with the arguments it was started with.
struct StartPlan {
    bool run = true;    // start the window; otherwise print and end with exitCode
    int exitCode = 0;   // 0 after --help or --version, 2 after a wrong option, 1 with no display
    QString output;     // for standard output
    QString errors;     // for standard error, printed whether or not the window starts
    QString fileName;   // the file to analyse at start, empty for none
    int fileIndex = -1; // where fileName stands in the arguments, -1 for none
};

// Reads the program's arguments (the program's own name first; the toolkit's options such as
// -platform taken out with OwnArguments): "--help" and "--version" print in Italian, an unknown
// option is an error with the usage, the first file is analysed at start and any others are
// ignored.
class CommandLine {
public:
    explicit CommandLine(QString version);

    // Returns the plan for arguments.
    StartPlan Plan(const QStringList& arguments) const;

    // Returns the indexes of the arguments that are the program's own: all but the toolkit's
    // options (-platform xcb, -style=fusion, -reverse ...), which the toolkit takes itself. So
    // every option error is answered before the toolkit starts, with no display needed.
    static QList<int> OwnArguments(const QStringList& arguments);

    // Returns the plan for a start that would open the window, given the whole arguments (the
    // toolkit's options too) and the environment: a message and exit code 1 where no display can
    // be reached (no DISPLAY nor WAYLAND_DISPLAY, or none that the platform named by -platform or
    // QT_QPA_PLATFORM needs, -display standing for DISPLAY), so the toolkit is not started to
    // abort; a plan that runs otherwise, and whenever a platform is named whose needs are the
    // toolkit's to judge (offscreen, vnc ...).
    static StartPlan DisplayCheck(const QStringList& arguments,
                                  const QProcessEnvironment& environment);

    // Returns the usage text printed by --help.
    QString HelpText() const;

private:
    QString version_;
};

} // namespace tallivo
