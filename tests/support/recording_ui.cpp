// A Ui for tests that records messages and answers questions from queues.
#include "support/recording_ui.h"

#include "platform/console_ui.h"

namespace qvi {

void RecordingUi::ShowMessage(MessageKind kind, std::string_view text) {
    messages.push_back({kind, std::string(text)});
}

MessageAnswer RecordingUi::Ask(std::string_view text, MessageButtons buttons, MessageKind icon,
                               std::string_view caption) {
    questions.push_back({std::string(text), buttons, icon, std::string(caption)});
    if (answers.empty()) return SafeAnswer(buttons);
    MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::filesystem::path> RecordingUi::OpenFileDialog(std::string_view title,
                                                                 const std::vector<FileFilter> &,
                                                                 const std::filesystem::path &) {
    fileDialogTitles.emplace_back(title);
    if (fileChoices.empty()) return std::nullopt;
    auto choice = fileChoices.front();
    fileChoices.pop_front();
    return choice;
}

std::optional<std::filesystem::path> RecordingUi::SaveFileDialog(
    std::string_view title, const std::vector<FileFilter> &filters,
    const std::filesystem::path &initialPath) {
    return OpenFileDialog(title, filters, initialPath);
}

void RecordingUi::BeginWaitCursor() {
    if (waitCursorDepth++ == 0) ++waitCursorShown;
}

void RecordingUi::EndWaitCursor() {
    if (waitCursorDepth > 0) --waitCursorDepth;
}

bool RecordingUi::PumpUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout) {
    return PollUntil(done, timeout);
}

std::vector<std::string> RecordingUi::Texts() const {
    std::vector<std::string> texts;
    for (const auto &message : messages) texts.push_back(message.text);
    return texts;
}

std::vector<std::string> RecordingUi::Errors() const {
    std::vector<std::string> texts;
    for (const auto &message : messages)
        if (message.kind == MessageKind::Error) texts.push_back(message.text);
    return texts;
}

void RecordingUi::Clear() {
    messages.clear();
    questions.clear();
}

}  // namespace qvi
