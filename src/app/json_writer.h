#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qvi {

// Builds one JSON document as text, for the command line's machine-readable
// output. Strings are written as pure ASCII: control characters and every
// non-ASCII character are \u escapes (a character beyond the first plane as a
// surrogate pair), and a byte that is not part of well-formed UTF-8 becomes
// U+FFFD, so any bytes a configuration holds give valid JSON.
//
// The writer puts the commas and the colons; the caller keeps the nesting
// right (every Begin has its End, a member has its Key first).
class JsonWriter {
public:
    JsonWriter &BeginObject();
    JsonWriter &EndObject();
    JsonWriter &BeginArray();
    JsonWriter &EndArray();
    JsonWriter &Key(std::string_view name);
    JsonWriter &String(std::string_view text);
    JsonWriter &Number(std::int64_t number);
    // A finite number in its shortest exact form; NaN and infinities, which
    // JSON cannot hold, become null.
    JsonWriter &Number(double number);
    JsonWriter &Bool(bool value);
    JsonWriter &Null();

    // The document so far, with a line feed after it once it is complete.
    std::string Text() const;

private:
    void BeforeValue();
    JsonWriter &Close(char bracket);

    std::string text_;
    // Per open object or array: whether it has a member yet.
    std::vector<bool> hasMember_;
    bool afterKey_ = false;
};

// The text as a JSON string literal, quotes included.
std::string JsonString(std::string_view text);

}  // namespace qvi
