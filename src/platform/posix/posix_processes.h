#pragma once

#include "platform/processes.h"

namespace qvi {

// Processes on POSIX: posix_spawn, a pipe as the reply channel (its write
// end's descriptor number is the reply argument), waitpid.
class PosixProcesses : public Processes {
public:
    std::optional<std::filesystem::path> FindExecutable(const std::string &name) override;
    std::unique_ptr<ReplyChannel> StartWithReply(const std::filesystem::path &program,
                                                 const std::vector<std::string> &args) override;
    bool StartDetached(const std::filesystem::path &program,
                       const std::vector<std::string> &args) override;
};

}  // namespace qvi
