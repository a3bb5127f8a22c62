// Parsing the program's command line: -c, -i, -n and the configuration file to open.
#include "app/command_line.h"

#include <cctype>
#include <cstdlib>
#include <string_view>

#include "app/app_settings.h"
#include "platform/ui.h"

namespace qvi {

namespace {

// A configuration file name keeps at most this much of its extension, dot
// included, so a closing quote after it falls away.
constexpr std::size_t kExtensionKept = 4;

std::string UpperCase(std::string text) {
    for (char &c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The file path of a file argument: without a leading double quote, its
// extension cut to kExtensionKept characters. `extension` gets that extension.
std::string ConfigFilePath(std::string_view word, std::string &extension) {
    if (!word.empty() && word.front() == '"') word.remove_prefix(1);
    const std::size_t slash = word.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = word.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart) {
        extension.clear();
        return std::string(word);
    }
    extension = std::string(word.substr(dot, kExtensionKept));
    return std::string(word.substr(0, dot)) + extension;
}

class Parser {
public:
    Parser(const std::vector<std::string> &arguments, AppSettings &settings) : settings_(settings) {
        for (const std::string &argument : arguments)
            if (!argument.empty()) words_.push_back(argument);
    }

    CommandLine Run() {
        for (next_ = 0; next_ < words_.size();) {
            const std::string &word = words_[next_++];
            const bool read = word.front() == '-' ? ReadOptions(word) : ReadConfigFile(word);
            if (!read) return result_;
        }
        result_.ok = true;
        return result_;
    }

private:
    bool ReadConfigFile(const std::string &word) {
        std::string extension;
        const std::string path = ConfigFilePath(word, extension);
        const std::string upper = UpperCase(extension);
        if (upper != ".CNF" && upper != ".TXT") {
            ReportError(MessageText("Invalid config file name:", path,
                                    " must have a .txt or .cnf extension"));
            return false;
        }
        result_.configFile = path;
        settings_.currentConfigFile = path;
        return true;
    }

    bool ReadOptions(const std::string &word) {
        if (word.size() == 1) {
            ReportError("Missing option letter");
            return false;
        }
        for (std::size_t at = 1; at < word.size();) {
            if (!ReadOption(word, at)) return false;
        }
        return true;
    }

    // Reads the option letter at `at` and moves `at` past it and its argument.
    bool ReadOption(const std::string &word, std::size_t &at) {
        const char letter = word[at];
        switch (std::tolower(static_cast<unsigned char>(letter))) {
            case 'c':
                return ReadArgument(word, at, "Missing CNF27310 path after -c switch",
                                    [this](const std::string &dir) { SetConfigDir(dir); });
            case 'i':
                return ReadArgument(word, at, "Missing ini filename after -i switch",
                                    [this](const std::string &file) { settings_.iniPath = file; });
            case 'n':
                result_.nFlag = false;
                ++at;
                return true;
            default:
                ReportError(MessageText("Unrecognized option: -", word.substr(at)));
                return false;
        }
    }

    // An option's argument: the rest of the word, else the next word.
    template <typename Store>
    bool ReadArgument(const std::string &word, std::size_t &at, std::string_view missing,
                      Store store) {
        if (at + 1 < word.size()) {
            store(word.substr(at + 1));
            at = word.size();
            return true;
        }
        ++at;
        if (next_ >= words_.size() || words_[next_].front() == '-') {
            ReportError(missing);
            return false;
        }
        store(words_[next_++]);
        return true;
    }

    void SetConfigDir(const std::string &dir) {
        settings_.cnfDir = dir;
        setenv("CNF27310", dir.c_str(), 1);
    }

    AppSettings &settings_;
    std::vector<std::string> words_;
    std::size_t next_ = 0;
    CommandLine result_;
};

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string> &arguments, AppSettings &settings) {
    return Parser(arguments, settings).Run();
}

}  // namespace qvi
