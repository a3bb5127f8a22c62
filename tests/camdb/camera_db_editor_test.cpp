// The Camera Database dialog's working copy and its edits.
#include "camdb/camera_db_editor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "params/camera_list.h"
#include "support/core_scratch_dir.h"
#include "support/test_env.h"
#include "system/plat_mod.h"

namespace qvi {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const std::string kDatabase =
    "[CameraDataBase]\nNumberOfCameras = 3\n"
    "\n[Cam0]\nName = Alpha\nConfigFile = cameras/alpha.cnf\nValidTXMod = TX-10\n"
    "ValidTXPorts = 0,1,2,3\nCablePartNumber = C-1\nComments = first\n"
    "\n[Cam1]\nName = Beta\nConfigFile = beta.cnf\nValidTXMod = TX-71\n"
    "ValidTXPorts = 1,3\nCablePartNumber = C-2\nComments = colour\n"
    "\n[Cam2]\nName = Gamma\nConfigFile = gamma.cnf\nValidTXMod = SXA\n"
    "ValidTXPorts = 0\nCablePartNumber = C-3\nComments = \n";

class CameraDbEditorTest : public testing::UiTest {
protected:
    CameraDbEditorTest() { EXPECT_EQ(editor.Open(), 0); }

    static std::string ReadFile(const fs::path &path) { return testing::ScratchDir::Read(path); }
    std::unique_ptr<QV_camera_db> NewDatabase() {
        return std::make_unique<QV_camera_db>(
            root_, "dbase", [](const fs::path &, const std::string &) {
                return std::make_unique<QV_plat_mod>("FakeCamera",
                                                     static_cast<RegisterAccess *>(nullptr), 0);
            });
    }
    static int KeyIndex(std::string_view key) {
        const auto keys = QV_camera_db::ModuleKeys();
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == key) return static_cast<int>(i);
        return -1;
    }

    testing::ScratchDir scratch_;
    const fs::path root_ = scratch_.Path();
    const fs::path dbFile = scratch_.Write("cameras.db", kDatabase);
    CameraDbEditor editor{NewDatabase(), dbFile};
};

TEST_F(CameraDbEditorTest, OpeningSelectsCameraZeroAndShowsEachCamerasFields) {
    EXPECT_EQ(editor.Names(), (Names{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(editor.Selection(), 0);
    EXPECT_EQ(editor.SelectedName(), "Alpha");
    EXPECT_EQ(
        editor.Show(0),
        (CameraFields{
            "cameras/alpha.cnf", "C-1", "first", KeyIndex("TX-10"), {true, true, true, true}}));
    // "TX-71" is not among the drop-down's keys.
    EXPECT_EQ(editor.Show(1),
              (CameraFields{"beta.cnf", "C-2", "colour", -1, {false, true, false, true}}));
    EXPECT_EQ(editor.Show(2).moduleIndex, KeyIndex("SXA"));
    EXPECT_EQ(editor.Show(3), CameraFields{});
    EXPECT_TRUE(ui.messages.empty());

    CameraDbEditor empty(NewDatabase(), root_ / "missing.db");
    EXPECT_EQ(empty.Open(), -1);
    EXPECT_EQ(empty.Count(), 0);
    empty.Store(CameraFields{});  // nothing to store into, nothing reported
    EXPECT_EQ(empty.Show(0), CameraFields{});
    EXPECT_EQ(empty.SelectedName(), "");
}

TEST_F(CameraDbEditorTest, StoreAndRenameChangeTheSelectedCamera) {
    editor.Select(1);
    CameraFields shown = editor.Show(1);
    shown.ports = {true, false, true, false};
    shown.comments = "now mono";
    editor.Store(shown);  // no module chosen: "TX-71" stays
    const QV_camera_rec *beta = editor.WorkingCopy().GetRecord(1);
    EXPECT_EQ(beta->validPorts, "0,2");
    EXPECT_EQ(beta->validModule, "TX-71");
    EXPECT_EQ(beta->comments, "now mono");

    shown.moduleIndex = KeyIndex("TX-40");
    shown.ports = {};
    editor.Store(shown);
    EXPECT_EQ(beta->validModule, "TX-40");
    EXPECT_EQ(beta->validPorts, "");

    CameraDbEditor::TickAll(shown);
    editor.Store(shown);
    EXPECT_EQ(beta->validPorts, "0,1,2,3");

    // Selecting stores nothing by itself and ignores an index without a camera.
    editor.Select(7);
    EXPECT_EQ(editor.Selection(), 1);
    EXPECT_TRUE(editor.Rename("Beta 2"));  // the name's length limit is the database's own
    EXPECT_EQ(editor.Names(), (Names{"Alpha", "Beta 2", "Gamma"}));
    editor.Select(0);
    EXPECT_EQ(editor.Show(1), shown);
    EXPECT_EQ(editor.Show(0).comments, "first");
}

TEST_F(CameraDbEditorTest, DeleteAsksFirstAndMovesUpOnlyFromTheLastCamera) {
    editor.Select(2);
    ui.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
    EXPECT_FALSE(editor.Delete());
    EXPECT_EQ(editor.Count(), 3);
    EXPECT_TRUE(editor.Delete());
    EXPECT_EQ(editor.Names(), (Names{"Alpha", "Beta"}));
    EXPECT_EQ(editor.Selection(), 1);  // the new last camera
    ASSERT_EQ(ui.questions.size(), 2u);
    for (const auto &question : ui.questions) {
        EXPECT_EQ(question.text, "Are you sure you want to delete this camera");
        EXPECT_EQ(question.caption, "Warning");
        EXPECT_EQ(question.buttons, MessageButtons::OkCancel);
    }

    editor.Select(0);
    ui.answers = {MessageAnswer::Ok};
    EXPECT_TRUE(editor.Delete());
    EXPECT_EQ(editor.Names(), Names{"Beta"});
    EXPECT_EQ(editor.Selection(), 0);

    ui.Clear();
    ui.answers = {MessageAnswer::Ok};
    EXPECT_FALSE(editor.Delete());
    EXPECT_EQ(editor.Names(), Names{"Beta"});
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "Can't delete last camera");
    EXPECT_EQ(ui.questions[0].caption, "Error");
    EXPECT_EQ(ui.questions[0].icon, MessageKind::Error);
    EXPECT_EQ(ui.questions[0].buttons, MessageButtons::Ok);
}

// The database reads a camera's file relative to its own folder, so the
// chosen file keeps the folders below (or above) it.
TEST_F(CameraDbEditorTest, SelectKeepsTheChosenFilesFolderRelativeToTheDatabase) {
    const fs::path folder = root_ / "dbase";
    fs::create_directories(folder / "cameras");
    ui.fileChoices = {folder / "cameras" / "tx70ntsc.cnf", folder / "top.cnf",
                      root_ / "elsewhere" / "far.cnf", std::nullopt};
    EXPECT_EQ(editor.ChooseConfigFile(), "cameras/tx70ntsc.cnf");
    EXPECT_EQ(editor.ChooseConfigFile(), "top.cnf");
    EXPECT_EQ(editor.ChooseConfigFile(), "../elsewhere/far.cnf");
    EXPECT_EQ(editor.ChooseConfigFile(), std::nullopt);
    EXPECT_EQ(ui.fileDialogTitles, (Names(4, "Select")));

    // The same folder reached through a link, or named relative to the
    // working folder, is still the database's folder.
    fs::create_directory_symlink(folder, root_ / "linked");
    EXPECT_EQ(CameraConfigFileEntry(root_ / "linked" / "cameras" / "a.cnf", folder),
              "cameras/a.cnf");
    const fs::path started = fs::current_path();
    fs::current_path(root_);
    EXPECT_EQ(CameraConfigFileEntry(folder / "cameras" / "b.cnf", "dbase"), "cameras/b.cnf");
    fs::current_path(started);
}

TEST_F(CameraDbEditorTest, OkSavesTheShownCameraAndCancelLeavesTheFileAlone) {
    // The program's own database: the editor must neither replace nor change it.
    std::unique_ptr<QV_camera_db> program = NewDatabase();
    ASSERT_EQ(program->Load(dbFile), 0);
    InstallCameraList(program.get());

    {
        CameraDbEditor cancelled(NewDatabase(), dbFile);
        ASSERT_EQ(cancelled.Open(), 0);
        ui.answers = {MessageAnswer::Ok};
        ASSERT_TRUE(cancelled.Delete());
        ASSERT_TRUE(cancelled.Duplicate());
        EXPECT_EQ(cancelled.Reject(), CameraDbEditor::kClosedCancel);
    }
    EXPECT_EQ(ReadFile(dbFile), kDatabase);

    editor.Select(2);
    CameraFields shown = editor.Show(2);
    shown.ports = {false, true, true, false};
    shown.moduleIndex = KeyIndex("TX-50");
    shown.comments = "rewired";
    shown.cablePartNumber = "C-9";
    EXPECT_EQ(editor.Accept(shown), CameraDbEditor::kClosedOk);
    const std::string saved = ReadFile(dbFile);
    EXPECT_NE(saved.find("\n[Cam2]\nName = Gamma\nConfigFile = gamma.cnf\nValidTXMod = TX-50\n"
                         "ValidTXPorts = 1,2\nCablePartNumber = C-9\nComments = rewired\n"),
              std::string::npos)
        << saved;

    EXPECT_EQ(CurrentCameraList(), program.get());
    EXPECT_EQ(program->GetRecord(2)->validModule, "SXA");
    InstallCameraList(nullptr);

    // A file that cannot be written keeps the dialog open.
    CameraDbEditor unwritable(NewDatabase(), root_ / "no-such-dir" / "cameras.db");
    EXPECT_EQ(unwritable.Accept(shown), 0);
    EXPECT_EQ(ui.Errors().size(), 1u);
}

}  // namespace
}  // namespace qvi
