// The TX-30's own module-library entries: its register dump, which also
// shows what the colour module holds beyond its registers, the FPGA load and
// the output look-up tables.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "quar/quar_api.h"
#include "quar/quar_modules.h"
#include "sim/console.h"
#include "sim/fpga_design.h"
#include "sim/library.h"

using quar::Library;

namespace {

constexpr std::string_view kModel = "TX-31";
constexpr const char *kOutputLutNames[] = {"linear", "HSI"};

quar::Element *ColourModule(QRX_HANDLE handle) {
    quar::Element *element = Library::Instance().Find(handle);
    return element && element->table->model == kModel ? element : nullptr;
}

}  // namespace

extern "C" {

// The register file, then the FPGA file, the output tables and the words the
// coefficient port took.
QUAR_EXPORT int tx30_dregs(QRX_HANDLE handle) {
    const quar::Element *element = ColourModule(handle);
    if (element == nullptr) return Library::Instance().DumpRegisters(handle);
    Library::Instance().DumpRegisters(handle);
    std::string text = "  FPGA file: ";
    text += element->fpgaFile.empty()
                ? "none"
                : element->fpgaFile + " (" + std::to_string(element->fpgaBytes) + " bytes)";
    text += "\n  output LUTs: ";
    text += element->outputLut < 0 ? "not set" : kOutputLutNames[element->outputLut];
    text += "\n  coefficient loads: " + std::to_string(element->coefficientLoads);
    text += "\n  coefficient port:";
    char word[8];
    for (std::uint16_t value : element->coefficientWords) {
        std::snprintf(word, sizeof word, " 0x%03X", value);
        text += word;
    }
    quar::ConsolePrint(text + "\n");
    return 0;
}

QUAR_EXPORT int16_t tx30_load(QRX_HANDLE handle, const char *path) {
    quar::Element *element = ColourModule(handle);
    if (element == nullptr) return -1;
    return static_cast<int16_t>(quar::LoadFpgaDesign(*element, path, true));
}

QUAR_EXPORT int16_t tx30_set_oluts(QRX_HANDLE handle, int32_t kind) {
    quar::Element *element = ColourModule(handle);
    if (element == nullptr || kind < 0 || kind > 1) return -1;
    element->outputLut = kind;
    return 0;
}

}  // extern "C"
