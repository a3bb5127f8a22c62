// How the library's console text is cut into lines and where each goes.
#include "library_console.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qvi::qvcfg {
namespace {

using Target = LibraryConsole::Target;

TEST(LibraryConsoleTest, EachLineIsPrefixedOnceHoweverTheTextArrives) {
    std::ostringstream result, messages;
    {
        LibraryConsole console(result, messages, Target::Messages);
        LibraryConsole::Sink("first\nsecond\n", &console);
        console.Write("thi");
        console.Write("rd");
        EXPECT_EQ(messages.str(), "console: first\nconsole: second\n");  // "third" waits
        console.Write(" line\n\nlast, unfinished");
        LibraryConsole::Sink(nullptr, &console);
    }
    EXPECT_EQ(messages.str(),
              "console: first\nconsole: second\nconsole: third line\nconsole: \n"
              "console: last, unfinished\n");
    EXPECT_EQ(result.str(), "");
}

TEST(LibraryConsoleTest, AResultGoesOutAsItIsAndHiddenLinesNowhere) {
    std::ostringstream result, messages;
    LibraryConsole console(result, messages, Target::Hidden);
    console.Write("loaded\nbegun ");
    console.SetTarget(Target::Result);  // the line begun while hidden stays hidden
    EXPECT_FALSE(console.ResultWritten());
    console.Write("reg 1\nreg 2");
    console.SetTarget(Target::Messages);
    EXPECT_EQ(result.str(), "reg 1\nreg 2\n");
    console.Write("after\n");
    EXPECT_EQ(messages.str(), "console: after\n");
    EXPECT_FALSE(console.ResultWritten());
}

}  // namespace
}  // namespace qvi::qvcfg
