#include "CommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <climits>
#include <cstdio>
#include <sys/stat.h>
#include <vector>

#include "dialogs/PortSpinEdit.h" // MinPortNumber, MaxPortNumber
#include "ports/PortNames.h"

#ifndef UEGO4100_VERSION
#define UEGO4100_VERSION "unknown"
#endif

namespace {

// The end of a headless run is one timer; its interval is a signed count of milliseconds.
constexpr double MaxDurationSeconds = INT_MAX / 1000;

struct TOptionText {
    QStringList Names;
    QString ValueName; // empty for a switch
    QString Help;
};

const std::vector<TOptionText>& OptionTexts() {
    static const std::vector<TOptionText> options = {
        {{"h", "help"}, {}, "show this help and exit"},
        {{"version"}, {}, "show the version and exit"},
        {{"port"},
         "N|PATH|auto",
         "open COM port N (1 to 255), or the serial device at PATH, at start; auto: the first "
         "published port or USB serial device where a controller answers"},
        {{"log"},
         "FILE",
         "once the port is open, log every reading to FILE (the format's suffix is added to a "
         "name without extension)"},
        {{"format"},
         "txt|msl|csv",
         "the format of the log and of the lines on standard output: the text log (txt), the "
         "tab-separated MSL log or CSV; without it the suffix of --log decides, else txt"},
        {{"overwrite"}, {}, "let --log replace a FILE that exists"},
        {{"list-ports"}, {}, "print the device each COM number stands for, and exit"},
        {{"headless"},
         {},
         "run without a window: each reading as a line on standard output, link changes on "
         "standard error; needs --port"},
        {{"duration"}, "SECONDS", "with --headless: end after SECONDS"},
    };
    return options;
}

QString OptionColumn(const TOptionText& option) {
    QStringList forms;
    for (const QString& name : option.Names) {
        forms << (name.size() == 1 ? "-" : "--") + name;
    }
    QString column = forms.join(", ");
    if (!column.startsWith("-h")) {
        column = "    " + column;
    }
    if (!option.ValueName.isEmpty()) {
        column += " " + option.ValueName;
    }
    return column;
}

constexpr int HelpColumn = 26;
constexpr int LineWidth = 79;

// `text` broken into lines that end before LineWidth, the following ones indented to `indent`.
QString Wrapped(const QString& text, int indent) {
    QString out;
    int used = indent;
    for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
        if (used > indent && used + 1 + word.size() > LineWidth) {
            out += "\n" + QString(indent, ' ');
            used = indent;
        } else if (used > indent) {
            out += ' ';
            ++used;
        }
        out += word;
        used += word.size();
    }
    return out;
}

void AddOptions(QCommandLineParser& parser) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    for (const TOptionText& option : OptionTexts()) {
        parser.addOption(QCommandLineOption(option.Names, option.Help, option.ValueName));
    }
}

// A number from 1 to 255, "COMn", a path (any name with a '/'), or "auto".
bool ParsePort(const QString& value, TCommandLine& commandLine, QString& error) {
    if (value == "auto") {
        commandLine.PortAuto = true;
        return true;
    }
    bool isNumber = false;
    int number = value.toInt(&isNumber);
    if (!isNumber) {
        number = ComPortNumber(value.toStdString());
        isNumber = number > 0;
    }
    if (isNumber && number >= MinPortNumber && number <= MaxPortNumber) {
        commandLine.PortNumber = number;
        return true;
    }
    if (!isNumber && value.contains('/')) {
        commandLine.PortPath = QFile::encodeName(QFileInfo(value).absoluteFilePath()).toStdString();
        return true;
    }
    error = "--port takes a port number from 1 to 255, a device path or auto, not '" + value + "'";
    return false;
}

bool ParseDuration(const QString& value, TCommandLine& commandLine, QString& error) {
    bool ok = false;
    const double seconds = value.toDouble(&ok);
    if (!ok || !(seconds > 0) || seconds > MaxDurationSeconds) {
        error = QString("--duration takes a number of seconds above 0 and up to %1, not '%2'")
                    .arg(static_cast<int>(MaxDurationSeconds))
                    .arg(value);
        return false;
    }
    commandLine.DurationSeconds = seconds;
    return true;
}

// Rules between options, once each value is known.
bool CheckCombination(const QCommandLineParser& parser, const TCommandLine& commandLine,
                      QString& error) {
    if (commandLine.Headless && !commandLine.HasPort()) {
        error = "--headless needs --port";
        return false;
    }
    if (parser.isSet("duration") && !commandLine.Headless) {
        error = "--duration needs --headless";
        return false;
    }
    return true;
}

} // namespace

bool ParseCommandLine(const QStringList& arguments, TCommandLine& commandLine, QString& error) {
    QCommandLineParser parser;
    AddOptions(parser);
    if (!parser.parse(QStringList{"uego4100"} + arguments)) {
        error = parser.errorText();
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = "unexpected argument '" + parser.positionalArguments().first() + "'";
        return false;
    }
    for (const char* name : {"port", "log", "format", "duration"}) {
        if (parser.values(name).size() > 1) {
            error = QString("--%1 given more than once").arg(name);
            return false;
        }
    }
    commandLine = TCommandLine();
    commandLine.Help = parser.isSet("help");
    commandLine.Version = parser.isSet("version");
    commandLine.ListPorts = parser.isSet("list-ports");
    commandLine.Headless = parser.isSet("headless");
    commandLine.Overwrite = parser.isSet("overwrite");
    if (parser.isSet("port") && !ParsePort(parser.value("port"), commandLine, error)) {
        return false;
    }
    if (parser.isSet("format")) {
        const auto kind = LogKindNamed(parser.value("format").toStdString());
        if (!kind) {
            error = "--format takes txt, msl or csv, not '" + parser.value("format") + "'";
            return false;
        }
        commandLine.LogFormat = *kind;
    }
    if (parser.isSet("log")) {
        const QString given = parser.value("log");
        if (given.isEmpty() || given.endsWith('/') || QFileInfo(given).isDir()) {
            error = "--log needs a file name, not '" + given + "'";
            return false;
        }
        if (!parser.isSet("format")) {
            commandLine.LogFormat = LogKindOfPath(given.toStdString()).value_or(TLogKind::Text);
        }
        commandLine.LogFile = LogFileName(given, LogKindSuffix(commandLine.LogFormat));
    }
    if (parser.isSet("duration") && !ParseDuration(parser.value("duration"), commandLine, error)) {
        return false;
    }
    return CheckCombination(parser, commandLine, error);
}

void PrintProgramError(const std::string& message) {
    std::fprintf(stderr, "uego4100: %s\n", message.c_str());
    std::fflush(stderr);
}

QString UsageText() {
    QString text = "Usage: uego4100 [OPTION]...\n"
                   "Monitor and log a WBX4100 wideband lambda controller on a serial port.\n"
                   "Without options the window opens with the port closed.\n\n";
    for (const TOptionText& option : OptionTexts()) {
        const QString names = "  " + OptionColumn(option);
        text += names;
        text += names.size() < HelpColumn - 1 ? QString(HelpColumn - names.size(), ' ')
                                              : "\n" + QString(HelpColumn, ' ');
        text += Wrapped(option.Help, HelpColumn) + "\n";
    }
    text += "\nExit status:\n"
            "  0  normal end\n"
            "  2  bad usage\n"
            "  3  the port cannot be opened\n"
            "  4  the log cannot be created or written, or FILE exists without --overwrite\n";
    return text;
}

QString VersionText() {
    return QStringLiteral("uego4100 " UEGO4100_VERSION);
}

std::string LogFileName(const QString& given, const char* suffix) {
    QFileInfo info(given);
    QString path = info.absoluteFilePath();
    if (!info.fileName().contains('.')) {
        path += QString(".") + suffix;
    }
    return QFile::encodeName(QDir::cleanPath(path)).toStdString();
}

std::string LogExistsMessage(const std::string& path) {
    return path + " exists; it is left as it is (give --overwrite to replace it)";
}

bool LogFileRefused(const TCommandLine& commandLine) {
    struct stat st {};
    // A link counts as the file, even when it leads nowhere.
    return !commandLine.LogFile.empty() && !commandLine.Overwrite &&
           ::lstat(commandLine.LogFile.c_str(), &st) == 0;
}
