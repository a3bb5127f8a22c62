#pragma once

// The binary form of a configuration, which the converter writes and the
// library loads.
//
// A 16-byte header, then the payload; every field little-endian:
//   header:  "QBCF", u16 version, u16 reserved (0), u32 payload length,
//            u32 CRC-32 of the payload
//   payload: u8 bus translator present, [module]
//            u32 systems, each: i32 number, i32 line, u32 boards,
//              each: module (the board), u32 modules, each: module
//   module:  text model (the library name), text section name, i32 instance,
//            i32 slot, i32 line, u8 flags (1 No_Hardware, 2 PIXSZ_Override=16),
//            u32 ports, each: u32 values, each: i32 handle, u8 kind,
//              kind 0: f64 number; kind 1: text
//   text:    u32 length, the bytes
// Models are kept by name and found again through the key tables on decoding;
// a key the tables have and the file lacks gets its default.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "config/config_model.h"

namespace quar {

inline constexpr std::array<std::uint8_t, 4> kBinaryMagic{'Q', 'B', 'C', 'F'};
inline constexpr std::uint16_t kBinaryVersion = 1;
inline constexpr std::size_t kBinaryHeaderSize = 16;

// The CRC-32 of zlib and PNG (reflected polynomial 0xEDB88320).
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

// Whether the bytes start with the binary form's magic.
bool HasBinaryMagic(std::span<const std::uint8_t> bytes);

std::vector<std::uint8_t> EncodeConfiguration(const Configuration &config);

// Nothing, with the reason in error, for anything that is not a sound binary
// configuration of this version whose models the tables know.
std::optional<Configuration> DecodeConfiguration(std::span<const std::uint8_t> bytes,
                                                 std::string &error,
                                                 const TableSet &tables = RegistryTables());

// Reads a configuration file in either form: binary when it starts with the
// magic, text otherwise.
std::optional<Configuration> LoadConfigurationFile(const std::filesystem::path &path,
                                                   ConfigError &error,
                                                   const TableSet &tables = RegistryTables());

}  // namespace quar
