// The imaging library stand-in at the size of a full rack: converting and
// loading a configuration with eight systems of every board kind, every slot
// filled, and binding every entry point of the three libraries.
#include <benchmark/benchmark.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config/binary_format.h"
#include "config/text_parser.h"
#include "library/library_binding.h"
#include "platform/posix/dl_library_loader.h"
#include "quar/quar_acquire.h"
#include "quar/quar_api.h"
#include "quar/quar_image_file.h"
#include "support/recording_ui.h"

namespace qvi {
namespace {

namespace fs = std::filesystem;

// One system: a Lumo, an SXA with four channels, a DQ-500 with both slots
// filled and an RX-600 with all three.
std::string SystemText(int number) {
    std::string text = "[SYSTEM:" + std::to_string(number) + "]\n";
    std::string n = std::to_string(number);
    text += "[Lumo:" + n + "]\n      Latency = 248\n      Frame_Count = 2\n";
    text += "[TX-10:0]\n      Slot_Number = 0\n";
    text += "[SXA:" + n + "]\n";
    for (int channel = 0; channel < 4; ++channel) {
        text += "[CameraPort:" + std::to_string(channel) + "]\n";
        text += "      Name = \"Camera " + std::to_string(channel) + "\"\n";
        text += "      Camera_Structure = Create_Structure\n      Interlaced\n";
        text += "      Start_Field = Next_Odd_Field\n      HTotal = 910\n      VTotal = 525\n";
        text += "      Timing_Mode = Normal_PLL\n      PLL_Feedback_Divider = 79\n";
    }
    text += "[DQ-500:" + n + "]\n      Bus_Master_Latency_Timer = 64\n      VideoBus_Slave\n";
    text += "[TX-30:0]\n      Slot_Number = 0\n";
    text += "[RX-20:" + n + "]\n      Slot_Number = 1\n      Load_Name = \"mem.mcs\"\n";
    text += "      Memory_Size = 8K_1K_12\n";
    text += "[RX-600:" + n + "]\n";
    text += "[RX-10:" + n + "]\n      Slot_Number = 0\n      Program_Memory = 0x200000\n";
    text += "[RX-30:" + n + "]\n      Slot_Number = 1\n      Encryption = \"KEY\"\n";
    text += "[RX-40:" + n + "]\n      Slot_Number = 2\n      Image_x_size = 640\n";
    return text;
}

std::string LargeConfigurationText() {
    std::string text = "#\n#    File: large.txt\n#\n \n";
    for (int system = 0; system < 8; ++system) text += SystemText(system);
    text += "[BZ-700]\n      Safe_Access_Mode\n";
    return text;
}

void BM_ConvertLargeConfiguration(benchmark::State &state) {
    const std::string text = LargeConfigurationText();
    std::size_t bytes = 0;
    for (auto _ : state) {
        quar::ConfigError error;
        auto config = quar::ParseConfigText(text, "large.txt", error);
        if (!config) state.SkipWithError(error.Message().c_str());
        bytes = quar::EncodeConfiguration(*config).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["text_bytes"] = static_cast<double>(text.size());
    state.counters["binary_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ConvertLargeConfiguration)->Unit(benchmark::kMicrosecond);

// Converts the text to its binary form and times the library loading it, as
// the program's qrx_load_cnf call does.
void TimeLoading(benchmark::State &state, const std::string &text) {
    quar::ConfigError error;
    auto config = quar::ParseConfigText(text, "bench.txt", error);
    if (!config) {
        state.SkipWithError(error.Message().c_str());
        return;
    }
    const fs::path binary =
        fs::temp_directory_path() / ("qvi-bench-" + std::to_string(getpid()) + ".cnf");
    {
        auto bytes = quar::EncodeConfiguration(*config);
        std::ofstream(binary, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    void *core = dlopen(QUAR_CORE_PATH, RTLD_NOW | RTLD_LOCAL);
    auto load = reinterpret_cast<decltype(&::qrx_load_cnf)>(dlsym(core, "qrx_load_cnf"));
    auto quiet =
        reinterpret_cast<decltype(&::qrx_set_console_sink)>(dlsym(core, "qrx_set_console_sink"));
    quiet([](const char *, void *) {}, nullptr);
    for (auto _ : state) benchmark::DoNotOptimize(load(binary.c_str()));
    // The library stays loaded for the benchmarks after this one: leave it empty.
    auto remove = reinterpret_cast<decltype(&::qrx_remove_sys)>(dlsym(core, "qrx_remove_sys"));
    for (int system = 0; system < 8; ++system) remove(system);
    dlclose(core);
    fs::remove(binary);
}

void BM_LoadLargeConfiguration(benchmark::State &state) {
    TimeLoading(state, LargeConfigurationText());
}
BENCHMARK(BM_LoadLargeConfiguration)->Unit(benchmark::kMicrosecond);

// Loading grows with the boards in the file, not with their square: each
// board is numbered among its kind without walking the boards before it.
void BM_LoadManyBoards(benchmark::State &state) {
    std::string text = "[SYSTEM:0]\n";
    for (int64_t board = 0; board < state.range(0); ++board)
        text += "[SX-400:" + std::to_string(board) + "]\n";
    TimeLoading(state, text);
    state.counters["boards"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_LoadManyBoards)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_BindAllNames(benchmark::State &state) {
    RecordingUi ui;
    ScopedUi install(ui);
    DlLibraryLoader loader;
    LibraryFiles files{QUAR_CORE_PATH, QUAR_RX_PATH, QUAR_PX_PATH};
    for (auto _ : state) {
        int error = 0;
        LibraryBinding binding(loader, files, error);
        if (error != 0 || !binding.LookupPlatformEntries()) state.SkipWithError("binding failed");
    }
}
BENCHMARK(BM_BindAllNames)->Unit(benchmark::kMicrosecond);

// The floor under binding: loading the three libraries and resolving every
// name, with no messages, stub flags or version check.
void BM_LoadAndResolveOnly(benchmark::State &state) {
    for (auto _ : state) {
        void *libraries[] = {dlopen(QUAR_CORE_PATH, RTLD_NOW | RTLD_LOCAL),
                             dlopen(QUAR_RX_PATH, RTLD_NOW | RTLD_LOCAL),
                             dlopen(QUAR_PX_PATH, RTLD_NOW | RTLD_LOCAL)};
        for (const EntryInfo &entry : kEntryTable) {
            const std::string name(entry.name);
            for (void *library : libraries)
                if (library && dlsym(library, name.c_str())) break;
        }
        for (void *library : libraries)
            if (library) dlclose(library);
    }
}
BENCHMARK(BM_LoadAndResolveOnly)->Unit(benchmark::kMicrosecond);

// ---- the stand-in's video -------------------------------------------------------

// Two uncapped boards: a TX-10 at 640 x 480 x 8 and a TX-70 RGB board at
// 1300 x 1030 x 24.
constexpr const char *kVideoRack =
    "[Board]\nKind = SXP\nSlot0 = TX-10\nFrameRate = 0\n"
    "[Board]\nKind = SXP\nSlot0 = TX-70\nSlot0Type = 8\nFrameRate = 0\n";
constexpr const char *kVideoBoards =
    "[SYSTEM:0]\n[Lumo:0]\n[TX-10:0]\n      Slot_Number = 0\n[CameraPort:0]\n"
    "      Camera_Structure = Create_Structure\n      HOffset = 140\n      HActive = 777\n"
    "      VOffset = 35\n      VActive = 515\n      NonInterlaced\n"
    "[SX-400:1]\n[TX-70:0]\n      Slot_Number = 0\n      RGB_Input_Board\n[CameraPort:0]\n"
    "      Camera_Structure = Create_Structure\n      RGB_VActive = 1030\n";

// The core library with the two boards loaded and grabbing; board 0 or 1.
class VideoBench {
public:
    VideoBench() {
        const fs::path dir = fs::temp_directory_path() / ("qvi-video-" + std::to_string(getpid()));
        fs::create_directories(dir);
        std::ofstream(dir / "rack.ini") << kVideoRack;
        ::setenv("QUAR_RACK", (dir / "rack.ini").c_str(), 1);
        quar::ConfigError error;
        auto config = quar::ParseConfigText(kVideoBoards, "video.txt", error);
        auto bytes = quar::EncodeConfiguration(*config);
        std::ofstream(dir / "video.cnf", std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        core_ = dlopen(QUAR_CORE_PATH, RTLD_NOW | RTLD_LOCAL);
        Entry<decltype(qrx_set_console_sink)>("qrx_set_console_sink")([](const char *, void *) {},
                                                                      nullptr);
        Entry<decltype(qrx_load_cnf)>("qrx_load_cnf")((dir / "video.cnf").c_str());
        Entry<decltype(qrx_init_sys)>("qrx_init_sys")(0);
        fs::remove_all(dir);
        ::unsetenv("QUAR_RACK");
    }
    ~VideoBench() {
        Entry<decltype(qrx_remove_sys)>("qrx_remove_sys")(0);
        dlclose(core_);
    }
    template <typename F>
    F *Entry(const char *name) {
        return reinterpret_cast<F *>(dlsym(core_, name));
    }
    QRX_HANDLE Board(int index) {
        QRX_HANDLE board = Entry<decltype(qrx_systop)>("qrx_systop")(0);
        return index == 0 ? board : Entry<decltype(qrx_get_next_mod)>("qrx_get_next_mod")(board);
    }
    void Grab(QRX_HANDLE board) {
        QRX_XBOARD_REQUEST request{QRX_XBOARD_GRAB, 0, {}};
        Entry<decltype(qrx_xboard)>("qrx_xboard")(board, &request);
    }

private:
    void *core_ = nullptr;
};

struct VideoCase {
    int board, width, height, sinkFormat, bytes;
};
constexpr VideoCase kVideoCases[] = {{0, 640, 480, QRX_SINK_GREY8, 1},
                                     {1, 1300, 1030, QRX_SINK_XRGB32, 4}};

// Producing a frame: an uncapped grab makes a new frame each time it is
// looked at; the pattern rows are read from the shared tile, so only the
// frame counter's rows are drawn.
void BM_FrameProduction(benchmark::State &state) {
    const VideoCase &c = kVideoCases[state.range(0)];
    VideoBench bench;
    const QRX_HANDLE board = bench.Board(c.board);
    bench.Grab(board);
    auto rpix = bench.Entry<decltype(qrx_rpix)>("qrx_rpix");
    for (auto _ : state) benchmark::DoNotOptimize(rpix(board, 0, 0, 0));
    state.SetLabel(std::to_string(c.width) + "x" + std::to_string(c.height));
}
BENCHMARK(BM_FrameProduction)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A new frame through its connection into a sink buffer.
void BM_FrameToSink(benchmark::State &state) {
    const VideoCase &c = kVideoCases[state.range(0)];
    VideoBench bench;
    const QRX_HANDLE board = bench.Board(c.board);
    bench.Grab(board);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(c.width * c.height * c.bytes));
    QRX_FRAME_SINK sink{pixels.data(), c.width, c.height, c.width * c.bytes, c.sinkFormat, nullptr,
                        nullptr,       nullptr, nullptr};
    const QRX_HANDLE source = bench.Entry<decltype(qrx_create_frame_area_img_src)>(
        "qrx_create_frame_area_img_src")(board, 0, 0, 0, c.width, c.height);
    const QRX_HANDLE window = bench.Entry<decltype(qrx_create_win_img_sink)>(
        "qrx_create_win_img_sink")(&sink, c.bytes == 1 ? 8 : 24, 0, 0, c.width, c.height, 0);
    const QRX_HANDLE connection =
        bench.Entry<decltype(qrx_create_img_conn)>("qrx_create_img_conn")(source, window);
    auto display = bench.Entry<decltype(qrx_display_conn)>("qrx_display_conn");
    for (auto _ : state) {
        if (display(connection) != 0) state.SkipWithError("display failed");
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(pixels.size()));
    state.SetLabel(std::to_string(c.width) + "x" + std::to_string(c.height));
}
BENCHMARK(BM_FrameToSink)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The floor: one memcpy of the sink's bytes of the same frame.
void BM_FrameMemcpyFloor(benchmark::State &state) {
    const VideoCase &c = kVideoCases[state.range(0)];
    const std::size_t size = static_cast<std::size_t>(c.width * c.height * c.bytes);
    std::vector<std::uint8_t> from(size, 1), to(size);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), size);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
    state.SetLabel(std::to_string(c.width) + "x" + std::to_string(c.height));
}
BENCHMARK(BM_FrameMemcpyFloor)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
// Saving a 1300 x 1030 RGB frame as TIFF through the library, beside the
// floor of writing the same bytes to a file in the same folder. The TIFF save
// also writes its header and directory and renames a temporary over the file.
constexpr int kSaveWidth = 1300;
constexpr int kSaveHeight = 1030;

std::vector<std::uint8_t> RgbFrame() {
    std::vector<std::uint8_t> frame(std::size_t{kSaveWidth} * kSaveHeight * 3);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i * 31);
    return frame;
}

fs::path SaveFolder() {
    fs::path dir = fs::temp_directory_path() / ("qvi-bench-save-" + std::to_string(getpid()));
    fs::create_directories(dir);
    return dir;
}

void BM_TiffSaveRgb1300x1030(benchmark::State &state) {
    const std::vector<std::uint8_t> frame = RgbFrame();
    const fs::path dir = SaveFolder();
    const std::string path = (dir / "frame.tif").string();
    void *core = dlopen(QUAR_CORE_PATH, RTLD_NOW | RTLD_LOCAL);
    auto write = reinterpret_cast<decltype(&::qrx_write_image)>(dlsym(core, "qrx_write_image"));
    for (auto _ : state)
        if (write(path.c_str(), frame.data(), kSaveWidth, kSaveHeight, 3, 8) != 0)
            state.SkipWithError("qrx_write_image failed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * frame.size()));
    dlclose(core);
    fs::remove_all(dir);
}
BENCHMARK(BM_TiffSaveRgb1300x1030)->Unit(benchmark::kMicrosecond);

void BM_PlainWriteRgb1300x1030(benchmark::State &state) {
    const std::vector<std::uint8_t> frame = RgbFrame();
    const fs::path dir = SaveFolder();
    const std::string path = (dir / "frame.raw").string();
    for (auto _ : state) {
        std::FILE *file = std::fopen(path.c_str(), "wb");
        if (file == nullptr || std::fwrite(frame.data(), 1, frame.size(), file) != frame.size())
            state.SkipWithError("plain write failed");
        if (file) std::fclose(file);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * frame.size()));
    fs::remove_all(dir);
}
BENCHMARK(BM_PlainWriteRgb1300x1030)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qvi
