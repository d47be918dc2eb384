// A stand-in for the image editor that loads colour-picker plug-ins: it
// loads the plug-in's shared library, fills the host's records from the
// options, calls PluginMain and prints what came back.
//
//   picker-host [options] [PLUG-IN FOLDER]
//
// The host builds no application object of its own: the plug-in builds one
// in every call, and both use the one copy of Qt loaded into this process.

#include "CallDriver.h"
#include "HostOutput.h"
#include "ResidentMemory.h"
#include "StandInSuites.h"
#include "WindowingPlatform.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace {

enum ExitCode { Done = 0, CannotLoad = 1, BadArguments = 2, Hung = 3, ActionFailed = 4, NoDisplay = 5 };

void watchdogFired(int)
{
    static const char message[] = "watchdog: the plug-in did not return in time\n";
    ssize_t written = ::write(STDOUT_FILENO, message, sizeof message - 1);
    (void)written;
    ::_exit(Hung);
}

// "c0,c1,c2,c3", each 0 to 65535; fewer than four leave the rest 0.
bool parseComponents(const QString &text, uint16_t components[4])
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() > 4)
        return false;
    for (int i = 0; i < 4; ++i)
        components[i] = 0;
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const uint value = parts.at(i).trimmed().toUInt(&ok);
        if (!ok || value > 65535)
            return false;
        components[i] = static_cast<uint16_t>(value);
    }
    return true;
}

QString componentsText(const uint16_t components[4])
{
    return QStringLiteral("%1,%2,%3,%4").arg(components[0]).arg(components[1]).arg(components[2]).arg(components[3]);
}

int badArguments(const QString &message)
{
    std::fprintf(stderr, "picker-host: %s\n", qPrintable(message));
    return BadArguments;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Loads a colour-picker plug-in and calls it as the host would.\n"
                       "Exit status: 0 when every call returned and played every action, 1 when the plug-in "
                       "cannot be loaded, 2 for bad arguments, 3 when a call did not return before the watchdog, "
                       "4 when an action failed or a call returned before playing it, 5 when no windowing "
                       "platform can be had (no display).\n"
                       "The plug-in's windows need a display: run the host on one, under xvfb-run, with "
                       "QT_QPA_PLATFORM=offscreen, or through tools/run-picker.sh --offscreen.\n"
                       "The plug-in reads and writes the folders of the environment it is given: collections in "
                       "the machine-wide folder (the first XDG_DATA_DIRS entry outside the home), settings in "
                       "XDG_CONFIG_HOME, swatch files in XDG_DATA_HOME. tools/run-picker.sh runs the host on the "
                       "demo collection with folders of its own."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("plug-in"),
                                 QStringLiteral("The plug-in folder (default: the one in the build tree)."));
    const QCommandLineOption selector(QStringLiteral("selector"), QStringLiteral("0 about, 1 pick (default 1)."),
                                      QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption space(QStringLiteral("space"),
                                   QStringLiteral("Source colour space: 0 RGB, 1 HSB, 2 CMYK, 3 Lab, 4 Gray (default 0); "
                                                  "any other, e.g. 5, gives no colour, so the picker opens without "
                                                  "offering the chips nearest to one."),
                                   QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption resultSpace(QStringLiteral("result-space"),
                                         QStringLiteral("The result colour space word before the call (default 0)."),
                                         QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption colour(QStringLiteral("c"), QStringLiteral("The four 16-bit components (default 0,0,0,0)."),
                                    QStringLiteral("c0,c1,c2,c3"), QStringLiteral("0,0,0,0"));
    const QCommandLineOption hostVersion(QStringLiteral("host-version"),
                                         QStringLiteral("The host's major version (default 13)."),
                                         QStringLiteral("major"), QStringLiteral("13"));
    const QCommandLineOption prompt(QStringLiteral("prompt"), QStringLiteral("The prompt text (default: none)."),
                                    QStringLiteral("text"));
    const QCommandLineOption calls(QStringLiteral("calls"), QStringLiteral("Number of calls, 1 to 1000 (default 1)."),
                                   QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption act(QStringLiteral("act"),
                                 QStringLiteral("An action on the plug-in's window (the active modal one, else "
                                                "the last shown), played in order in each call, each from the "
                                                "event loop once the previous one has started, so that an action "
                                                "can answer a dialog an earlier one opened: close (closes the "
                                                "window), click:<text> (clicks the enabled button with that text), "
                                                "invoke:<slot> (calls that slot of the window), key:<key> (presses "
                                                "that key, e.g. Return), type:<text> (types the text into the "
                                                "focus widget), screenshot:<file> (saves a picture of the window), "
                                                "await:<class or title> (waits until that window is the one "
                                                "driven), press:<x>,<y> (a left click at that point of the window), "
                                                "drag:<class>:<MIME type>:<hex> (a drag of that data entering the "
                                                "middle of the first visible widget of that class), "
                                                "drop:<class>:<MIME type>:<hex> (the same moved there and dropped), "
                                                "buttons (prints the window's buttons, each on or off). An action "
                                                "that fails, or that a call returns before reaching, fails the run."),
                                 QStringLiteral("action"));
    const QCommandLineOption actDelay(QStringLiteral("act-delay"),
                                      QStringLiteral("Milliseconds before each action (default 100)."),
                                      QStringLiteral("ms"), QStringLiteral("100"));
    const QCommandLineOption watchdog(QStringLiteral("watchdog"),
                                      QStringLiteral("Seconds before a call that has not returned fails (default 60)."),
                                      QStringLiteral("s"), QStringLiteral("60"));
    const QCommandLineOption timing(QStringLiteral("timing"),
                                    QStringLiteral("Print when each call painted its first frame and returned, "
                                                   "with the resident memory the plug-in added, when each action "
                                                   "started and how long it took, and at the end the process's "
                                                   "processor time and peak resident memory."));
    const QCommandLineOption noBasicSuite(QStringLiteral("no-basic-suite"), QStringLiteral("Pass no suite broker."));
    const QCommandLineOption acquireFails(QStringLiteral("acquire-fails"),
                                          QStringLiteral("Refuse every suite the plug-in asks for."));
    const QCommandLineOption fileSpecFails(QStringLiteral("file-spec-fails"),
                                           QStringLiteral("The plug-in's file reference fails."));
    const QCommandLineOption noPropertyProcs(QStringLiteral("no-property-procs"),
                                             QStringLiteral("Pass no property suite."));
    parser.addOptions({selector, space, resultSpace, colour, hostVersion, prompt, calls, act, actDelay, watchdog, timing,
                       noBasicSuite, acquireFails, fileSpecFails, noPropertyProcs});
    if (!parser.parse(arguments))
        return badArguments(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        // No application object names the program yet.
        std::fputs(qPrintable(parser.helpText().replace(QLatin1String("<executable_name>"),
                                                         QFileInfo(arguments.value(0)).fileName())),
                   stdout);
        return Done;
    }

    bool ok = true;
    auto number = [&ok, &parser](const QCommandLineOption &option, int low, int high) {
        bool valid = false;
        const int value = parser.value(option).toInt(&valid);
        if (!valid || value < low || value > high)
            ok = false;
        return value;
    };
    const int selectorValue = number(selector, -32768, 32767);
    const int spaceValue = number(space, -32768, 32767);
    const int resultSpaceValue = number(resultSpace, -32768, 32767);
    const int majorVersion = number(hostVersion, 0, 32767);
    const int callCount = number(calls, 1, 1000);
    const int delay = number(actDelay, 0, 600000);
    const int watchdogSeconds = number(watchdog, 1, 3600);
    uint16_t components[4];
    if (!ok || !parseComponents(parser.value(colour), components))
        return badArguments(QStringLiteral("a number is not valid; see --help"));
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return badArguments(QStringLiteral("one plug-in folder at most"));

    // The plug-in builds its application object without arguments, so only
    // the environment chooses its platform; Qt would abort without one.
    const QString noPlatform = WindowingPlatform::unavailableReason(QStringList());
    if (!noPlatform.isEmpty()) {
        std::fprintf(stderr,
                     "picker-host: no windowing platform for the plug-in's windows: %s.\n"
                     "Run it on a display, under xvfb-run, with QT_QPA_PLATFORM=offscreen, or through "
                     "tools/run-picker.sh --offscreen.\n",
                     qPrintable(noPlatform));
        return NoDisplay;
    }

    // The plug-in is a folder holding "<folder name>.so"; the host reports
    // the folder as the plug-in's file.
    const QString folder = QFileInfo(positional.isEmpty() ? QStringLiteral(HUEFORM_PLUGIN_FOLDER)
                                                          : positional.first()).absoluteFilePath();
    const QString library = QDir(folder).filePath(QFileInfo(folder).fileName() + QStringLiteral(".so"));
    // What the host holds before the plug-in is loaded; Qt's libraries are
    // mapped already, since the host links them too.
    const qint64 residentBeforeLoading = ResidentMemory::kibibytes();
    void *handle = ::dlopen(QFile::encodeName(library).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "picker-host: cannot load %s: %s\n", qPrintable(library), ::dlerror());
        return CannotLoad;
    }
    auto entry = reinterpret_cast<PickerHost::Entry>(::dlsym(handle, PickerHost::EntryName));
    if (!entry) {
        std::fprintf(stderr, "picker-host: %s exports no %s\n", qPrintable(library), PickerHost::EntryName);
        return CannotLoad;
    }

    StandInSuites::Switches switches;
    switches.noBasicSuite = parser.isSet(noBasicSuite);
    switches.acquireFails = parser.isSet(acquireFails);
    switches.fileReferenceFails = parser.isSet(fileSpecFails);
    switches.noPropertySuite = parser.isSet(noPropertyProcs);
    StandInSuites::setUp(folder.toUtf8(), static_cast<intptr_t>(majorVersion) << 16, switches);
    CallDriver::install(parser.values(act), delay);
    CallDriver::setTiming(parser.isSet(timing), residentBeforeLoading);
    const QByteArray promptText = parser.value(prompt).toLocal8Bit();

    std::signal(SIGALRM, watchdogFired);
    for (int call = 1; call <= callCount; ++call) {
        PickerHost::AboutRecord about = StandInSuites::aboutRecord();
        PickerHost::PickerParameters block = StandInSuites::pickerParameters();
        block.sourceSpace = static_cast<int16_t>(spaceValue);
        block.resultSpace = static_cast<int16_t>(resultSpaceValue);
        std::memcpy(block.components, components, sizeof block.components);
        block.prompt = parser.isSet(prompt) ? promptText.constData() : nullptr;
        void *parameters = selectorValue == PickerHost::SelectorAbout ? static_cast<void *>(&about)
                                                                      : static_cast<void *>(&block);
        intptr_t data = 0;
        int16_t result = -1;

        ::alarm(static_cast<unsigned>(watchdogSeconds));
        CallDriver::callStarting(call);
        entry(static_cast<int16_t>(selectorValue), parameters, &data, &result);
        CallDriver::callReturned();
        ::alarm(0);

        HostOutput::line(QStringLiteral("call %1: result %2, space %3, components %4")
                             .arg(call)
                             .arg(result)
                             .arg(block.resultSpace)
                             .arg(componentsText(block.components)));
        HostOutput::line(QStringLiteral("suites: acquired %1, released %2")
                             .arg(StandInSuites::acquired())
                             .arg(StandInSuites::released()));
    }
    CallDriver::processEnding();
    // The plug-in stays loaded until the process ends, as in the host.
    return CallDriver::actionFailed() ? ActionFailed : Done;
}
