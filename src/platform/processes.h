#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qvi {

// Outside programs the program starts: the converter (which answers through
// a reply channel), the desktop's text viewer, the register viewer.
class Processes {
public:
    virtual ~Processes() = default;

    // The program found beside the running executable first, then on PATH.
    virtual std::optional<std::filesystem::path> FindExecutable(const std::string &name) = 0;

    // A started program whose answer comes back through a reply channel: its
    // number is passed as the last argument.
    class ReplyChannel {
    public:
        virtual ~ReplyChannel() = default;
        // The result code once the program has answered (or ended without an
        // answer: its exit status, or -1); nullopt while it is still running.
        virtual std::optional<int> Poll() = 0;
        virtual const std::string &CommandLine() const = 0;
        // What the program wrote to its error output (its own message on
        // failure), once it has answered; empty when it wrote nothing.
        virtual std::string ErrorOutput() const { return {}; }
    };
    // Null when the program does not start.
    virtual std::unique_ptr<ReplyChannel> StartWithReply(const std::filesystem::path &program,
                                                         const std::vector<std::string> &args) = 0;

    // Starts a program and does not wait for it; false when it does not start.
    virtual bool StartDetached(const std::filesystem::path &program,
                               const std::vector<std::string> &args) = 0;
};

}  // namespace qvi
