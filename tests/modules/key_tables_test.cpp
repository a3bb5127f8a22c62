// Every model's key table checked once by structure: handles, words, locations, the registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "keys/key_table.h"

namespace qvi::keys {

// Test names and failures show the model rather than the table's address.
void PrintTo(const ModelTable *table, std::ostream *os) {
    *os << table->model;
}

namespace {

// By Field, in declaration order: None, U8, U16, S16, U32, S32, F32, InlineText, TextRef.
constexpr int kFieldSizes[] = {0, 1, 2, 2, 4, 4, 4, static_cast<int>(kInlineTextSize), 4};

int FieldSize(Field field) {
    return kFieldSizes[static_cast<int>(field)];
}

bool IsTextField(Field field) {
    return field == Field::InlineText || field == Field::TextRef;
}

struct Limits {
    double low, high;  // low > high: holds no number
};
constexpr Limits kNoNumber{1, 0};
constexpr Limits kU8{0, 0xff}, kU16{0, 0xffff}, kS16{-0x8000, 0x7fff}, kU32{0, 0xffffffff},
    kS32{-0x80000000LL, 0x7fffffff}, kFloat{-3.4e38, 3.4e38};
// By Field and by ValueType, in declaration order.
constexpr Limits kFieldLimits[] = {kNoNumber, kU8,    kU16,      kS16,     kU32,
                                   kS32,      kFloat, kNoNumber, kNoNumber};
constexpr Limits kTypeLimits[] = {kU8,  kU16,   kU32,      {-0x80, 0x7f}, kS16,
                                  kS32, kFloat, kNoNumber, kS32};

bool Within(Limits limits, double value) {
    return value >= limits.low && value <= limits.high;
}
// Whether a field of this kind holds the number; a bit field, whether its bits do.
bool FitsField(const Location &at, double value) {
    if (at.bitCount == 0) return Within(kFieldLimits[static_cast<int>(at.field)], value);
    const double span = static_cast<double>(1u << at.bitCount);
    const bool isSigned = at.field == Field::S16 && at.bitShift + at.bitCount == 16;
    return isSigned ? Within({-span / 2, span / 2 - 1}, value) : Within({0, span - 1}, value);
}
// Whether the number is a value of this type.
bool FitsType(ValueType type, double value) {
    return Within(kTypeLimits[static_cast<int>(type)], value);
}

bool IsBoardLike(const ModelTable &table) {
    return table.category == ModelCategory::Board || table.category == ModelCategory::BusTranslator;
}

// The record a location really lands in: a model whose specification is its
// camera structure keeps camera fields in the specification.
Record Storage(const ModelTable &table, Record record) {
    if (record == Record::Camera && table.layout.cameraRefOffset < 0) return Record::Spec;
    return record;
}

int RecordSize(const ModelTable &table, Record record) {
    switch (record) {
        case Record::Spec:
            return table.layout.specSize;
        case Record::Camera:
            return table.layout.cameraSize;
        case Record::Matrix:
            return table.layout.matrixSize;
        case Record::None:
            break;
    }
    return 0;
}

// A range of bits of a record: byte b's lowest bit is bit 8b, so the bits of
// a little-endian field are contiguous.
struct Extent {
    Record record;
    int begin;
    int end;
    std::string what;
};

Extent Bytes(Record record, int begin, int end, std::string what) {
    return {record, 8 * begin, 8 * end, std::move(what)};
}

// Every byte range a model's records use: its key fields and the fields of
// its layout (board header, slot number, structure references).
std::vector<Extent> Extents(const ModelTable &table) {
    const Layout &layout = table.layout;
    std::vector<Extent> extents;
    if (IsBoardLike(table)) extents.push_back(Bytes(Record::Spec, 0, kBoardHeaderSize, "header"));
    if (layout.slotOffset >= 0)
        extents.push_back(Bytes(Record::Spec, layout.slotOffset, layout.slotOffset + 2, "slot"));
    if (layout.cameraRefOffset >= 0) {
        for (int port = 0; port < layout.cameraPorts; ++port) {
            const int at = layout.cameraRefOffset + port * layout.cameraRefStride;
            extents.push_back(
                Bytes(Record::Spec, at, at + 4, "camera ref " + std::to_string(port)));
        }
    }
    if (layout.matrixRefOffset >= 0) {
        extents.push_back(Bytes(Storage(table, Record::Camera), layout.matrixRefOffset,
                                layout.matrixRefOffset + 4, "matrix ref"));
    }
    for (const KeyRow &row : table.keys) {
        const Location &at = row.location;
        if (at.record == Record::None) continue;
        Extent field = Bytes(Storage(table, at.record), at.offset, at.offset + FieldSize(at.field),
                             "handle " + std::to_string(row.handle));
        if (at.bitCount > 0) {
            EXPECT_LE(at.bitShift + at.bitCount, FieldSize(at.field) * 8) << field.what;
            field.begin += at.bitShift;
            field.end = field.begin + at.bitCount;
        }
        extents.push_back(std::move(field));
    }
    return extents;
}

class ModelTableTest : public testing::TestWithParam<const ModelTable *> {
protected:
    const ModelTable &table() const { return *GetParam(); }
};

TEST_P(ModelTableTest, HandlesAreUnique) {
    std::set<int> seen;
    for (const KeyRow &row : table().keys)
        EXPECT_TRUE(seen.insert(row.handle).second) << "handle " << row.handle;
}

TEST_P(ModelTableTest, RowsAreWellFormedForTheirKind) {
    for (const KeyRow &row : table().keys) {
        SCOPED_TRACE("handle " + std::to_string(row.handle));
        switch (row.kind) {
            case KeyKind::Choice: {
                ASSERT_FALSE(row.words.empty());
                // A bare choice may still carry its parameter's name, never written.
                if (row.named) {
                    EXPECT_FALSE(row.key.empty());
                }
                const bool defaultIsAWord =
                    std::any_of(row.words.begin(), row.words.end(),
                                [&](const Word &w) { return w.value == row.defaultNumber; });
                EXPECT_TRUE(defaultIsAWord) << "default " << row.defaultNumber;
                for (const Word &w : row.words) {
                    // A named choice cannot be written without a word.
                    EXPECT_FALSE(row.named && w.word.empty());
                    EXPECT_TRUE(FitsType(row.type, w.value)) << w.word;
                }
                break;
            }
            case KeyKind::Range:
                EXPECT_TRUE(row.radix == 10 || row.radix == 16) << row.radix;
                EXPECT_TRUE(row.words.empty());
                EXPECT_NE(row.type, ValueType::Text);
                EXPECT_TRUE(FitsType(row.type, row.defaultNumber)) << row.defaultNumber;
                break;
            case KeyKind::String:
                // Words only map a text that the library keeps as a number.
                EXPECT_EQ(row.words.empty(),
                          IsTextField(row.location.field) || row.location.record == Record::None);
                EXPECT_EQ(row.type, ValueType::Text);
                break;
        }
        // Only a bare choice, or a value that is never written, goes without a key.
        if (row.key.empty() && row.kind != KeyKind::Choice) {
            EXPECT_EQ(row.location.record, Record::None);
        }
    }
}

TEST_P(ModelTableTest, BareWordsAreUniqueAndNoKey) {
    std::set<std::string_view> keys;
    for (const KeyRow &row : table().keys)
        if (!row.key.empty()) keys.insert(row.key);
    std::set<std::string_view> bare;
    for (const KeyRow &row : table().keys) {
        if (row.kind != KeyKind::Choice || row.named) continue;
        // A row may list a word again for the same value: still one meaning.
        std::map<std::string_view, std::int32_t> own;
        for (const Word &w : row.words) {
            if (w.word.empty()) continue;  // written as no line: nothing to find
            const auto [seen, added] = own.emplace(w.word, w.value);
            if (!added) {
                EXPECT_EQ(seen->second, w.value) << "bare word " << w.word << " with two values";
                continue;
            }
            EXPECT_TRUE(bare.insert(w.word).second) << "bare word " << w.word << " twice";
            EXPECT_EQ(keys.count(w.word), 0u) << "bare word " << w.word << " is also a key";
        }
    }
}

TEST_P(ModelTableTest, LocationsFitTheirRecords) {
    const Layout &layout = table().layout;
    if (layout.cameraPorts > 0) {
        EXPECT_GT(layout.cameraSize, 0);
    }
    if (layout.cameraRefOffset < 0 && layout.cameraPorts > 0) {
        // The specification is the camera structure.
        EXPECT_EQ(layout.cameraPorts, 1);
        EXPECT_EQ(layout.specSize, layout.cameraSize);
    }
    if (layout.matrixRefOffset >= 0) {
        EXPECT_GT(layout.matrixSize, 0);
    }

    for (const KeyRow &row : table().keys) {
        SCOPED_TRACE("handle " + std::to_string(row.handle));
        const Location &at = row.location;
        EXPECT_EQ(at.record == Record::None, at.field == Field::None);
        if (at.record == Record::Camera) {
            EXPECT_GT(layout.cameraPorts, 0);
        }
        if (at.record == Record::Matrix) {
            EXPECT_GE(layout.matrixRefOffset, 0);
        }
        if (row.perPort) {
            EXPECT_EQ(layout.cameraPorts, 4);
            EXPECT_NE(at.record, Record::Spec);
        }
        if (at.record == Record::None) continue;

        // Every word's value, and a number's default, must fit the field.
        for (const Word &w : row.words) {
            EXPECT_TRUE(FitsField(at, w.value + row.storedDelta)) << w.word;
        }
        if (row.kind != KeyKind::String) {
            EXPECT_FALSE(IsTextField(at.field));
            EXPECT_TRUE(FitsField(at, row.defaultNumber + row.storedDelta));
        }
    }

    for (const Extent &extent : Extents(table())) {
        EXPECT_LE(extent.end, 8 * RecordSize(table(), extent.record))
            << extent.what << " at bit " << extent.begin;
    }
}

TEST_P(ModelTableTest, FieldsDoNotOverlap) {
    std::vector<Extent> extents = Extents(table());
    std::sort(extents.begin(), extents.end(), [](const Extent &a, const Extent &b) {
        return std::tie(a.record, a.begin) < std::tie(b.record, b.begin);
    });
    for (std::size_t i = 1; i < extents.size(); ++i) {
        const Extent &before = extents[i - 1];
        const Extent &after = extents[i];
        if (before.record != after.record) continue;
        EXPECT_GE(after.begin, before.end)
            << before.what << " overlaps " << after.what << " at bit " << after.begin;
    }
}

std::string TestName(const testing::TestParamInfo<const ModelTable *> &info) {
    std::string name(info.param->model);
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryModel, ModelTableTest,
                         testing::ValuesIn(AllModels().begin(), AllModels().end()), TestName);

// ---------------------------------------------------------------------------
// The registry as a whole.

TEST(KeyRegistry, SectionNamesAndAliases) {
    // Every section name and alias is loaded by the configurations of the
    // other tests; here, what must not be found: library names are not
    // section names and the other way round.
    ASSERT_NE(FindModel("SXP"), nullptr);
    EXPECT_EQ(FindSection("SXP"), nullptr);
    EXPECT_EQ(FindSection("TX-31"), nullptr);
    EXPECT_EQ(FindModel("TX-30"), nullptr);
    EXPECT_EQ(FindModel("Lumo"), nullptr);
    EXPECT_EQ(FindModel("EMPTY"), nullptr);
    EXPECT_EQ(FindModel("sxp"), nullptr);
    EXPECT_EQ(FindSection(""), nullptr);
    EXPECT_EQ(FindHandle(*FindModel("SXP"), 9), nullptr);
}

TEST(KeyRegistry, WhatEachModelTakesAndFits) {
    using enum SlotKind;
    for (const ModelTable *table : AllModels()) {
        SCOPED_TRACE(std::string(table->model));
        const std::string_view prefix = table->model.substr(0, 3);
        if (table->category == ModelCategory::SlotModule) {
            EXPECT_TRUE(table->slots.empty());
            EXPECT_EQ(table->fits, prefix == "TX-" ? Acquisition : Computational);
            EXPECT_TRUE(prefix == "TX-" || prefix == "RX-");
            // Only acquisition modules may still wait for their rows.
            if (table->rowsPending) {
                EXPECT_EQ(prefix, "TX-");
            }
        }
    }
    EXPECT_EQ(FindModel("SXA-VMOD")->fits, CameraChannel);
}

}  // namespace
}  // namespace qvi::keys
