#pragma once

#include <cstdint>
#include <utility>

#include "library/library_binding.h"
#include "modules/acquisition/acq_plat_mod.h"

namespace qvi::testing {

// The acquisition module of a board as the board asks it: the depth and pixel
// format the test gives (what the rack's module delivers), and either a fixed
// size or, for a board handle, the size the library acquires on that board.
class TestCamera final : public QV_acq_plat_mod {
public:
    TestCamera(LibraryBinding *binding, int pixelFormat, int depth, QRX_HANDLE board = 0,
               std::pair<int, int> size = {0, 0})
        : QV_acq_plat_mod("TX-40 plat_mod", binding, 0, "tx40"),
          board_(board),
          size_(size),
          pixelFormat_(static_cast<std::int16_t>(pixelFormat)),
          depth_(depth) {}
    std::int16_t GetBoardType() override { return pixelFormat_; }
    int GetBitsPerPixel() override { return depth_; }
    int GetImageWidth() override { return Size().first; }
    int GetImageHeight() override { return Size().second; }

private:
    std::pair<int, int> Size() {
        if (board_ == 0) return size_;
        std::int16_t width = 0, height = 0;
        Binding()->Entry<&::qrx_get_acq_dim>()(board_, &width, &height);
        return {width, height};
    }
    QRX_HANDLE board_;
    std::pair<int, int> size_;
    std::int16_t pixelFormat_;
    int depth_;
};

}  // namespace qvi::testing
