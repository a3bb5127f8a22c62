#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "camdb/camera_rec.h"
#include "platform/profile.h"

namespace qvi {

// The layout of the camera database file: a "[CameraDataBase]" section with
// the camera count, then one "[Cam<i>]" section per camera with six keys.

// The "NumberOfCameras" value; nothing when the key (or the file) is missing.
std::optional<int> ReadCameraCount(const Profile &profile);

// The text fields of camera `index`, read key by key in file order. The first
// missing key is reported with the file's name and ends the read with nothing.
std::optional<QV_camera_rec> ReadCameraText(const Profile &profile, int index);

// Whether camera `index` has a section at all. A count larger than the
// sections present (a slip, or a huge number) ends the load at the first
// missing one instead of reporting every missing camera.
bool HasCameraSection(const Profile &profile, int index);
// Reports the count that promised more cameras than the file holds.
void ReportMissingCameras(const Profile &profile, int count, int index, std::size_t read);

// The whole file for these cameras. A line break inside a value is written as
// a blank, so that no value can end its line early or open a section.
std::string DatabaseText(const std::vector<std::unique_ptr<QV_camera_rec>> &records);

}  // namespace qvi
