// The model names of the module type numbers a board reports for its slots.
#include "system/module_types.h"

#include <string_view>

namespace qvi {

namespace {

struct TypeName {
    int number;
    std::string_view name;
};

// clang-format off
constexpr TypeName kAcquisitionTypes[] = {
    {2, "TX-31"}, {3, "TX-20"}, {4, "TX-40"}, {5, "TX-50"}, {6, "TX-60"}, {7, "TX-70"},
    {8, "TX-70"}, {16, "TX-10"},
};
constexpr TypeName kComputationalTypes[] = {
    {1, "RX-57"}, {2, "RX-54"}, {3, "RX-30"}, {4, "RX-56"}, {5, "RX-55"}, {6, "RX-20"},
    {7, "RX-40"}, {8, "RX-22"}, {9, "RX-53"}, {10, "RX-51"}, {11, "RX-10"}, {12, "RX-50"},
    {100, "RX-52"},
};
// clang-format on

template <std::size_t N>
std::string NameOf(const TypeName (&table)[N], int typeNumber) {
    for (const TypeName &type : table)
        if (type.number == typeNumber) return std::string(type.name);
    return "EMPTY";
}

}  // namespace

std::string AcquisitionModuleName(int typeNumber) {
    return NameOf(kAcquisitionTypes, typeNumber);
}

std::string ComputationalModuleName(int typeNumber) {
    return NameOf(kComputationalTypes, typeNumber);
}

}  // namespace qvi
