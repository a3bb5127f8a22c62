// Runs the built converter as a child process, with its reply channel on a pipe.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "config/binary_format.h"
#include "config/text_parser.h"
#include "quar/quar_api.h"
#include "support/core_scratch_dir.h"

namespace quar {
namespace {

namespace fs = std::filesystem;

// Stands for the reply pipe's descriptor number in an argument list.
constexpr const char *kReplyPipe = "<reply pipe>";

// Uses only sections every key-table data set has, so that it converts with the real one.
constexpr std::string_view kGood = "# written by a test\n \n[SYSTEM:0]\r\n[SYSTEM:2]\r\n";

constexpr auto ReadAll = &qvi::testing::ScratchDir::Read;

struct Outcome {
    int status = -1;
    std::string reply;
    std::string out;
    std::string err;
};

class MkbcfTest : public ::testing::Test {
protected:
    MkbcfTest() { fs::create_directory(work); }

    fs::path Write(const std::string &name, std::string_view content) {
        return root_.Write("work/" + name, std::string(content));
    }

    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(work))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    Outcome Run(std::vector<std::string> args) {
        int reply[2] = {-1, -1};
        EXPECT_EQ(pipe(reply), 0);
        for (std::string &arg : args)
            if (arg == kReplyPipe) arg = std::to_string(reply[1]);
        const fs::path outPath = root_.Path() / "stdout", errPath = root_.Path() / "stderr";
        const pid_t child = fork();
        if (child == 0) {
            const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(out, 1);
            dup2(err, 2);
            close(reply[0]);
            std::vector<char *> argv{const_cast<char *>(MKBCF_PATH)};
            for (std::string &arg : args) argv.push_back(arg.data());
            argv.push_back(nullptr);
            execv(MKBCF_PATH, argv.data());
            _exit(127);
        }
        close(reply[1]);
        Outcome outcome;
        char buffer[256];
        for (ssize_t n; (n = read(reply[0], buffer, sizeof buffer)) > 0;)
            outcome.reply.append(buffer, static_cast<std::size_t>(n));
        close(reply[0]);
        int status = 0;
        EXPECT_EQ(waitpid(child, &status, 0), child);
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        outcome.out = ReadAll(outPath);
        outcome.err = ReadAll(errPath);
        return outcome;
    }

private:
    qvi::testing::ScratchDir root_;

protected:
    const fs::path work = root_.Path() / "work";
};

TEST_F(MkbcfTest, PrintsItsVersion) {
    const Outcome run = Run({"--version"});
    EXPECT_EQ(run.status, MKBCF_OK);
    EXPECT_EQ(run.out, std::string("mkbcf ") + MKBCF_EXPECTED_VERSION + "\n");
}

TEST_F(MkbcfTest, ConvertsAndRepliesOnThePipe) {
    const fs::path src = Write("sample.txt", kGood);
    const fs::path dst = Write("sample.cnf", "an older file");
    const Outcome run = Run({src.string(), dst.string(), kReplyPipe});
    EXPECT_EQ(run.status, MKBCF_OK) << run.err;
    EXPECT_EQ(run.reply, "0\n");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"sample.cnf", "sample.txt"}));

    const std::string binary = ReadAll(dst);
    std::string error;
    const auto decoded = DecodeConfiguration(
        std::span(reinterpret_cast<const std::uint8_t *>(binary.data()), binary.size()), error);
    ASSERT_TRUE(decoded) << error;
    ConfigError parseError;
    EXPECT_EQ(*decoded, *ParseConfigText(kGood, src.string(), parseError));
}

// Every refusal: its result code on the pipe and as the exit status, the
// message naming the file (and for bad text the line) and why, and no file
// touched or left behind: bad text leaves the destination as it was. The
// converter never destroys a file: not its own source under another name, not
// a read-only file, not a device. A source that is not a regular file is
// refused before it is opened: a FIFO would block, an endless device exhaust
// memory. Nothing is converted without its reply channel.
TEST_F(MkbcfTest, RefusalsReplyWithTheirCodeAndLeaveEveryFile) {
    const std::string src = Write("good.txt", kGood).string();
    const std::string dst = (work / "x.cnf").string();
    const std::string bad = Write("bad.txt", "[SYSTEM:0]\n[SYSTEM:1]\n      [SYSTEM:1]\n").string();
    const std::string kept = Write("kept.cnf", "keep me").string();
    const std::string readOnly = Write("read-only.cnf", "old").string();
    fs::permissions(readOnly, fs::perms::owner_read);
    fs::create_symlink("good.txt", work / "alias.cnf");
    fs::create_directory(work / "taken.cnf");
    const std::string fifo = (work / "fifo.txt").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string none = (work / "none.txt").string(), noDir = (work / "no" / "x.cnf").string();
    const std::string taken = (work / "taken.cnf").string(), alias = (work / "alias.cnf").string();
    const std::string dotted = (work / "." / "good.txt").string();
    const struct {
        std::vector<std::string> args;
        int status;
        std::string reply;
        std::string message;
    } cases[] = {
        {{bad, kept, kReplyPipe},
         MKBCF_BAD_TEXT,
         "3\n",
         bad + ":3: duplicate system: [SYSTEM:1]\n"},
        {{bad, dst, kReplyPipe}, MKBCF_BAD_TEXT, "3\n", bad + ":3: "},
        {{none, dst, kReplyPipe}, MKBCF_CANNOT_READ, "2\n", "mkbcf: cannot read " + none + ": "},
        {{"/dev/zero", dst, kReplyPipe}, MKBCF_CANNOT_READ, "2\n", "/dev/zero: not a regular"},
        {{fifo, dst, kReplyPipe}, MKBCF_CANNOT_READ, "2\n", fifo + ": not a regular file"},
        {{src, noDir, kReplyPipe}, MKBCF_CANNOT_WRITE, "4\n", "mkbcf: cannot write " + noDir},
        {{src, taken, kReplyPipe}, MKBCF_CANNOT_WRITE, "4\n", taken + ": not a regular file"},
        {{src, "/dev/null", kReplyPipe}, MKBCF_CANNOT_WRITE, "4\n", "/dev/null: not a regular"},
        {{src, src, kReplyPipe}, MKBCF_CANNOT_WRITE, "4\n", "it is the source file"},
        {{src, dotted, kReplyPipe}, MKBCF_CANNOT_WRITE, "4\n", "it is the source file"},
        {{src, alias, kReplyPipe}, MKBCF_CANNOT_WRITE, "4\n", "it is the source file"},
        {{src, readOnly, kReplyPipe}, MKBCF_CANNOT_WRITE, "4\n", "the file is read-only"},
        {{}, MKBCF_USAGE, "", "usage: mkbcf SRC DST REPLY"},
        {{src, dst}, MKBCF_USAGE, "", "usage: "},
        {{src, dst, "three"}, MKBCF_USAGE, "", "usage: "},
        {{"--version", "extra"}, MKBCF_USAGE, "", "usage: "},
        {{src, dst, "987"}, MKBCF_BAD_REPLY_CHANNEL, "", "mkbcf: reply channel 987 is not open"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        const Outcome run = Run(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.reply, c.reply);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadAll(src), kGood);
    EXPECT_EQ(ReadAll(readOnly), "old");
    EXPECT_EQ(ReadAll(kept), "keep me");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"alias.cnf", "bad.txt", "fifo.txt", "good.txt",
                                                   "kept.cnf", "read-only.cnf", "taken.cnf"}))
        << "no temporary file is left behind";
}

// Links are written through to their target; with no reply channel the
// result is the exit status alone.
TEST_F(MkbcfTest, WritesThroughLinksAndRunsWithoutAReplyChannel) {
    const fs::path src = Write("good.txt", kGood);
    fs::create_directory(work / "real");
    fs::create_symlink("real/target.cnf", work / "link.cnf");
    EXPECT_EQ(Run({src.string(), (work / "link.cnf").string(), kReplyPipe}).status, MKBCF_OK);
    EXPECT_TRUE(fs::is_symlink(work / "link.cnf"));
    EXPECT_TRUE(fs::is_regular_file(work / "real" / "target.cnf"));

    const std::string dst = (work / "good.cnf").string();
    const Outcome silent = Run({src.string(), dst, "-1"});
    EXPECT_EQ(silent.status, MKBCF_OK);
    EXPECT_EQ(silent.reply, "");
    EXPECT_TRUE(fs::exists(dst));
}

}  // namespace
}  // namespace quar
