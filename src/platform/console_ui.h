#pragma once

#include <iosfwd>
#include <optional>

#include "platform/ui.h"

namespace qvi {

// The command-line front end's Ui: one line per message on an error stream
// ("error: TEXT", "warning: TEXT", "info: TEXT", "question: TEXT -> ANSWER"),
// line breaks inside TEXT written as "\n". A question takes the preset answer
// when its buttons offer it, otherwise the safe one: No, or Cancel where offered.
class ConsoleUi : public Ui {
public:
    ConsoleUi();
    explicit ConsoleUi(std::ostream &out, std::optional<MessageAnswer> presetAnswer = {});

    void ShowMessage(MessageKind kind, std::string_view text) override;
    MessageAnswer Ask(std::string_view text, MessageButtons buttons, MessageKind icon,
                      std::string_view caption) override;
    std::optional<std::filesystem::path> OpenFileDialog(
        std::string_view title, const std::vector<FileFilter> &filters,
        const std::filesystem::path &initialDir) override;
    std::optional<std::filesystem::path> SaveFileDialog(
        std::string_view title, const std::vector<FileFilter> &filters,
        const std::filesystem::path &initialPath) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    bool PumpUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout) override;

    // The line written for a message text: line breaks become the two characters "\n".
    static std::string OneLine(std::string_view text);

private:
    std::ostream &out_;
    std::optional<MessageAnswer> presetAnswer_;
};

bool ButtonsOffer(MessageButtons buttons, MessageAnswer answer);
MessageAnswer SafeAnswer(MessageButtons buttons);
const char *AnswerWord(MessageAnswer answer);
std::optional<MessageAnswer> ParseAnswerWord(std::string_view word);

}  // namespace qvi
