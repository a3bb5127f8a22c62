// The About box texts: formats from given facts, the machine queries, and
// the file of the bound core library.
#include "app/about_info.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "library/library_binding.h"
#include "platform/posix/dl_library_loader.h"
#include "support/test_env.h"

namespace qvi {
namespace {

class AboutInfoTest : public testing::UiTest {};

// Sizes beyond 32 bits keep every digit; a failed disk query reads Unavailable.
TEST_F(AboutInfoTest, FormatsMemoryAndDiskFields) {
    MachineFacts machine;
    machine.totalMemoryKb = 16384000;
    machine.freeDiskKb = 8'000'000'000ULL;  // 8 TB
    machine.diskLocation = "/srv/data";
    const AboutInfo info = MakeAboutInfo(machine, "1.2.3", "libquar-core.so", "/opt/q/core.so");
    EXPECT_EQ(info.ramSize, "16384000 KB");
    EXPECT_EQ(info.diskFree, "8000000000 KB Free on /srv/data");
    EXPECT_EQ(MakeAboutInfo(MachineFacts{}, "", "", "").diskFree, "Unavailable");
}

dev_t DeviceOf(const std::filesystem::path &path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_dev;
}

// The mount point holds the directory, is on its file system, and its
// parent (if any) is not.
TEST_F(AboutInfoTest, MountPointIsTheTopOfTheDirectorysFileSystem) {
    const std::filesystem::path directory =
        std::filesystem::canonical(std::filesystem::temp_directory_path());
    const std::filesystem::path mount = MountPointOf(directory);
    EXPECT_EQ(directory.string().rfind(mount.string(), 0), 0u) << mount;
    EXPECT_EQ(DeviceOf(mount), DeviceOf(directory));
    if (mount != mount.root_path()) {
        EXPECT_NE(DeviceOf(mount.parent_path()), DeviceOf(mount));
    }
    EXPECT_EQ(MountPointOf("/no/such/dir"), "/no/such/dir");
}

// The core is bound by its bare name; the path is the file it was read from,
// whether or not the binding is usable.
TEST_F(AboutInfoTest, CoreLibraryPathIsTheLoadedFile) {
    EXPECT_EQ(LoadedCoreLibraryPath(nullptr), "");
    DlLibraryLoader loader;
    int error = 0;
    auto binding =
        std::make_unique<LibraryBinding>(loader, LibraryFiles{QVI_FAKE_PX_NAME, "", ""}, error,
                                         BindingEnvironment{LibraryFileExists, {}});
    EXPECT_EQ(std::filesystem::canonical(LoadedCoreLibraryPath(binding.get())),
              std::filesystem::canonical(QVI_FAKE_PX_PATH));
}

}  // namespace
}  // namespace qvi
