// The program binding the real imaging library stand-in, as it does at
// start-up: every documented name is found, the versions agree, and the
// entries the board and module objects look up by name are there.
#include <gtest/gtest.h>

#include "library/library_binding.h"
#include "platform/posix/dl_library_loader.h"
#include "support/test_env.h"

namespace qvi {
namespace {

class StandInBindingTest : public testing::UiTest {
protected:
    ~StandInBindingTest() override {
        SetRxLibraryStubbed(1);
        SetPxLibraryStubbed(1);
    }
    DlLibraryLoader loader;
};

TEST_F(StandInBindingTest, BindsEveryNameQuietlyWithAgreeingVersions) {
    int error = -7;
    LibraryBinding binding(loader, {QUAR_CORE_PATH, QUAR_RX_PATH, QUAR_PX_PATH}, error,
                           BindingEnvironment{LibraryFileExists, {{"mkbcf", MKBCF_PATH}}});
    EXPECT_EQ(error, 0);
    EXPECT_TRUE(binding.LookupPlatformEntries());
    EXPECT_EQ(RxLibraryStubbed(), 0);
    EXPECT_EQ(PxLibraryStubbed(), 0);
    for (const char *name : {"sxa_dregs", "sxa_cp_camcnf", "sxp_get_cam_frame", "dqp_change_disp",
                             "tx30_cp_camcnf", "tx70_cp_matrix", "rx20_dregs", "rx40_dregs"})
        EXPECT_NE(binding.Lookup(name), nullptr) << name;
    EXPECT_NE(binding.Entry<&::qrx_deref>(), nullptr);
    EXPECT_TRUE(ui.messages.empty()) << (ui.messages.empty() ? "" : ui.messages[0].text);
}

}  // namespace
}  // namespace qvi
