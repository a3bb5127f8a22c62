#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace qvi {

// A Ui for tests: records every message and question, answers questions and
// file dialogs from queues the test fills, and counts the wait cursor.
class RecordingUi : public Ui {
public:
    struct Message {
        MessageKind kind;
        std::string text;
    };
    struct Question {
        std::string text;
        MessageButtons buttons;
        MessageKind icon;
        std::string caption;
    };

    void ShowMessage(MessageKind kind, std::string_view text) override;
    MessageAnswer Ask(std::string_view text, MessageButtons buttons, MessageKind icon,
                      std::string_view caption) override;
    std::optional<std::filesystem::path> OpenFileDialog(
        std::string_view title, const std::vector<FileFilter> &filters,
        const std::filesystem::path &initialDir) override;
    std::optional<std::filesystem::path> SaveFileDialog(
        std::string_view title, const std::vector<FileFilter> &filters,
        const std::filesystem::path &initialPath) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    bool PumpUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout) override;

    // The texts of all messages so far, in order.
    std::vector<std::string> Texts() const;
    // The texts of the error messages only.
    std::vector<std::string> Errors() const;
    void Clear();

    std::vector<Message> messages;
    std::vector<Question> questions;
    std::deque<MessageAnswer> answers;  // taken front first; empty: the safe answer
    std::deque<std::optional<std::filesystem::path>> fileChoices;  // empty: cancelled
    std::vector<std::string> fileDialogTitles;
    int waitCursorDepth = 0;
    int waitCursorShown = 0;  // how often the cursor was turned on from rest
};

}  // namespace qvi
