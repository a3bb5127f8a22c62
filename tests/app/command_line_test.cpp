// The command line's grammar and its messages.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "app/app_settings.h"
#include "support/test_env.h"

namespace qvi {
namespace {

class CommandLineTest : public testing::UiTest {
protected:
    CommandLineTest() {
        if (const char *dir = std::getenv("CNF27310")) savedDir_ = dir;
    }
    ~CommandLineTest() override {
        savedDir_ ? setenv("CNF27310", savedDir_->c_str(), 1) : unsetenv("CNF27310");
    }

    CommandLine Parse(const std::vector<std::string> &arguments) {
        return ParseCommandLine(arguments, settings);
    }
    // Parses a command line that must fail and returns its one message.
    std::string Failure(const std::vector<std::string> &arguments) {
        ui.Clear();
        EXPECT_FALSE(Parse(arguments).ok);
        EXPECT_EQ(ui.Errors().size(), 1u);
        return ui.Errors().empty() ? std::string() : ui.Errors().front();
    }

    AppSettings settings;

private:
    std::optional<std::string> savedDir_;
};

TEST_F(CommandLineTest, ConfigFileNeedsTxtOrCnfInAnyCase) {
    for (const std::string name : {"/d/a.txt", "/d/b.CNF", "/d/c.Txt", "d.cNf"}) {
        const CommandLine line = Parse({name});
        EXPECT_TRUE(line.ok) << name;
        EXPECT_EQ(line.configFile, name);
        EXPECT_EQ(settings.currentConfigFile, name);
    }
    // The quotes of a quoted name fall away; the extension keeps four characters.
    EXPECT_EQ(Parse({"\"/d/q.cnf\""}).configFile, "/d/q.cnf");
    EXPECT_EQ(Parse({"/d/long.cnfx"}).configFile, "/d/long.cnf");
    EXPECT_TRUE(ui.messages.empty());

    settings.currentConfigFile.clear();
    EXPECT_EQ(Failure({"/d.cnf/plain"}),
              "Invalid config file name:/d.cnf/plain must have a .txt or .cnf extension");
    EXPECT_EQ(Failure({"a.tx\""}),
              "Invalid config file name:a.tx\" must have a .txt or .cnf extension");
    EXPECT_EQ(settings.currentConfigFile, "");
}

TEST_F(CommandLineTest, OptionArgumentsComeFromTheWordOrTheNextWord) {
    setenv("CNF27310", "/from/env", 1);
    CommandLine line = Parse({"-c", "/next/word"});
    EXPECT_TRUE(line.ok);
    EXPECT_EQ(settings.cnfDir, "/next/word");
    EXPECT_STREQ(std::getenv("CNF27310"), "/next/word");

    EXPECT_TRUE(Parse({"-C/same/word", "-I/s.ini"}).ok);
    EXPECT_EQ(settings.cnfDir, "/same/word");
    EXPECT_STREQ(std::getenv("CNF27310"), "/same/word");
    EXPECT_EQ(settings.iniPath, "/s.ini");

    // n then c: the flag is cleared and the directory is the next word.
    line = Parse({"-nc", "/after/n", "cfg.txt"});
    EXPECT_TRUE(line.ok);
    EXPECT_FALSE(line.nFlag);
    EXPECT_EQ(settings.cnfDir, "/after/n");
    EXPECT_EQ(line.configFile, "cfg.txt");

    // Letters after c in the same word are its directory, not options.
    line = Parse({"-cn"});
    EXPECT_EQ(settings.cnfDir, "n");
    EXPECT_TRUE(line.nFlag);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CommandLineTest, BadOptionsReportOnceAndStopReading) {
    EXPECT_EQ(Failure({"-x"}), "Unrecognized option: -x");
    EXPECT_EQ(Failure({"-nxyz", "a.cnf"}), "Unrecognized option: -xyz");
    EXPECT_EQ(settings.currentConfigFile, "");
    EXPECT_EQ(Failure({"-"}), "Missing option letter");
    EXPECT_EQ(Failure({"-c"}), "Missing CNF27310 path after -c switch");
    EXPECT_EQ(Failure({"-c", "-i", "x.ini"}), "Missing CNF27310 path after -c switch");
    EXPECT_EQ(Failure({"-i"}), "Missing ini filename after -i switch");
    EXPECT_EQ(Failure({"bad.doc", "-c", "/late"}),
              "Invalid config file name:bad.doc must have a .txt or .cnf extension");
    EXPECT_EQ(settings.cnfDir, "");
    EXPECT_EQ(settings.iniPath, "UNDEFINED");
}

}  // namespace
}  // namespace qvi
