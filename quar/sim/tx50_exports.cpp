// The TX-50's timing-generator entry: the module hands over the camera's
// times and the library works out the PLL and timing-generator settings,
// which it keeps in the port's camera structure.
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>

#include "quar/quar_api.h"
#include "quar/quar_modules.h"
#include "sim/library.h"

using quar::Library;

namespace {

constexpr std::size_t kCameraSize = 300;

// The custom PLL options the module leaves in the structure.
constexpr std::size_t kCustOption = 0x116;
constexpr std::size_t kCustN1 = 0x118;
constexpr std::size_t kCustVcoGain = 0x11a;
constexpr std::size_t kCustPostScaler = 0x11e;

// The module's crystal, and the range its VCO runs in.
constexpr double kCrystalMHz = 28.63636;
constexpr double kVcoMinMHz = 40.0;
constexpr double kVcoMaxMHz = 160.0;
constexpr int kMaxReferenceDivider = 127;
constexpr int kMaxFeedbackDivider = 4095;
constexpr std::array<int, 3> kPostScalers{1, 2, 4};

struct Pll {
    int referenceDivider = 1;
    int feedbackDivider = 0;
    int postScaler = 1;
    int vcoGain = 4;
    double pixelMHz = 0.0;
};

struct CustomOptions {
    bool on = false;
    int n1 = 1;
    int vcoGain = 0;
    int postScaler = 0;
};

std::int16_t ReadS16(const std::uint8_t *record, std::size_t offset) {
    return static_cast<std::int16_t>(quar::ReadField(record, kCameraSize, offset, 2));
}

void WriteS16(std::uint8_t *record, std::size_t offset, long value) {
    quar::WriteField(record, kCameraSize, offset, 2,
                     static_cast<std::uint16_t>(static_cast<std::int16_t>(value)));
}

bool IsPostScaler(int value) {
    return value == 1 || value == 2 || value == 4;
}

// The gain whose band holds the VCO's frequency, unless the camera names one.
int VcoGainFor(double vcoMHz, const CustomOptions &custom) {
    if (custom.on && custom.vcoGain >= 4 && custom.vcoGain <= 7) return custom.vcoGain;
    if (vcoMHz < 60.0) return 4;
    if (vcoMHz < 90.0) return 5;
    if (vcoMHz < 120.0) return 6;
    return 7;
}

// The smallest post scaler that brings the VCO into its range (the camera's
// own when it names one).
int PostScalerFor(double pixelMHz, const CustomOptions &custom) {
    if (custom.on && IsPostScaler(custom.postScaler)) return custom.postScaler;
    for (int scaler : kPostScalers)
        if (pixelMHz * scaler >= kVcoMinMHz) return scaler;
    return kPostScalers.back();
}

// Locked to the camera's line sync: the VCO makes the line's pixel clocks per line.
Pll CameraLocked(double pixelMHz, double lineUs, const CustomOptions &custom) {
    Pll pll;
    const long clocks = std::lround(pixelMHz * lineUs);
    pll.postScaler = PostScalerFor(pixelMHz, custom);
    pll.feedbackDivider = static_cast<int>(clocks * pll.postScaler);
    pll.pixelMHz = static_cast<double>(clocks) / lineUs;
    pll.vcoGain = VcoGainFor(pll.pixelMHz * pll.postScaler, custom);
    return pll;
}

// From the crystal: the dividers that come closest to the frequency asked for,
// the feedback divider a multiple of the camera's N1 when it names one.
Pll FromCrystal(double pixelMHz, const CustomOptions &custom) {
    Pll best;
    best.postScaler = PostScalerFor(pixelMHz, custom);
    const int step = custom.on && custom.n1 > 0 ? custom.n1 : 1;
    const double vcoMHz = pixelMHz * best.postScaler;
    double bestError = -1.0;
    for (int reference = 1; reference <= kMaxReferenceDivider; ++reference) {
        const double exact = vcoMHz * reference / kCrystalMHz;
        const long feedback = std::lround(exact / step) * step;
        if (feedback < 1 || feedback > kMaxFeedbackDivider) continue;
        const double made = kCrystalMHz * static_cast<double>(feedback) / reference;
        if (made > kVcoMaxMHz * 1.25) continue;
        const double error = std::fabs(made / best.postScaler - pixelMHz);
        if (bestError < 0.0 || error < bestError) {
            bestError = error;
            best.referenceDivider = reference;
            best.feedbackDivider = static_cast<int>(feedback);
            best.pixelMHz = made / best.postScaler;
        }
    }
    best.vcoGain = VcoGainFor(best.pixelMHz * best.postScaler, custom);
    return best;
}

}  // namespace

extern "C" {

QUAR_EXPORT int16_t tx50_prog_user_tgen(QRX_HANDLE handle, uint32_t camera, float pixel_mhz,
                                        float line_us, float hsync_low_us, float frame_us,
                                        float vsync_low_us, float vert_interval_us,
                                        int32_t interlace, int32_t clock_source,
                                        float accuracy_percent) {
    Library &library = Library::Instance();
    const quar::Element *element = library.Find(handle);
    if (element == nullptr || element->table == nullptr || element->table->model != "TX-50")
        return -1;
    std::uint8_t *record = library.Records().Resolve(camera);
    if (record == nullptr || library.Records().SizeOf(camera) < kCameraSize) return -1;
    const double pixelMHz = pixel_mhz;
    const double lineUs = line_us;
    if (!(pixelMHz > 0.0) || !(lineUs > 0.0) || !(frame_us >= line_us) || hsync_low_us < 0.0f ||
        vsync_low_us < 0.0f || vert_interval_us < 0.0f || !std::isfinite(pixelMHz * lineUs) ||
        pixelMHz * lineUs > 32767.0 || frame_us / line_us > 32767.0f)
        return -2;

    CustomOptions custom;
    custom.on = ReadS16(record, kCustOption) == 1;
    custom.n1 = ReadS16(record, kCustN1);
    custom.vcoGain = ReadS16(record, kCustVcoGain);
    custom.postScaler = ReadS16(record, kCustPostScaler);
    const Pll pll =
        clock_source == 1 ? CameraLocked(pixelMHz, lineUs, custom) : FromCrystal(pixelMHz, custom);
    if (pll.feedbackDivider <= 0) return -2;
    const bool locked =
        std::fabs(pll.pixelMHz - pixelMHz) / pixelMHz * 100.0 <= double{accuracy_percent};

    WriteS16(record, TX50_TGEN_REF_DIVIDER, pll.referenceDivider);
    WriteS16(record, TX50_TGEN_FEEDBACK_DIVIDER, pll.feedbackDivider);
    WriteS16(record, TX50_TGEN_POST_SCALER, pll.postScaler);
    WriteS16(record, TX50_TGEN_VCO_GAIN, pll.vcoGain);
    quar::WriteField(record, kCameraSize, TX50_TGEN_PIXEL_CLOCK, 4,
                     std::bit_cast<std::uint32_t>(static_cast<float>(pll.pixelMHz)));
    // The generator counts the clocks it is given: the one the PLL makes.
    WriteS16(record, TX50_TGEN_LINE_CLOCKS, std::lround(pll.pixelMHz * lineUs));
    WriteS16(record, TX50_TGEN_HSYNC_CLOCKS, std::lround(pll.pixelMHz * hsync_low_us));
    WriteS16(record, TX50_TGEN_FRAME_LINES, std::lround(frame_us / line_us));
    WriteS16(record, TX50_TGEN_VSYNC_HALF_LINES, std::lround(2.0 * vsync_low_us / lineUs));
    WriteS16(record, TX50_TGEN_VBLANK_LINES, std::lround(vert_interval_us / lineUs));
    WriteS16(record, TX50_TGEN_LOCKED, locked ? 1 : 0);
    WriteS16(record, TX50_TGEN_INTERLACE, interlace);
    WriteS16(record, TX50_TGEN_CLOCK_SOURCE, clock_source);
    return static_cast<int16_t>(locked ? 0 : 1);
}

}  // extern "C"
