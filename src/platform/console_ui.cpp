// The command-line front end's Ui: one line per message on the error stream.
#include "platform/console_ui.h"

#include <iostream>

namespace qvi {

ConsoleUi::ConsoleUi() : out_(std::cerr) {}

ConsoleUi::ConsoleUi(std::ostream &out, std::optional<MessageAnswer> presetAnswer)
    : out_(out), presetAnswer_(presetAnswer) {}

std::string ConsoleUi::OneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (char c : text) {
        if (c == '\n')
            line += "\\n";
        else if (c != '\r')
            line += c;
    }
    return line;
}

void ConsoleUi::ShowMessage(MessageKind kind, std::string_view text) {
    const char *prefix = kind == MessageKind::Error     ? "error: "
                         : kind == MessageKind::Warning ? "warning: "
                                                        : "info: ";
    out_ << prefix << OneLine(text) << '\n' << std::flush;
}

MessageAnswer ConsoleUi::Ask(std::string_view text, MessageButtons buttons, MessageKind,
                             std::string_view) {
    MessageAnswer answer = presetAnswer_ && ButtonsOffer(buttons, *presetAnswer_)
                               ? *presetAnswer_
                               : SafeAnswer(buttons);
    out_ << "question: " << OneLine(text) << " -> " << AnswerWord(answer) << '\n' << std::flush;
    return answer;
}

std::optional<std::filesystem::path> ConsoleUi::OpenFileDialog(std::string_view,
                                                               const std::vector<FileFilter> &,
                                                               const std::filesystem::path &) {
    return std::nullopt;
}

std::optional<std::filesystem::path> ConsoleUi::SaveFileDialog(std::string_view,
                                                               const std::vector<FileFilter> &,
                                                               const std::filesystem::path &) {
    return std::nullopt;
}

bool ConsoleUi::PumpUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout) {
    return PollUntil(done, timeout);
}

bool ButtonsOffer(MessageButtons buttons, MessageAnswer answer) {
    switch (buttons) {
        case MessageButtons::Ok:
            return answer == MessageAnswer::Ok;
        case MessageButtons::OkCancel:
            return answer == MessageAnswer::Ok || answer == MessageAnswer::Cancel;
        case MessageButtons::YesNo:
            return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
        case MessageButtons::YesNoCancel:
            return answer != MessageAnswer::Ok;
    }
    return false;
}

MessageAnswer SafeAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::OkCancel:
        case MessageButtons::YesNoCancel:
            return MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
}

const char *AnswerWord(MessageAnswer answer) {
    switch (answer) {
        case MessageAnswer::Ok:
            return "ok";
        case MessageAnswer::Cancel:
            return "cancel";
        case MessageAnswer::Yes:
            return "yes";
        case MessageAnswer::No:
            return "no";
    }
    return "cancel";
}

std::optional<MessageAnswer> ParseAnswerWord(std::string_view word) {
    for (MessageAnswer answer :
         {MessageAnswer::Ok, MessageAnswer::Cancel, MessageAnswer::Yes, MessageAnswer::No}) {
        if (word == AnswerWord(answer)) return answer;
    }
    return std::nullopt;
}

}  // namespace qvi
