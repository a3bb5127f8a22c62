#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace qvi {

enum class MessageKind { Error, Warning, Information };

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

enum class MessageAnswer { Ok, Cancel, Yes, No };

// One entry of a file dialog's type list, e.g. {"ASCII Cfg Files", "*.txt"}.
struct FileFilter {
    std::string description;
    std::string pattern;
};

// Everything the program logic asks of the person at the screen. The desktop
// application shows real message boxes and dialogs, the command-line front end
// prints one line per message and answers questions from its options, and the
// tests record what was shown.
class Ui {
public:
    virtual ~Ui() = default;

    // Errors carry the stop icon and no caption; warnings the caption "Warning".
    virtual void ShowMessage(MessageKind kind, std::string_view text) = 0;
    virtual MessageAnswer Ask(std::string_view text, MessageButtons buttons, MessageKind icon,
                              std::string_view caption) = 0;

    virtual std::optional<std::filesystem::path> OpenFileDialog(
        std::string_view title, const std::vector<FileFilter> &filters,
        const std::filesystem::path &initialDir) = 0;
    virtual std::optional<std::filesystem::path> SaveFileDialog(
        std::string_view title, const std::vector<FileFilter> &filters,
        const std::filesystem::path &initialPath) = 0;

    // Nested calls are counted; the cursor returns when the outermost ends.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // Keeps the user interface alive until done() holds or the timeout passes;
    // returns whether done() held.
    virtual bool PumpUntil(const std::function<bool()> &done,
                           std::chrono::milliseconds timeout) = 0;
};

// Calls done() every few milliseconds until it holds or the timeout passes.
bool PollUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout);

// The Ui that the shared message routine and every operation below use.
// Without an installed one, messages go to a console Ui on stderr.
Ui &CurrentUi();
void InstallUi(Ui *ui);

// Installs a Ui for the lifetime of this object, then puts the previous back.
class ScopedUi {
public:
    explicit ScopedUi(Ui &ui);
    ~ScopedUi();
    ScopedUi(const ScopedUi &) = delete;
    ScopedUi &operator=(const ScopedUi &) = delete;

private:
    Ui *previous_;
};

// Shows the wait cursor for the lifetime of this object.
class WaitCursor {
public:
    WaitCursor() { CurrentUi().BeginWaitCursor(); }
    ~WaitCursor() { CurrentUi().EndWaitCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// The shared message routine: a message is assembled in a string stream and
// shown at once in a modal box.
void ReportError(std::string_view text);
void ReportError(const std::ostringstream &text);
void ReportWarning(std::string_view text);
void ReportWarning(const std::ostringstream &text);
void ReportInformation(std::string_view text);

// Builds a message from pieces the way the program's streams do:
// MessageText("invalid port: ", port, " passed to ...").
template <typename... Pieces>
std::string MessageText(const Pieces &...pieces) {
    std::ostringstream text;
    (text << ... << pieces);
    return text.str();
}

}  // namespace qvi
