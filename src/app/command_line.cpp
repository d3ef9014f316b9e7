#include "command_line.h"

#include <QCommandLineParser>

namespace tallivo {

namespace {

const QString kHelpText =
    QStringLiteral("Uso: tallivo [opzioni] [file]\n"
                   "Conta le lettere dalla A alla Z di un file di testo e ne mostra le frequenze.\n"
                   "\n"
                   "Opzioni:\n"
                   "  -h, --help     Mostra questo aiuto ed esce.\n"
                   "  -v, --version  Mostra la versione ed esce.\n"
                   "\n"
                   "Argomenti:\n"
                   "  file           Il file di testo da analizzare all'avvio.\n"
                   "\n"
                   "Sono accettate anche le opzioni di Qt, come -platform e -style.\n");

bool IsHelp(const QString& argument) {
    return argument == QLatin1String("-h") || argument == QLatin1String("--help");
}

bool IsVersion(const QString& argument) {
    return argument == QLatin1String("-v") || argument == QLatin1String("--version");
}

// Returns, in Italian, what is wrong with arguments that did not parse.
QString Problem(const QCommandLineParser& parser, const QStringList& arguments) {
    const QString name = parser.unknownOptionNames().value(0);
    if (name.isEmpty()) {
        return QStringLiteral("argomenti non validi.");
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

bool CommandLine::AsksForTextOnly(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != QLatin1String("--"); ++i) {
        if (IsHelp(arguments[i]) || IsVersion(arguments[i])) {
            return true;
        }
    }
    return false;
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
    if (!parsed) {
        plan.run = false;
        plan.exitCode = 2;
        plan.errors = QStringLiteral("tallivo: %1\n").arg(Problem(parser, arguments)) + HelpText();
        return plan;
    }
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty()) {
        plan.fileName = files.first();
    }
    if (files.size() == 2) {
        plan.errors =
            QStringLiteral("tallivo: si analizza solo il primo file; l'altro è ignorato.\n");
    } else if (files.size() > 2) {
        plan.errors = QStringLiteral("tallivo: si analizza solo il primo file; gli altri %1 sono "
                                     "ignorati.\n")
                          .arg(files.size() - 1);
    }
    return plan;
}

} // namespace tallivo
