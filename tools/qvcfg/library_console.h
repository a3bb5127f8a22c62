#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace qvi::qvcfg {

// Where the imaging library's console text goes. Stdout carries only the
// command's result, so the load messages and the like go to stderr, each line
// prefixed "console: ", or nowhere with -q; a register dump that is the
// command's result goes to stdout as it is. The library hands over any piece
// of text: several lines, or part of one; each line is written once, whole.
class LibraryConsole {
public:
    enum class Target { Messages, Hidden, Result };

    LibraryConsole(std::ostream &result, std::ostream &messages, Target target);
    ~LibraryConsole();
    LibraryConsole(const LibraryConsole &) = delete;
    LibraryConsole &operator=(const LibraryConsole &) = delete;

    // The text from here on goes to `target`; a line begun before goes where
    // its start went.
    void SetTarget(Target target);
    Target GetTarget() const { return target_; }

    void Write(std::string_view text);
    // Ends a line left open with a line end.
    void Flush();
    // Whether anything went to the result since the target became Result.
    bool ResultWritten() const { return resultWritten_; }

    // The library's console sink; `user` is the LibraryConsole.
    static void Sink(const char *text, void *user);

private:
    void WriteLine(std::string_view line);

    std::ostream &result_;
    std::ostream &messages_;
    Target target_;
    std::string pending_;
    bool resultWritten_ = false;
};

}  // namespace qvi::qvcfg
