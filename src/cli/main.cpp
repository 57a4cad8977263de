// quorvane-cli: the headless tool. Finds the sub-command in the table of
// commands.cpp, parses its options and runs it.
//
// Exit codes: 0 success, 1 bad input (one line on standard error), 2 wrong
// usage (with a hint to the help).
#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <utility>

#include "cli/commands.h"
#include "model/platform.h"

namespace qv::cli {
namespace {

std::string Utf8(const QString& text) { return text.toStdString(); }

QString Program() { return QString::fromLatin1(kProgramName); }

bool IsHelp(const QString& arg) { return arg == "-h" || arg == "--help"; }

// "-o, --output <NAME.race>" or "--json".
QString OptionSyntax(const OptionEntry& option) {
    QStringList forms;
    for (const QString& name : option.names) forms << (name.size() == 1 ? "-" : "--") + name;
    QString syntax = forms.join(", ");
    if (!option.valueName.isEmpty()) syntax += " <" + option.valueName + ">";
    return syntax;
}

// The short form of an option for usage lines: "-o NAME.race", "--json".
QString OptionUsage(const OptionEntry& option) {
    const QString& name = option.names.constFirst();
    QString usage = (name.size() == 1 ? "-" : "--") + name;
    if (!option.valueName.isEmpty()) usage += " " + option.valueName;
    return usage;
}

QString UsageLine(const CommandEntry& command) {
    QString line = "Usage: " + Program() + " " + command.name;
    if (!command.arguments.isEmpty()) line += " " + command.arguments;
    for (const OptionEntry& option : command.options)
        if (option.required) line += " " + OptionUsage(option);
    for (const OptionEntry& option : command.options)
        if (!option.required) line += " [" + OptionUsage(option) + "]";
    return line;
}

// Lines of "  left  description", the descriptions aligned in one column.
QString Columns(const std::vector<std::pair<QString, QString>>& rows) {
    qsizetype width = 0;
    for (const auto& row : rows) width = std::max(width, row.first.size());
    QString text;
    for (const auto& [left, right] : rows) {
        const QStringList lines = right.split('\n');
        text += "  " + left.leftJustified(width) + "  " + lines.first() + "\n";
        for (qsizetype i = 1; i < lines.size(); ++i)
            text += QString(width + 4, ' ') + lines[i] + "\n";
    }
    return text;
}

QString CommandHelp(const CommandEntry& command) {
    QString text = UsageLine(command) + "\n\n" + command.description + "\n\nOptions:\n";
    std::vector<std::pair<QString, QString>> rows;
    for (const OptionEntry& option : command.options) rows.emplace_back(OptionSyntax(option), option.description);
    rows.emplace_back("-h, --help", "Show this help.");
    text += Columns(rows);
    if (!command.examples.isEmpty()) {
        text += "\nExamples:\n";
        for (const QString& example : command.examples) text += "  " + example + "\n";
    }
    return text;
}

// The commands whose first word is group ("race"), or every command.
QString CommandList(const QString& group = {}) {
    std::vector<std::pair<QString, QString>> rows;
    for (const CommandEntry& command : Commands())
        if (group.isEmpty() || command.name.startsWith(group + " "))
            rows.emplace_back(command.name, command.summary);
    return Columns(rows);
}

QString GeneralHelp() {
    QString text = Program() + ": the headless tool of Quorvane (race files, data checks,\n"
                   "new games, saved games, turns played without a window).\n\n"
                   "Usage: " + Program() + " <command> [arguments] [options]\n"
                   "       " + Program() + " --version\n\n"
                   "Commands:\n" + CommandList() +
                   "\nRun '" + Program() + " <command> --help' for the options of a command.\n\n"
                   "Examples:\n";
    for (const CommandEntry& command : Commands())
        for (const QString& example : command.examples) text += "  " + example + "\n";
    return text;
}

QString GroupHelp(const QString& group) {
    return "Usage: " + Program() + " " + group + " <command> [arguments] [options]\n\n"
           "Commands:\n" + CommandList(group) +
           "\nRun '" + Program() + " " + group + " <command> --help' for the options of a command.\n";
}

bool IsGroup(const QString& word) {
    for (const CommandEntry& command : Commands())
        if (command.name.startsWith(word + " ")) return true;
    return false;
}

// The command named by the first words of args (the longest name wins).
const CommandEntry* FindCommand(const QStringList& args, qsizetype& words) {
    const CommandEntry* found = nullptr;
    words = 0;
    for (const CommandEntry& command : Commands()) {
        const QStringList name = command.name.split(' ');
        if (name.size() > args.size() || name.size() <= words) continue;
        if (args.mid(0, name.size()) == name) {
            found = &command;
            words = name.size();
        }
    }
    return found;
}

void Print(FILE* stream, const QString& text) {
    const std::string bytes = Utf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

// Wrong usage: the reason, then a hint to the help (extra goes in between).
int UsageFailure(const QString& message, const QString& helpFor, const QString& extra = {}) {
    Print(stderr, Program() + ": " + message + "\n" + extra + "Try '" + Program() +
                      (helpFor.isEmpty() ? "" : " ") + helpFor + " --help'.\n");
    return kExitUsage;
}

// Bad input: "quorvane-cli <command>: <reason>" on one line.
int InputFailure(const CommandEntry& command, std::string reason) {
    for (char& c : reason)
        if (c == '\n' || c == '\r' || c == '\0') c = ' ';
    Print(stderr, Program() + " " + command.name + ": ");
    std::fwrite(reason.data(), 1, reason.size(), stderr);
    std::fputc('\n', stderr);
    return kExitBadInput;
}

int RunCommand(const CommandEntry& command, const QStringList& rest) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    for (const OptionEntry& option : command.options)
        parser.addOption(QCommandLineOption(option.names, option.description, option.valueName));
    const QCommandLineOption help(QStringList{"h", "help"}, "Show this help.");
    parser.addOption(help);
    if (!parser.parse(QStringList{Program()} + rest))
        return UsageFailure(command.name + ": " + parser.errorText(), command.name);
    if (parser.isSet(help)) {
        Print(stdout, CommandHelp(command));
        return kExitOk;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() < command.minArgs)
        return UsageFailure(command.name + ": missing argument " +
                                command.arguments.split(' ').value(positional.size()),
                            command.name);
    if (positional.size() > command.maxArgs)
        return UsageFailure(command.name + ": unexpected argument '" + positional[command.maxArgs] + "'",
                            command.name);
    for (const OptionEntry& option : command.options)
        if (option.required && !parser.isSet(option.names.first()))
            return UsageFailure(command.name + ": missing option " + OptionUsage(option), command.name);

    int code = kExitOk;
    try {
        code = command.run(parser);
    } catch (const UsageError& e) {
        return UsageFailure(command.name + ": " + QString::fromStdString(e.what()), command.name);
    } catch (const std::exception& e) {  // Failure, or a library error
        return InputFailure(command, e.what());
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return InputFailure(command, "cannot write to standard output");
    return code;
}

int Main(const QStringList& args) {
    if (args.isEmpty()) return UsageFailure("missing command", {}, "Commands:\n" + CommandList());
    if (IsHelp(args.first())) {
        Print(stdout, GeneralHelp());
        return kExitOk;
    }
    if (args.first() == "--version") {
        Print(stdout, Program() + " " QUORVANE_VERSION "\n");
        return kExitOk;
    }
    qsizetype words = 0;
    if (const CommandEntry* command = FindCommand(args, words)) return RunCommand(*command, args.mid(words));
    const QString& first = args.first();
    if (IsGroup(first)) {
        if (args.size() > 1 && IsHelp(args[1])) {
            Print(stdout, GroupHelp(first));
            return kExitOk;
        }
        const QString why = args.size() == 1 ? first + ": missing command"
                                             : first + ": unknown command '" + args[1] + "'";
        return UsageFailure(why, first, "Commands:\n" + CommandList(first));
    }
    if (first.startsWith('-')) return UsageFailure("unknown option '" + first + "' before the command", {});
    return UsageFailure("unknown command '" + first + "'", {});
}

}  // namespace
}  // namespace qv::cli

// Drawing pictures (render, play --plot, tournament --plot) needs the fonts of a GUI
// application; it always runs on the offscreen platform, so no display is
// needed (and a display's platform would take arguments such as --title for
// itself). Every other command makes do with the core application.
static bool DrawsPictures(int argc, char** argv) {
    if (argc < 2) return false;
    if (std::strcmp(argv[1], "render") == 0) return true;
    if (std::strcmp(argv[1], "play") != 0 && std::strcmp(argv[1], "tournament") != 0) return false;
    for (int i = 2; i < argc; ++i)
        if (std::strcmp(argv[i], "--plot") == 0 || std::strncmp(argv[i], "--plot=", 7) == 0) return true;
    return false;
}

// Qt's own notes while it sets the GUI application up (such as a missing
// XDG_RUNTIME_DIR) would break the promise of one line on standard error
// for a failure: only its critical messages are shown.
static void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtCriticalMsg && type != QtFatalMsg) return;
    const QByteArray text = message.toLocal8Bit();
    std::fprintf(stderr, "%s\n", text.constData());
    if (type == QtFatalMsg) std::abort();
}

static std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
    if (DrawsPictures(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(QuietQtMessages);
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

int main(int argc, char** argv) {
    const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv);
    // The logic's messages go to standard error; a fatal one ends the program.
    static qv::HeadlessPlatform platform(true);
    platform.exitForReal = true;
    qv::SetPlatform(&platform);
    return qv::cli::Main(QCoreApplication::arguments().mid(1));
}
