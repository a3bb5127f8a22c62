// Whatever bytes a settings file or camera database holds, reading its
// sections, keys and numbers must not fail, and a key written back must read
// back as written while every other section stays readable.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/profile.h"

namespace {

const std::filesystem::path &FuzzFile() {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("qvi-profile-fuzz-" + std::to_string(::getpid()) + ".ini");
    return path;
}

void Check(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::ofstream(FuzzFile(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    qvi::Profile profile(FuzzFile());
    const std::vector<std::string> sections = profile.SectionNames();
    for (const std::string &section : sections) {
        for (const qvi::Profile::Entry &entry : profile.SectionEntries(section)) {
            static_cast<void>(profile.GetString(section, entry.key, "", 16));
            static_cast<void>(profile.GetInt(section, entry.key, -1));
        }
    }
    if (profile.WriteString("CameraDataBase", "NumberOfCameras", "7")) {
        Check(profile.GetString("CameraDataBase", "NumberOfCameras", "") == "7");
        Check(profile.GetInt("CameraDataBase", "NumberOfCameras", -1) == 7);
        Check(profile.SectionNames().size() >= sections.size());
    }
    return 0;
}
