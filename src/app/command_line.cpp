#include "command_line.h"

#include <QCommandLineParser>
#include <QProcessEnvironment>

namespace tallivo {

namespace {

const QString kHelpText = QStringLiteral(
    "Uso: tallivo [opzioni] [file]\n"
    "Conta le lettere dalla A alla Z di un file di testo e ne mostra le frequenze.\n"
    "Dal menu del rapporto (clic destro) il banco di lavoro «Decifra…» (Ctrl+D) aiuta\n"
    "a forzare i cifrari classici; F1 apre la guida in italiano.\n"
    "\n"
    "Opzioni:\n"
    "  -h, --help     Mostra questo aiuto ed esce.\n"
    "  -v, --version  Mostra la versione ed esce.\n"
    "\n"
    "Argomenti:\n"
    "  file           Il file di testo da analizzare all'avvio.\n"
    "\n"
    "Sono accettate anche le opzioni di Qt, come -platform e -style.\n");

// The toolkit's own options that take a value, and those that stand alone.
const QStringList kToolkitValueOptions{"-platform",        "-platformpluginpath",
                                       "-platformtheme",   "-plugin",
                                       "-qwindowgeometry", "-geometry",
                                       "-qwindowtitle",    "-title",
                                       "-qwindowicon",     "-icon",
                                       "-display",         "-name",
                                       "-style",           "-stylesheet",
                                       "-session",         "-qmljsdebugger"};
const QStringList kToolkitFlags{"-reverse", "-widgetcount", "-nograb",
                                "-dograb",  "-sync",        "-testability"};

bool IsHelp(const QString& argument) {
    return argument == QLatin1String("-h") || argument == QLatin1String("--help");
}

bool IsVersion(const QString& argument) {
    return argument == QLatin1String("-v") || argument == QLatin1String("--version");
}

// Returns the value of the toolkit's option named option (given as "-name value", "-name=value"
// or with two dashes) in arguments, empty where it is not given.
QString ToolkitOption(const QStringList& arguments, const QString& option) {
    for (int i = 1; i < int(arguments.size()); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--")) {
            break;
        }
        const QString bare = argument.startsWith(QLatin1String("--")) ? argument.mid(1) : argument;
        if (bare == option && i + 1 < int(arguments.size())) {
            return arguments[i + 1];
        }
        if (bare.startsWith(option + QLatin1Char('='))) {
            return bare.mid(option.size() + 1);
        }
    }
    return {};
}

// Returns, in Italian, what is wrong with arguments that did not parse.
QString Problem(const QCommandLineParser& parser, const QStringList& arguments) {
    const QString name = parser.unknownOptionNames().value(0);
    if (name.isEmpty()) {
        for (const QString& argument : arguments) {
            if (argument.contains(QLatin1Char('=')) &&
                (IsHelp(argument.section(QLatin1Char('='), 0, 0)) ||
                 IsVersion(argument.section(QLatin1Char('='), 0, 0)))) {
                return QStringLiteral("l'opzione %1 non prende un valore")
                    .arg(argument.section(QLatin1Char('='), 0, 0));
            }
        }
    }
    if (name.isEmpty()) {
        return QStringLiteral("argomenti non validi");
    }
    QString typed = name;
    for (const QString& argument : arguments) {
        const QString bare = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        if (argument.startsWith(QLatin1Char('-')) &&
            (bare == name || bare.startsWith(name + QLatin1Char('=')))) {
            typed = argument.section(QLatin1Char('='), 0, 0);
            break;
        }
    }
    return QStringLiteral("opzione sconosciuta: %1").arg(typed);
}

} // namespace

CommandLine::CommandLine(QString version)
    : version_(std::move(version)) {}

QString CommandLine::HelpText() const {
    return kHelpText;
}

QList<int> CommandLine::OwnArguments(const QStringList& arguments) {
    QList<int> own;
    for (int i = 0; i < int(arguments.size()); ++i) {
        // The toolkit reads "--style" as "-style"; it reads nothing after "--".
        const QString& argument = arguments[i];
        const QString option = argument.startsWith(QLatin1String("--")) && argument.size() > 2
                                   ? argument.mid(1).section(QLatin1Char('='), 0, 0)
                                   : argument.section(QLatin1Char('='), 0, 0);
        if (i > 0 && argument == QLatin1String("--")) {
            for (; i < int(arguments.size()); ++i) {
                own.append(i);
            }
            break;
        }
        if (i > 0 && kToolkitValueOptions.contains(option)) {
            i += argument.contains(QLatin1Char('=')) ? 0 : 1; // and its value
        } else if (i == 0 || !kToolkitFlags.contains(option)) {
            own.append(i);
        }
    }
    return own;
}

StartPlan CommandLine::DisplayCheck(const QStringList& arguments,
                                    const QProcessEnvironment& environment) {
    QString x11 = ToolkitOption(arguments, QStringLiteral("-display"));
    if (x11.isEmpty()) {
        x11 = environment.value(QStringLiteral("DISPLAY"));
    }
    const QString wayland = environment.value(QStringLiteral("WAYLAND_DISPLAY"));
    QString platforms = ToolkitOption(arguments, QStringLiteral("-platform"));
    if (platforms.isEmpty()) {
        platforms = environment.value(QStringLiteral("QT_QPA_PLATFORM"));
    }
    StartPlan plan;
    if (platforms.isEmpty()) {
        if (x11.isEmpty() && wayland.isEmpty()) {
            plan.run = false;
            plan.exitCode = 1;
            plan.errors = QStringLiteral("tallivo: nessuno schermo disponibile per la finestra: né "
                                         "DISPLAY né WAYLAND_DISPLAY è impostata\n");
        }
        return plan;
    }
    // The toolkit tries the platforms named, separated by ";", in turn; each takes its options
    // after ":" (xcb:...). Those that need no display, or whose needs cannot be seen from here,
    // are left to the toolkit.
    QStringList missing;
    for (const QString& entry : platforms.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0).trimmed();
        if (name == QLatin1String("xcb") && x11.isEmpty()) {
            missing << QStringLiteral("DISPLAY");
        } else if (name.startsWith(QLatin1String("wayland")) && wayland.isEmpty()) {
            missing << QStringLiteral("WAYLAND_DISPLAY");
        } else {
            return plan;
        }
    }
    if (!missing.isEmpty()) {
        missing.removeDuplicates();
        plan.run = false;
        plan.exitCode = 1;
        plan.errors = QStringLiteral("tallivo: nessuno schermo disponibile per la finestra: la "
                                     "piattaforma %1 richiede %2, che non è impostata\n")
                          .arg(platforms, missing.join(QStringLiteral(" o ")));
    }
    return plan;
}

StartPlan CommandLine::Plan(const QStringList& arguments) const {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    const bool parsed = parser.parse(arguments);

    StartPlan plan;
    if (!parsed) {
        plan.run = false;
        plan.exitCode = 2;
        plan.errors = QStringLiteral("tallivo: %1\n").arg(Problem(parser, arguments)) + HelpText();
        return plan;
    }
    if (parser.isSet(help)) {
        plan.run = false;
        plan.output = HelpText();
        return plan;
    }
    if (parser.isSet(version)) {
        plan.run = false;
        plan.output = QStringLiteral("Tallivo %1\n").arg(version_);
        return plan;
    }
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty()) {
        plan.fileName = files.first();
        // The first argument that is no option, or the first after "--".
        const qsizetype end = arguments.indexOf(QStringLiteral("--"), 1);
        plan.fileIndex = int(arguments.indexOf(plan.fileName, 1));
        if (end >= 0 && (plan.fileIndex < 0 || plan.fileIndex > end)) {
            plan.fileIndex = int(arguments.indexOf(plan.fileName, end + 1));
        }
    }
    if (files.size() == 2) {
        plan.errors =
            QStringLiteral("tallivo: si analizza solo il primo file; l'altro è ignorato\n");
    } else if (files.size() > 2) {
        plan.errors = QStringLiteral("tallivo: si analizza solo il primo file; gli altri %1 sono "
                                     "ignorati\n")
                          .arg(files.size() - 1);
    }
    return plan;
}

} // namespace tallivo
