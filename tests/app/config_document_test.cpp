// The File menu's commands on a real system tree bound to the stand-in.
#include "app/config_document.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/app_settings.h"
#include "app/recent_files.h"
#include "platform/posix/posix_processes.h"
#include "support/stand_in.h"
#include "system/config_state.h"

namespace qvi {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// The text viewer's side: knows the programs it is told of, records starts.
class ViewerProcesses : public Processes {
public:
    std::optional<fs::path> FindExecutable(const std::string &name) override {
        if (name != known) return std::nullopt;
        return fs::path("/opt/bin") / name;
    }
    std::unique_ptr<ReplyChannel> StartWithReply(const fs::path &, const Strings &) override {
        return nullptr;
    }
    bool StartDetached(const fs::path &program, const Strings &args) override {
        started.push_back(program.string());
        started.insert(started.end(), args.begin(), args.end());
        return true;
    }

    std::string known;
    Strings started;
};

class ConfigDocumentTest : public testing::StandInTest {
protected:
    void SetUp() override {
        SetHardwareEnabled(false);
        SetConfigModified(false);
        SetDetectOnNew(0);
        Start();
        settings.cnfDir = dir_.string();
        document = std::make_unique<ConfigDocument>(settings, *tree, viewer, recent);
        document->SetCloseDialogs([this] { ++closed; });
        document->SetHardwareModeChanged([this] { ++hardwareChanges; });
    }
    void TearDown() override {
        SetConfigModified(false);
        SetDetectOnNew(0);
    }

    std::string Path(const std::string &name) const { return (dir_ / name).string(); }
    std::string Default() const { return Path("default.txt"); }
    std::string CaptionOf(const std::string &name) const { return "QVI Configurator - " + name; }

    AppSettings settings;
    ViewerProcesses viewer;
    MemoryRecentFiles recent;
    std::unique_ptr<ConfigDocument> document;
    int closed = 0;
    int hardwareChanges = 0;
};

TEST_F(ConfigDocumentTest, SaveAsAppendsTxtConvertsAndNamesTheWindow) {
    EXPECT_EQ(document->Caption(), "Configurator");
    ASSERT_EQ(document->Open(Default()), DocumentResult::Done)
        << ::testing::PrintToString(ui.Texts());
    SetConfigModified(true);
    EXPECT_EQ(document->SaveAs(Path("saved")), DocumentResult::Done);
    EXPECT_EQ(document->Caption(), CaptionOf(Path("saved.txt")));
    EXPECT_EQ(settings.currentConfigFile, Path("saved.txt"));
    EXPECT_FALSE(ConfigModified());
    EXPECT_EQ(recent.List(), (Strings{Path("saved.txt"), Default()}));

    // Saving over it asks first; Cancel leaves everything as it was.
    fs::remove(Path("saved.CNF"));
    EXPECT_EQ(document->SaveAs(Path("saved.txt")), DocumentResult::Cancelled);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].buttons, MessageButtons::OkCancel);
    EXPECT_FALSE(fs::exists(Path("saved.CNF")));
    ui.answers.push_back(MessageAnswer::Ok);
    EXPECT_EQ(document->SaveAs(Path("saved.txt")), DocumentResult::Done);
    EXPECT_TRUE(fs::exists(Path("saved.CNF")));
    EXPECT_TRUE(ui.Errors().empty()) << ::testing::PrintToString(ui.Texts());
}

// A converter that refuses every text, as it refuses one the library could
// not take back.
class RefusingConverter : public PosixProcesses {
public:
    explicit RefusingConverter(fs::path script) : script_(std::move(script)) {
        std::ofstream(script_) << "#!/bin/sh\nprintf '3\\n' > /dev/fd/$3\nexit 3\n";
        fs::permissions(script_, fs::perms::owner_all);
    }
    std::optional<fs::path> FindExecutable(const std::string &) override { return script_; }

private:
    fs::path script_;
};

// A save the converter refuses would not load again: the old file keeps its
// content and the changes stay unsaved. A new file the converter refuses is
// kept, since there is nothing older to lose.
TEST_F(ConfigDocumentTest, ASaveTheConverterRefusesKeepsTheOldFile) {
    RefusingConverter refusing(dir_ / "mkbcf");
    SystemTree refusedTree(*platform, *factory, refusing, dir_ / "scratch.txt");
    ConfigDocument refused(settings, refusedTree, viewer, recent);
    // The binary form loads without the converter.
    ASSERT_EQ(tree->ConvertToBinary(Default()), 0);
    ASSERT_EQ(refusedTree.LoadFile(Path("default.CNF")), 0) << ::testing::PrintToString(ui.Texts());
    const fs::path kept = Write("kept.txt", "old text\n");
    SetConfigModified(true);
    ui.answers.push_back(MessageAnswer::Ok);
    EXPECT_EQ(refused.SaveAs(kept.string()), DocumentResult::Failed);
    EXPECT_EQ(Read(kept), "old text\n");
    EXPECT_TRUE(ConfigModified());
    EXPECT_EQ(ui.Errors().back(),
              "The configuration was not saved: " + kept.string() + " keeps its previous content.");
    EXPECT_NE(settings.currentConfigFile, kept.string());

    EXPECT_EQ(refused.SaveAs(Path("fresh.txt")), DocumentResult::NotConverted);
    EXPECT_NE(Read(Path("fresh.txt")).find("[BZ-700]"), std::string::npos);
}

TEST_F(ConfigDocumentTest, SavingABinaryNameWritesItsTextTwinAndConvertsBack) {
    ASSERT_EQ(document->Open(Default()), DocumentResult::Done);  // leaves default.CNF
    ASSERT_EQ(document->Open(Path("default.CNF")), DocumentResult::Done);
    fs::remove(Path("default.CNF"));
    SetConfigModified(true);
    EXPECT_TRUE(document->CanSave());
    EXPECT_FALSE(document->CanViewConfigFile());
    EXPECT_EQ(document->Save(), DocumentResult::Done) << ::testing::PrintToString(ui.Texts());
    // The text the binary came from is its twin, whatever the case of its extension.
    EXPECT_NE(Read(Path("default.txt")).find("[BZ-700]"), std::string::npos);
    EXPECT_NE(Read(Path("default.txt")).find("#    File: " + Path("default.txt")),
              std::string::npos);
    EXPECT_FALSE(fs::exists(Path("default.TXT")));
    EXPECT_EQ(ViewedTextFile(Path("default.CNF")), Path("default.txt"));
    EXPECT_TRUE(fs::exists(Path("default.CNF")));
    EXPECT_EQ(recent.List(), (Strings{Path("default.CNF"), Default()}));
    EXPECT_FALSE(document->CanSave());
    EXPECT_TRUE(document->CanViewConfigFile());
}

TEST_F(ConfigDocumentTest, UnsavedChangesAreOfferedAndCancelAbandons) {
    ASSERT_EQ(document->Open(Default()), DocumentResult::Done);
    const int elements = tree->System().Size();
    SetConfigModified(true);
    ui.answers = {MessageAnswer::Cancel, MessageAnswer::Cancel};
    EXPECT_EQ(document->New(), DocumentResult::Cancelled);
    EXPECT_EQ(document->Open(Path("other.txt")), DocumentResult::Cancelled);
    EXPECT_EQ(tree->System().Size(), elements);
    EXPECT_EQ(document->Caption(), CaptionOf(Default()));
    EXPECT_EQ(closed, 1);  // only the first Open got that far
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[0].text, "Save current file?");
    EXPECT_EQ(ui.questions[0].caption, "Warning");
    EXPECT_EQ(ui.questions[0].buttons, MessageButtons::YesNoCancel);

    ui.answers = {MessageAnswer::No};
    EXPECT_TRUE(document->AskToSave(true));
    EXPECT_EQ(ui.questions.back().text, "Save current file before exit?");
    EXPECT_TRUE(ConfigModified());
    ui.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(document->AskToSave(true));
    EXPECT_FALSE(ConfigModified());
    // Yes on an untitled configuration whose Save As is cancelled stops the command.
    document->SetCurrentFile("Untitled");
    SetConfigModified(true);
    ui.answers = {MessageAnswer::Yes};
    EXPECT_FALSE(document->AskToSave(false));
    EXPECT_EQ(ui.fileDialogTitles, Strings{"Save As"});
}

TEST_F(ConfigDocumentTest, AFailedOpenKeepsTheNameAndLeavesDetectionOff) {
    std::vector<ConfigDocument::SystemReplacement> replaced;
    document->SetSystemReplaced(
        [&](ConfigDocument::SystemReplacement replacement) { replaced.push_back(replacement); });
    ASSERT_EQ(document->Open(Default()), DocumentResult::Done);
    SetDetectOnNew(1);
    Write("broken.txt", "this is no configuration\n");
    EXPECT_EQ(document->Open(Path("broken.txt")), DocumentResult::Failed);
    // The windows are rebuilt from the model the failed load emptied.
    EXPECT_EQ(tree->System().Size(), 0);
    EXPECT_EQ(replaced, (std::vector{ConfigDocument::SystemReplacement::Opened,
                                     ConfigDocument::SystemReplacement::Opened}));
    EXPECT_EQ(document->Open(Path("missing.txt")), DocumentResult::Failed);
    EXPECT_EQ(DetectOnNew(), 0);
    EXPECT_EQ(document->Caption(), CaptionOf(Default()));
    EXPECT_EQ(settings.currentConfigFile, Default());
    EXPECT_EQ(recent.List(), Strings{Default()});

    SetDetectOnNew(1);
    ui.fileChoices.push_back(fs::path(Default()));
    EXPECT_EQ(document->OpenWithDialog(), DocumentResult::Done);
    EXPECT_EQ(DetectOnNew(), 1);  // restored after a successful load
    EXPECT_EQ(document->OpenWithDialog(), DocumentResult::Cancelled);

    // The file named on the command line names the window even when it fails.
    EXPECT_EQ(document->OpenStart(Path("missing.txt")), DocumentResult::Failed);
    EXPECT_EQ(document->Caption(), CaptionOf(Path("missing.txt")));
    EXPECT_EQ(settings.currentConfigFile, Path("missing.txt"));
    EXPECT_EQ(document->OpenStart(""), DocumentResult::Done);
    EXPECT_EQ(document->Caption(), "QVI Configurator - Untitled");
}

TEST_F(ConfigDocumentTest, NewFallsBackToNoHardwareAndAnUntitledSaveAsks) {
    SetHardwareEnabled(true);
    settings.boardsDetected = 2;
    EXPECT_EQ(document->New(), DocumentResult::FellBack);  // no rack: detection fails
    EXPECT_EQ(ui.Errors(), Strings{"Mother board detection failed"});
    EXPECT_FALSE(HardwareEnabled());
    EXPECT_EQ(settings.boardsDetected, 0);
    EXPECT_EQ(hardwareChanges, 1);
    EXPECT_EQ(Texts(), (Strings{"System:0", "BZ700", " "}));
    EXPECT_EQ(document->Caption(), CaptionOf("Untitled"));
    EXPECT_TRUE(ConfigModified());
    EXPECT_EQ(DetectOnNew(), 0);

    ui.fileChoices.push_back(fs::path(Path("fresh")));
    EXPECT_EQ(document->Save(), DocumentResult::Done);
    EXPECT_EQ(ui.fileDialogTitles, Strings{"Save As"});
    EXPECT_EQ(document->Caption(), CaptionOf(Path("fresh.txt")));
}

TEST_F(ConfigDocumentTest, DisablingHardwareAsksThenBuildsTheDefaultSystem) {
    SetHardwareEnabled(true);
    settings.boardsDetected = 1;
    ui.answers = {MessageAnswer::No};
    EXPECT_EQ(document->DisableHardware(), DocumentResult::Cancelled);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text,
              "Disabling hardware will prevent re-enabling it. Do you want to continue?");
    EXPECT_EQ(ui.questions[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(document->CanDisableHardware());
    EXPECT_EQ(settings.boardsDetected, 1);

    ui.answers = {MessageAnswer::Yes};
    EXPECT_EQ(document->DisableHardware(), DocumentResult::Done);
    EXPECT_FALSE(document->CanDisableHardware());
    EXPECT_EQ(settings.boardsDetected, 0);
    EXPECT_EQ(hardwareChanges, 1);
    EXPECT_EQ(Texts(), (Strings{"System:0", "BZ700", " "}));
    EXPECT_TRUE(ui.Errors().empty()) << ::testing::PrintToString(ui.Texts());
}

TEST_F(ConfigDocumentTest, ViewingShowsTheTextTwinOrSaysTheViewerIsMissing) {
    ::unsetenv("VISUAL");
    ::unsetenv("EDITOR");
    document->SetCurrentFile(Path("Mixed.Cnf"));
    EXPECT_EQ(document->ViewConfigFile(), DocumentResult::Failed);
    EXPECT_EQ(ui.Texts(), Strings{"xdg-open not found"});
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Information);

    ::setenv("EDITOR", "myview -r", 1);
    viewer.known = "myview";
    Write("Mixed.txt", "");  // the twin, whatever the case of either extension
    EXPECT_EQ(document->ViewConfigFile(), DocumentResult::Done);
    EXPECT_EQ(viewer.started, (Strings{"/opt/bin/myview", "-r", Path("Mixed.txt")}));
    EXPECT_EQ(ui.waitCursorShown, 2);
    ::unsetenv("EDITOR");

    EXPECT_EQ(ViewedTextFile("/x/plain.txt"), "/x/plain.txt");
    Write("only.TXT", "");
    EXPECT_EQ(ViewedTextFile(Path("only.cnf")), Path("only.TXT"));
}

// A name given relative to the working folder is kept whole, so the list
// still finds it when the program starts in another folder. The newest come
// first, without repeats or empty names, four at most.
TEST_F(ConfigDocumentTest, RecentFilesKeepAbsolutePathsNewestFirstAndLoseFilesThatAreGone) {
    Write("near.txt", "");
    const fs::path started = fs::current_path();
    fs::current_path(dir_);
    document->AddToRecent("near.txt");
    document->AddToRecent("./near.txt");
    fs::current_path(started);
    EXPECT_EQ(recent.List(), Strings{Path("near.txt")});

    // Opening a listed file that has gone: the load's failure, then the entry goes.
    ASSERT_EQ(document->Open(Default()), DocumentResult::Done);
    fs::remove(Path("near.txt"));
    ui.Clear();
    EXPECT_EQ(document->Open(Path("near.txt")), DocumentResult::Failed);
    EXPECT_FALSE(ui.Errors().empty());
    EXPECT_EQ(recent.List(), Strings{Default()});
    // A file that exists but does not load stays listed.
    document->AddToRecent(Write("broken.txt", "no configuration\n").string());
    EXPECT_EQ(document->Open(Path("broken.txt")), DocumentResult::Failed);
    EXPECT_EQ(recent.List(), (Strings{Path("broken.txt"), Default()}));
    // Saving under a name whose file has since gone reports it and drops it.
    ui.Clear();
    fs::remove(Path("broken.txt"));
    document->AddToRecent(Path("broken.txt"));
    EXPECT_EQ(ui.Errors(), Strings{"Previous Config file: " + Path("broken.txt") + " not found"});
    EXPECT_EQ(recent.List(), Strings{Default()});

    for (const char *name : {"a", "b", "c", "d", "e"})
        document->AddToRecent(Write(name, "").string());
    document->AddToRecent(Path("c"));
    document->AddToRecent("");
    EXPECT_EQ(recent.List(), (Strings{Path("c"), Path("e"), Path("d"), Path("b")}));
}

}  // namespace
}  // namespace qvi
