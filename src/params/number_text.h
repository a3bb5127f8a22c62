#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qvi {

// Strict, locale-independent reading and writing of numbers typed by the user.
// The whole text must be a number; blanks before and after it are allowed.

// A decimal integer with an optional sign; nothing when the text is anything
// else or the number does not fit 64 bits.
std::optional<std::int64_t> ParseInteger(std::string_view text);

// A number in plain decimal notation ("12", "-1.5", ".5", "2.", "1e-3"); no
// hexadecimal, "inf" or "nan". Nothing for a number too large for a double;
// one too small becomes zero.
std::optional<double> ParseDecimal(std::string_view text);

// What printf's "%W.Pf" gives in the C locale: a point, never a comma, padded
// with spaces on the left to at least width characters.
std::string FormatFixed(double value, int width, int precision);

// Upper-case hexadecimal without a prefix, as "%X" gives it.
std::string FormatHexUpper(std::uint32_t value);

}  // namespace qvi
