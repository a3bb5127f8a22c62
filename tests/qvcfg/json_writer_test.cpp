// The JSON writer: nesting and escapes that give valid JSON for any bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>

#include "app/json_writer.h"

namespace qvi {
namespace {

TEST(JsonWriter, EscapesControlAndNonAsciiCharactersAndReplacesInvalidBytes) {
    EXPECT_EQ(JsonString("a\"b\\c\n\t\x01\x7f"), R"("a\"b\\c\n\t\u0001\u007f")");
    EXPECT_EQ(JsonString("\xc3\xa9"), R"("\u00e9")");                // é
    EXPECT_EQ(JsonString("\xf0\x9f\x98\x80"), R"("\ud83d\ude00")");  // beyond the first plane
    // A lone byte, an overlong slash, an encoded surrogate and a cut sequence.
    EXPECT_EQ(JsonString("\xff"), R"("\ufffd")");
    EXPECT_EQ(JsonString("\xc0\xaf"), R"("\ufffd\ufffd")");
    EXPECT_EQ(JsonString("\xed\xa0\x80"), R"("\ufffd\ufffd\ufffd")");
    EXPECT_EQ(JsonString("x\xe2\x82"), R"("x\ufffd\ufffd")");
    EXPECT_EQ(JsonString(std::string("a\0b", 3)), R"("a\u0000b")");
}

TEST(JsonWriter, NestedDocumentsReadBackAsWritten) {
    JsonWriter json;
    json.BeginObject().Key("list").BeginArray().Number(std::int64_t{-3}).Number(0.25).Bool(true);
    json.Null().BeginObject().EndObject().BeginArray().EndArray().EndArray();
    json.Key("nan").Number(std::nan("")).Key("text").String("\xff\n").EndObject();
    const std::string text = json.Text();
    ASSERT_EQ(text.back(), '\n');
    const nlohmann::json read = nlohmann::json::parse(text);
    EXPECT_EQ(read["list"], nlohmann::json::parse(R"([-3, 0.25, true, null, {}, []])"));
    EXPECT_TRUE(read["nan"].is_null());
    EXPECT_EQ(read["text"], "\xef\xbf\xbd\n");
}

}  // namespace
}  // namespace qvi
