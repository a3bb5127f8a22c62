// Running the converter on a text configuration and reading its reply and its messages.
#include "app/converter.h"

#include <chrono>
#include <optional>
#include <string>

#include "platform/processes.h"
#include "platform/ui.h"
#include "quar/quar_api.h"

namespace qvi {

namespace {

constexpr const char *kConverter = "mkbcf";
// A converter that has not answered by then is stopped: the program never
// waits for it forever.
constexpr auto kConverterTimeout = std::chrono::seconds(60);

void ReportConverterMessage(std::string said) {
    while (!said.empty() && (said.back() == '\n' || said.back() == '\r')) said.pop_back();
    if (!said.empty()) ReportError(said);
}

}  // namespace

ConverterOutcome RunConverter(Processes &processes, const std::filesystem::path &source,
                              const std::filesystem::path &destination) {
    WaitCursor wait;
    auto converter = processes.FindExecutable(kConverter);
    if (!converter) {
        ReportError(MessageText("QUAR utility: ", kConverter, " not in path"));
        return ConverterOutcome::Missing;
    }
    std::string command =
        std::string(kConverter) + " " + source.string() + " " + destination.string();
    auto reply = processes.StartWithReply(*converter, {source.string(), destination.string()});
    if (!reply) {
        ReportError("WinExec failed for: " + command);
        return ConverterOutcome::NotStarted;
    }
    command = std::string(kConverter) + reply->CommandLine().substr(converter->string().size());
    std::optional<int> result;
    CurrentUi().PumpUntil([&] { return (result = reply->Poll()).has_value(); }, kConverterTimeout);
    if (result && *result == MKBCF_OK) return ConverterOutcome::Converted;
    ReportConverterMessage(reply->ErrorOutput());
    ReportError("Mkbcf failed. cmd = " + command);
    return result == MKBCF_BAD_TEXT ? ConverterOutcome::RefusedText : ConverterOutcome::Failed;
}

}  // namespace qvi
