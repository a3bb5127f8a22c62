// Starting processes with posix_spawn, a pipe as the reply channel, waitpid.
#include "platform/posix/posix_processes.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <sstream>

#include "platform/posix/dl_library_loader.h"
#include "platform/program_files.h"

extern char **environ;

namespace qvi {

namespace {

bool IsExecutable(const std::filesystem::path &path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

std::vector<char *> Argv(const std::filesystem::path &program, std::vector<std::string> &args) {
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (std::string &arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    return argv;
}

std::string Quoted(const std::filesystem::path &program, const std::vector<std::string> &args) {
    std::string line = program.string();
    for (const std::string &arg : args) line += " " + arg;
    return line;
}

// The converter's answer: decimal text on the pipe, then the end of the pipe.
class PipeReply : public Processes::ReplyChannel {
public:
    PipeReply(pid_t child, int readEnd, int errorEnd, std::string commandLine)
        : child_(child),
          readEnd_(readEnd),
          errorEnd_(errorEnd),
          commandLine_(std::move(commandLine)) {}
    // A converter still running when its answer is no longer awaited (it took
    // too long) is stopped, so that the program does not wait for it.
    ~PipeReply() override {
        if (readEnd_ >= 0) ::close(readEnd_);
        if (errorEnd_ >= 0) ::close(errorEnd_);
        if (child_ <= 0) return;
        if (::waitpid(child_, nullptr, WNOHANG) == 0) {
            ::kill(child_, SIGKILL);
            ::waitpid(child_, nullptr, 0);
        }
    }

    std::optional<int> Poll() override {
        if (result_) return result_;
        DrainErrorOutput();
        char buffer[64];
        ssize_t got = ::read(readEnd_, buffer, sizeof buffer);
        if (got > 0) {
            text_.append(buffer, static_cast<std::size_t>(got));
            if (text_.find('\n') == std::string::npos) return std::nullopt;
        } else if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
            return std::nullopt;
        }
        result_ = Finish();
        return result_;
    }
    const std::string &CommandLine() const override { return commandLine_; }
    std::string ErrorOutput() const override { return errors_; }

private:
    // Read as it comes, so a talkative program never blocks on a full pipe;
    // kept up to a size that any message of its fits in.
    void DrainErrorOutput() {
        constexpr std::size_t kKept = 64 * 1024;
        char buffer[4096];
        for (ssize_t got; (got = ::read(errorEnd_, buffer, sizeof buffer)) > 0;)
            if (errors_.size() < kKept) errors_.append(buffer, static_cast<std::size_t>(got));
    }

    // The code the program sent, else its exit status.
    int Finish() {
        int status = 0;
        pid_t ended = ::waitpid(child_, &status, 0);
        child_ = -1;
        // The program has ended: what it still wrote is in the pipe.
        ::fcntl(errorEnd_, F_SETFL, 0);
        DrainErrorOutput();
        int code = 0;
        auto [end, ec] = std::from_chars(text_.data(), text_.data() + text_.size(), code);
        if (ec == std::errc() && end != text_.data()) return code;
        if (ended > 0 && WIFEXITED(status)) return WEXITSTATUS(status);
        return -1;
    }

    pid_t child_;
    int readEnd_;
    int errorEnd_;
    std::string commandLine_;
    std::string errors_;
    std::string text_;
    std::optional<int> result_;
};

}  // namespace

std::optional<std::filesystem::path> PosixProcesses::FindExecutable(const std::string &name) {
    if (name.find('/') != std::string::npos)
        return IsExecutable(name) ? std::optional<std::filesystem::path>(name) : std::nullopt;
    std::filesystem::path beside = RunningProgramPath().parent_path() / name;
    if (IsExecutable(beside)) return beside;
    const char *path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        if (dir.empty()) continue;
        std::filesystem::path candidate = std::filesystem::path(dir) / name;
        if (IsExecutable(candidate)) return candidate;
    }
    return std::nullopt;
}

std::unique_ptr<Processes::ReplyChannel> PosixProcesses::StartWithReply(
    const std::filesystem::path &program, const std::vector<std::string> &args) {
    int ends[2];
    int errors[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return nullptr;
    if (::pipe2(errors, O_CLOEXEC) != 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return nullptr;
    }
    // The child keeps the write end: a copy without close-on-exec.
    int replyEnd = ::fcntl(ends[1], F_DUPFD, 3);
    std::vector<std::string> all = args;
    all.push_back(std::to_string(replyEnd));
    std::vector<char *> argv = Argv(program, all);
    // The program's error output comes back to be reported as the program's
    // own messages are.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
    pid_t child = -1;
    int started = ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(replyEnd);
    ::close(ends[1]);
    ::close(errors[1]);
    if (started != 0) {
        ::close(ends[0]);
        ::close(errors[0]);
        return nullptr;
    }
    ::fcntl(ends[0], F_SETFL, O_NONBLOCK);
    ::fcntl(errors[0], F_SETFL, O_NONBLOCK);
    return std::make_unique<PipeReply>(child, ends[0], errors[0], Quoted(program, all));
}

bool PosixProcesses::StartDetached(const std::filesystem::path &program,
                                   const std::vector<std::string> &args) {
    std::vector<std::string> copy = args;
    std::vector<char *> argv = Argv(program, copy);
    // A middle process starts the program and ends at once, so the program
    // belongs to init and leaves no zombie behind.
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return false;
    pid_t middle = ::fork();
    if (middle < 0) return false;
    if (middle == 0) {
        ::setsid();
        pid_t child = -1;
        char started =
            ::posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) == 0;
        [[maybe_unused]] ssize_t ignored = ::write(ends[1], &started, 1);
        ::_exit(0);
    }
    ::close(ends[1]);
    char started = 0;
    bool answered = ::read(ends[0], &started, 1) == 1;
    ::close(ends[0]);
    ::waitpid(middle, nullptr, 0);
    return answered && started;
}

}  // namespace qvi
