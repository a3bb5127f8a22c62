// Parsing qvcfg's command line: global options, the command and its words.
#include "options.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "params/number_text.h"
#include "platform/console_ui.h"

namespace qvi::qvcfg {

const char *const kUsage =
    "usage: qvcfg [-c DIR] [-i FILE] [--no-hardware] [-q] [--answer yes|no|ok|cancel]\n"
    "             [--time \"YYYY-MM-DD HH:MM:SS\"] COMMAND ...\n"
    "  show CONFIG                     the system window's lines, INDEX<TAB>TEXT\n"
    "  write CONFIG OUT|-              load and write the text configuration\n"
    "  save CONFIG [OUT]               Save (or Save As OUT): text file, then its binary twin\n"
    "  new [OUT]                       a new configuration (detected boards with hardware)\n"
    "  pages CONFIG INDEX [--port P]   the Module Setup pages of element INDEX\n"
    "  set CONFIG INDEX [--port P] ROW=VALUE... -o OUT\n"
    "                                  change rows (ROW: its label or #id; a choice by its label)\n"
    "  add CONFIG INDEX MODULE -o OUT  put a module into the empty slot element INDEX\n"
    "  remove CONFIG INDEX -o OUT      remove the module of element INDEX\n"
    "  cameras [MODULE PORT]           camera database names (all, or those for a module and "
    "port)\n"
    "  convert SRC DST                 run the converter\n"
    "  registers CONFIG INDEX          the register dump of element INDEX (needs hardware)\n"
    "  info CONFIG INDEX               pixel format, bits per pixel, width, height and\n"
    "                                  hardware revision of a board or acquisition module\n"
    "  validate [--werror] FILE...     check configuration texts without hardware:\n"
    "                                  FILE:LINE: error|warning: MESSAGE; exit 1 on errors\n"
    "  diff A B                        differences by element, port and key; exit 0 equal,\n"
    "                                  1 different, 2 trouble\n"
    "  diff A --camera NAME --element INDEX --port P\n"
    "                                  what applying a camera to a port would change\n"
    "--json gives show, pages, cameras, info and diff as one JSON document.\n"
    "Acquisition on the board of element INDEX (a board, its acquisition module or an\n"
    "SXA camera channel; needs hardware):\n"
    "  snap CONFIG INDEX -o OUT.tif    snap and save the frame as TIFF\n"
    "  grab CONFIG INDEX [--frames N] [--uncapped]\n"
    "                                  a live grab: frames shown, per second, CPU per frame\n"
    "  load-image CONFIG INDEX IN.tif  show a TIFF file on the board\n"
    "  pixel CONFIG INDEX X Y [--after snap|load:IN.tif]\n"
    "                                  the pixel at (X, Y) after a snap or a load\n"
    "  trigger CONFIG INDEX --source sw|ext [--timeout SECONDS] [-o OUT.tif]\n"
    "                                  a triggered snap; when the frame came\n"
    "  dio CONFIG INDEX [--output BIT=0|1]... [--watch SECONDS]\n"
    "                                  digital I/O: set outputs, print the input lines\n"
    "  selftest CONFIG [--timeout SECONDS] [-o REPORT]\n"
    "                                  every acquiring board: snap, grab rate, software-\n"
    "                                  triggered snap, digital I/O loop-back; the report is\n"
    "                                  printed and saved (CONFIG's name + .selftest.txt)\n"
    "The library's console lines go to stderr as \"console: TEXT\"; -q hides them.\n"
    "Without --answer a question takes its safe answer: No, or Cancel where offered.\n"
    "Exit status: 0 success, 1 the command failed, 2 bad usage.\n";

namespace {

bool Fail(const std::string &text) {
    std::cerr << "error: " << text << "\n" << kUsage;
    return false;
}

// Takes the word after an option.
bool TakeValue(const std::vector<std::string> &args, std::size_t &i, std::string &value) {
    if (i + 1 >= args.size()) return Fail("missing value after " + args[i]);
    value = args[++i];
    return true;
}

bool ReadSeconds(const std::vector<std::string> &args, std::size_t &i,
                 std::optional<double> &seconds) {
    std::string value;
    if (!TakeValue(args, i, value)) return false;
    char *end = nullptr;
    const double parsed = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || !(parsed >= 0.0 && parsed <= 86400.0))
        return Fail("bad seconds: " + value);
    seconds = parsed;
    return true;
}

bool ReadAcquisitionOption(const std::vector<std::string> &args, std::size_t &i, Options &options) {
    const std::string &arg = args[i];
    std::string value;
    if (arg == "--uncapped") return options.uncapped = true;
    if (arg == "--after") return TakeValue(args, i, options.after);
    if (arg == "--source") return TakeValue(args, i, options.source);
    if (arg == "--timeout") return ReadSeconds(args, i, options.timeout);
    if (arg == "--watch") return ReadSeconds(args, i, options.watch);
    if (arg == "--output") {
        if (!TakeValue(args, i, value)) return false;
        options.outputs.push_back(value);
        return true;
    }
    if (arg == "--frames") {
        if (!TakeValue(args, i, value)) return false;
        auto frames = ParseInteger(value);
        if (!frames || *frames < 1 || *frames > 1000000) return Fail("bad frame count: " + value);
        options.frames = static_cast<int>(*frames);
        return true;
    }
    return Fail("unknown option: " + arg);
}

bool ReadOption(const std::vector<std::string> &args, std::size_t &i, Options &options) {
    const std::string &arg = args[i];
    std::string value;
    if (arg == "-c") return TakeValue(args, i, options.configDir);
    if (arg == "-i") return TakeValue(args, i, options.settingsFile);
    if (arg == "-o") return TakeValue(args, i, options.output);
    if (arg == "--no-hardware") return options.noHardware = true;
    if (arg == "-q") return options.quiet = true;
    if (arg == "--version") return options.version = true;
    if (arg == "--json") return options.json = true;
    if (arg == "--werror") return options.werror = true;
    if (arg == "--camera") return TakeValue(args, i, options.camera);
    if (arg == "--element") {
        if (!TakeValue(args, i, value)) return false;
        auto element = ParseInteger(value);
        if (!element || *element < 0 || *element > 100000)
            return Fail("bad element index: " + value);
        options.element = static_cast<int>(*element);
        return true;
    }
    if (arg == "--answer") {
        if (!TakeValue(args, i, value)) return false;
        options.answer = ParseAnswerWord(value);
        return options.answer ? true : Fail("bad answer: " + value);
    }
    if (arg == "--time") {
        if (!TakeValue(args, i, value)) return false;
        options.time = ParseTime(value);
        return options.time ? true : Fail("bad time: " + value);
    }
    if (arg == "--port") {
        if (!TakeValue(args, i, value)) return false;
        auto port = ParseInteger(value);
        if (!port || *port < 0 || *port > 3) return Fail("bad port: " + value);
        options.port = static_cast<int>(*port);
        return true;
    }
    return ReadAcquisitionOption(args, i, options);
}

}  // namespace

std::optional<std::tm> ParseTime(const std::string &text) {
    std::tm when{};
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day, &hour, &minute,
                    &second, &end) != 6)
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_mday = day;
    when.tm_hour = hour;
    when.tm_min = minute;
    when.tm_sec = second;
    return when;
}

std::optional<Options> ParseOptions(const std::vector<std::string> &args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg.size() > 1 && arg[0] == '-' && arg.find('=') == std::string::npos) {
            if (!ReadOption(args, i, options)) return std::nullopt;
        } else if (options.command.empty()) {
            options.command = arg;
        } else {
            options.words.push_back(arg);
        }
    }
    if (options.command.empty() && !options.version) {
        Fail("no command");
        return std::nullopt;
    }
    return options;
}

}  // namespace qvi::qvcfg
