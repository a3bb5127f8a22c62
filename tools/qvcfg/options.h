#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace qvi::qvcfg {

// The command line of qvcfg: global options, the command and its words.
struct Options {
    std::string configDir;     // -c
    std::string settingsFile;  // -i
    bool noHardware = false;
    bool quiet = false;  // -q: the library's console lines are not shown
    std::optional<MessageAnswer> answer;
    std::optional<std::tm> time;
    bool version = false;
    std::string command;
    std::vector<std::string> words;  // the command's own words, options removed
    std::optional<int> port;         // --port P
    std::string output;              // -o OUT
    // The acquisition commands' options.
    std::optional<int> frames;         // --frames N
    bool uncapped = false;             // --uncapped
    std::string after;                 // --after snap|load:FILE
    std::string source;                // --source sw|ext
    std::optional<double> timeout;     // --timeout SECONDS
    std::vector<std::string> outputs;  // --output BIT=0|1, in order
    std::optional<double> watch;       // --watch SECONDS
    // Output and checking options.
    bool json = false;           // --json: one JSON document on stdout
    bool werror = false;         // --werror: validate fails on warnings too
    std::string camera;          // --camera NAME (diff)
    std::optional<int> element;  // --element INDEX (diff)
};

// Parses argv after the program name; nullopt after a usage message on stderr.
std::optional<Options> ParseOptions(const std::vector<std::string> &args);

// "YYYY-MM-DD HH:MM:SS".
std::optional<std::tm> ParseTime(const std::string &text);

extern const char *const kUsage;

}  // namespace qvi::qvcfg
