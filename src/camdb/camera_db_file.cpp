// Reading and writing the camera database file's [CameraDataBase] and [Cam] sections.
#include "camdb/camera_db_file.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "platform/ui.h"

namespace qvi {

namespace {

constexpr std::string_view kDatabaseSection = "CameraDataBase";
constexpr std::string_view kCountKey = "NumberOfCameras";
// What a read returns for a key the file does not have.
constexpr std::string_view kMissing = "InVaLiD_EnTrY";
// Values are read into a buffer of this size, so at most 99 characters survive.
constexpr std::size_t kValueBuffer = 100;

struct KeyField {
    std::string_view key;
    std::string QV_camera_rec::*field;
};

// The keys of a camera section in the order they are read and written.
constexpr KeyField kKeyFields[] = {
    {"Name", &QV_camera_rec::name},
    {"ConfigFile", &QV_camera_rec::configFile},
    {"ValidTXMod", &QV_camera_rec::validModule},
    {"ValidTXPorts", &QV_camera_rec::validPorts},
    {"CablePartNumber", &QV_camera_rec::cablePartNumber},
    {"Comments", &QV_camera_rec::comments},
};

std::string CameraSection(int index) {
    return "Cam" + std::to_string(index);
}

std::optional<std::string> ReadKey(const Profile &profile, const std::string &section,
                                   std::string_view key) {
    std::string value = profile.GetString(section, key, kMissing, kValueBuffer);
    if (value != kMissing) return value;
    ReportError(MessageText("Can't find entry: \"", key, "\"\nin file: ", profile.Path().string()));
    return std::nullopt;
}

std::string OneLine(std::string value) {
    std::replace_if(
        value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return value;
}

// A reader trims a value and drops one pair of quotes around it: a value with
// blanks at its ends, or quotes of its own around it, is written in quotes so
// that it reads back as it was.
std::string Protected(std::string value) {
    const bool blankEnds =
        !value.empty() && (std::isspace(static_cast<unsigned char>(value.front())) ||
                           std::isspace(static_cast<unsigned char>(value.back())));
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    return blankEnds || quoted ? "\"" + value + "\"" : value;
}

void AppendEntry(std::string &text, std::string_view key, const std::string &value) {
    text.append(key).append(" = ").append(Protected(OneLine(value))).append("\n");
}

}  // namespace

std::optional<int> ReadCameraCount(const Profile &profile) {
    if (profile.GetString(kDatabaseSection, kCountKey, kMissing, kValueBuffer) == kMissing)
        return std::nullopt;
    return profile.GetInt(kDatabaseSection, kCountKey, 0);
}

std::optional<QV_camera_rec> ReadCameraText(const Profile &profile, int index) {
    const std::string section = CameraSection(index);
    QV_camera_rec record;
    for (const KeyField &entry : kKeyFields) {
        std::optional<std::string> value = ReadKey(profile, section, entry.key);
        if (!value) return std::nullopt;
        record.*entry.field = std::move(*value);
    }
    return record;
}

bool HasCameraSection(const Profile &profile, int index) {
    return profile.HasSection(CameraSection(index));
}

void ReportMissingCameras(const Profile &profile, int count, int index, std::size_t read) {
    ReportError(MessageText("\"", kCountKey, "\" is ", count, " but there is no [",
                            CameraSection(index), "] in file: ", profile.Path().string(), "\n",
                            read, read == 1 ? " camera" : " cameras", " read"));
}

std::string DatabaseText(const std::vector<std::unique_ptr<QV_camera_rec>> &records) {
    std::string text = "[" + std::string(kDatabaseSection) + "]\n";
    AppendEntry(text, kCountKey, std::to_string(records.size()));
    for (std::size_t i = 0; i < records.size(); ++i) {
        text.append("\n[").append(CameraSection(static_cast<int>(i))).append("]\n");
        for (const KeyField &entry : kKeyFields)
            AppendEntry(text, entry.key, (*records[i]).*entry.field);
    }
    return text;
}

}  // namespace qvi
