// Feeds any bytes to the camera database as its file. Loading must not fail
// whatever the file holds; the cameras it keeps are saved, and that file
// loads to as many cameras. Names and text are compared from the second save
// on: the first save may normalise what the file held (a value cut to its
// read buffer and then quoted can be cut again).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "camdb/camera_db.h"
#include "support/recording_ui.h"
#include "system/plat_mod.h"

namespace {

namespace fs = std::filesystem;

fs::path ScratchPath(const char *name) {
    return fs::temp_directory_path() /
           ("qvi-camdb-fuzz-" + std::to_string(::getpid()) + "-" + name);
}

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

// A platform object without a library for every camera but the TX-60's, so
// that both a kept and a left-out camera are reached.
std::unique_ptr<qvi::QV_plat_mod> Build(const fs::path &, const std::string &model) {
    if (model == "TX-60") return nullptr;
    return std::make_unique<qvi::QV_plat_mod>(model, static_cast<qvi::RegisterAccess *>(nullptr),
                                              0u);
}

std::string Content(const fs::path &file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static qvi::RecordingUi ui;
    static const qvi::ScopedUi quiet(ui);
    ui.Clear();
    static const fs::path input = ScratchPath("in.db");
    static const fs::path saved = ScratchPath("saved.db");
    static const fs::path again = ScratchPath("again.db");
    std::ofstream(input, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));

    qvi::QV_camera_db db(fs::temp_directory_path(), "dbase", Build);
    if (db.Load(input) != 0) {
        Check(db.Count() == 0);
        return 0;
    }
    for (int i = 0; i < db.Count(); ++i) Check(db.GetRecord(i)->platMod != nullptr);
    Check(db.Save(saved) == 0);

    qvi::QV_camera_db reloaded(fs::temp_directory_path(), "dbase", Build);
    Check(reloaded.Load(saved) == 0);
    Check(reloaded.Count() == db.Count());
    Check(reloaded.Save(again) == 0);
    qvi::QV_camera_db third(fs::temp_directory_path(), "dbase", Build);
    Check(third.Load(again) == 0);
    Check(third.GetNames() == reloaded.GetNames());
    Check(third.Save(saved) == 0);
    Check(Content(again) == Content(saved));
    return 0;
}
