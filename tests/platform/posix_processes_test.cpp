// Starting outside programs: the search path, the reply channel, detached starts.
#include "platform/posix/posix_processes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace qvi {
namespace {

using Clock = std::chrono::steady_clock;

// Polls until the reply comes or a few seconds pass.
std::optional<int> Await(Processes::ReplyChannel &reply) {
    const auto until = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < until) {
        if (auto code = reply.Poll()) return code;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return std::nullopt;
}

TEST(PosixProcessesTest, TheReplyIsTheCodeWrittenOnTheChannelElseTheExitStatus) {
    PosixProcesses processes;
    // The channel's descriptor comes last, which the shell sees as $0.
    auto written = processes.StartWithReply("/bin/sh", {"-c", "echo 7 >&$0; exit 3"});
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(Await(*written), 7);

    auto silent = processes.StartWithReply("/bin/sh", {"-c", "exit 3"});
    ASSERT_NE(silent, nullptr);
    EXPECT_EQ(Await(*silent), 3);

    EXPECT_EQ(processes.StartWithReply("/nonexistent/mkbcf", {}), nullptr);
}

TEST(PosixProcessesTest, AReplyGivenUpOnStopsItsProgram) {
    PosixProcesses processes;
    auto reply = processes.StartWithReply("/bin/sleep", {"30"});
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(reply->Poll(), std::nullopt);
    const auto start = Clock::now();
    reply.reset();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace qvi
