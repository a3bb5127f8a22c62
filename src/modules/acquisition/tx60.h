#pragma once

#include <cstdint>

#include "modules/acquisition/single_camera.h"
#include "params/usr_param.h"

namespace qvi {

// The TX-60, a digital camera module with one camera port: it generates the
// camera clock and an external sync for the camera, can send control data to
// it, and windows the incoming image. Its window is kept in hexadecimal, and
// its pixel depth follows the camera mode and camera id.
class TX60_plat_mod final : public QV_single_camera_plat_mod {
public:
    TX60_plat_mod(LibraryBinding *binding, std::uint32_t handle);

    // The acquisition size the container holds; 0 without a container.
    int GetImageWidth() override;
    int GetImageHeight() override;
    // 12 bits in camera mode "4" with camera id "2", otherwise 8.
    int GetBitsPerPixel() override;
};

// The parameter container of a TX-60: its keys, the rows and pages of its
// Module Setup dialog, and its section.
class QV_tx60_mod final : public QV_single_camera_mod {
public:
    explicit QV_tx60_mod(QV_plat_mod *platform);

    void CreateModParams() override;
    void CreateUsrParams() override;
    void CreateParamGroups() override;
};

// "Horizontal Active": whatever kind of number is entered is stored as a
// signed 16-bit value.
class TX60_horizontal_active_usr_param final : public QV_range_usr_param {
public:
    using QV_range_usr_param::QV_range_usr_param;

    int SetValue(const QV_param_val &value) override;
};

}  // namespace qvi
