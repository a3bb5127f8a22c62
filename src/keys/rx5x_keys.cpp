// The computational modules the configurator only lists: no keys, and their
// sections hold the slot line alone. Nothing reads their specification, so
// their layouts are empty.

#include "keys/model_tables.h"

namespace qvi::keys {
namespace {

constexpr ModelTable Listed(std::string_view model) {
    return {
        .model = model,
        .section = model,
        .category = ModelCategory::SlotModule,
        .fits = SlotKind::Computational,
        .slots = {},
        .layout = {},
        .keys = {},
    };
}

}  // namespace

constinit const ModelTable kRx50Table = Listed("RX-50");
constinit const ModelTable kRx51Table = Listed("RX-51");
constinit const ModelTable kRx52Table = Listed("RX-52");
constinit const ModelTable kRx53Table = Listed("RX-53");
constinit const ModelTable kRx54Table = Listed("RX-54");
constinit const ModelTable kRx55Table = Listed("RX-55");
constinit const ModelTable kRx56Table = Listed("RX-56");
constinit const ModelTable kRx57Table = Listed("RX-57");

}  // namespace qvi::keys
