// The TX-70's module-library entries beyond its register dump and copies:
// the colour-space matrix load and the two output look-up tables. The
// simulated board keeps what they load in registers, where the register
// viewer and the tests see it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numeric>
#include <string>

#include "quar/quar_api.h"
#include "quar/quar_modules.h"
#include "sim/console.h"
#include "sim/library.h"

using quar::Library;

namespace {

quar::Element *Tx70(QRX_HANDLE handle) {
    quar::Element *element = Library::Instance().Find(handle);
    return element && element->table && element->table->model == "TX-70" ? element : nullptr;
}

std::string Name(const quar::Element &element) {
    return "TX-70:" + std::to_string(element.instance);
}

// The converter takes each coefficient in 1/256 steps, 11 bits with sign
// (-4 to 3.996); values beyond are held at the ends.
std::uint32_t FixedPoint(float coefficient) {
    const long steps = std::lround(static_cast<double>(coefficient) * double{TX70_CSC_STEPS});
    const long held = std::clamp(steps, -1024L, 1023L);
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(held));
}

int LoadLut(QRX_HANDLE handle, int kind, const char *what) {
    quar::Element *element = Tx70(handle);
    if (element == nullptr) return -1;
    element->registers[TX70_LUT_REGISTER] = static_cast<std::uint32_t>(kind);
    element->inputLut.resize(256);
    std::iota(element->inputLut.begin(), element->inputLut.end(), std::uint16_t{0});
    quar::ConsolePrint(Name(*element) + " output LUT: " + what + "\n");
    return 0;
}

}  // namespace

extern "C" {

QUAR_EXPORT int tx70_load_matrix(QRX_HANDLE handle, const float *coefficients) {
    quar::Element *element = Tx70(handle);
    if (element == nullptr || coefficients == nullptr) return -1;
    std::string text = Name(*element) + " CSC matrix:";
    for (int i = 0; i < 9; ++i) {
        element->registers[TX70_CSC_FIRST_REGISTER + i] = FixedPoint(coefficients[i]);
        char number[24];
        std::snprintf(number, sizeof number, " %.3f", static_cast<double>(coefficients[i]));
        text += number;
    }
    quar::ConsolePrint(text + "\n");
    return 0;
}

QUAR_EXPORT int tx70_iluts(QRX_HANDLE handle) {
    return LoadLut(handle, TX70_LUT_LINEAR, "linear");
}

QUAR_EXPORT int tx70_hue_and_saturation(QRX_HANDLE handle) {
    return LoadLut(handle, TX70_LUT_HSI, "hue and saturation");
}

}  // extern "C"
