// Sends the library's console text to stderr, each line prefixed "console: ".
#include "library_console.h"

namespace qvi::qvcfg {

namespace {

constexpr std::string_view kPrefix = "console: ";

}  // namespace

LibraryConsole::LibraryConsole(std::ostream &result, std::ostream &messages, Target target)
    : result_(result), messages_(messages), target_(target) {}

LibraryConsole::~LibraryConsole() {
    Flush();
}

void LibraryConsole::SetTarget(Target target) {
    Flush();
    target_ = target;
    resultWritten_ = false;
}

void LibraryConsole::Write(std::string_view text) {
    std::size_t end;
    while ((end = text.find('\n')) != std::string_view::npos) {
        pending_.append(text.substr(0, end + 1));
        WriteLine(pending_);
        pending_.clear();
        text.remove_prefix(end + 1);
    }
    pending_.append(text);
}

void LibraryConsole::Flush() {
    if (pending_.empty()) return;
    pending_.push_back('\n');
    WriteLine(pending_);
    pending_.clear();
}

void LibraryConsole::Sink(const char *text, void *user) {
    if (text != nullptr && user != nullptr) static_cast<LibraryConsole *>(user)->Write(text);
}

// A message line is written in one piece and flushed at once, so it keeps
// its place among the program's own messages.
void LibraryConsole::WriteLine(std::string_view line) {
    switch (target_) {
        case Target::Hidden:
            return;
        case Target::Result:
            result_ << line;
            resultWritten_ = true;
            return;
        case Target::Messages: {
            std::string prefixed(kPrefix);
            prefixed.append(line);
            messages_ << prefixed << std::flush;
            return;
        }
    }
}

}  // namespace qvi::qvcfg
