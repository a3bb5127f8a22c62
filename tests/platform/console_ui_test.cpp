// The command line's Ui: one stderr line per message, questions answered from options.
#include "platform/console_ui.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/recording_ui.h"

namespace qvi {
namespace {

TEST(ConsoleUiTest, EveryMessageIsOneLineWithItsKind) {
    std::ostringstream out;
    ConsoleUi console(out);
    console.ShowMessage(MessageKind::Error, "Can't find entry: \"Platform\"\nin file: a.ini");
    console.ShowMessage(MessageKind::Warning, "No Image Processing Hardware Detected.\n");
    console.ShowMessage(MessageKind::Information, "notepad.exe not found");
    EXPECT_EQ(out.str(),
              "error: Can't find entry: \"Platform\"\\nin file: a.ini\n"
              "warning: No Image Processing Hardware Detected.\\n\n"
              "info: notepad.exe not found\n");
}

// A preset answer is taken only where the buttons offer it; otherwise, and
// without a preset, the safe answer is taken.
TEST(ConsoleUiTest, QuestionsTakeThePresetAnswerWhenOfferedElseTheSafeOne) {
    std::ostringstream out;
    ConsoleUi yes(out, MessageAnswer::Yes);
    EXPECT_EQ(yes.Ask("Save changes?", MessageButtons::YesNoCancel, MessageKind::Warning, "Save"),
              MessageAnswer::Yes);
    EXPECT_EQ(yes.Ask("Overwrite?", MessageButtons::OkCancel, MessageKind::Warning, ""),
              MessageAnswer::Cancel);
    EXPECT_EQ(out.str(), "question: Save changes? -> yes\nquestion: Overwrite? -> cancel\n");
    ConsoleUi console(out);
    EXPECT_EQ(console.Ask("a", MessageButtons::YesNo, MessageKind::Warning, ""), MessageAnswer::No);
    EXPECT_EQ(console.Ask("b", MessageButtons::YesNoCancel, MessageKind::Warning, ""),
              MessageAnswer::Cancel);
    EXPECT_EQ(console.Ask("c", MessageButtons::Ok, MessageKind::Warning, ""), MessageAnswer::Ok);
    EXPECT_EQ(ParseAnswerWord("no"), MessageAnswer::No);
    EXPECT_EQ(ParseAnswerWord("maybe"), std::nullopt);
}

TEST(ConsoleUiTest, PumpingStopsWhenDoneOrAtTheTimeout) {
    std::ostringstream out;
    ConsoleUi console(out);
    int calls = 0;
    EXPECT_TRUE(console.PumpUntil([&] { return ++calls == 3; }, std::chrono::seconds(5)));
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(console.PumpUntil([] { return false; }, std::chrono::milliseconds(10)));
}

TEST(SharedMessageRoutineTest, GoesToTheInstalledUiAndBackToThePreviousOne) {
    RecordingUi outer;
    ScopedUi installOuter(outer);
    {
        RecordingUi inner;
        ScopedUi installInner(inner);
        ReportError("first");
        EXPECT_EQ(inner.Texts(), (std::vector<std::string>{"first"}));
    }
    ReportWarning(std::ostringstream("second"));
    ASSERT_EQ(outer.messages.size(), 1u);
    EXPECT_EQ(outer.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(outer.messages[0].text, "second");
}

}  // namespace
}  // namespace qvi
