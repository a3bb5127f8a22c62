// The platform name of a model: the SXA camera channel's alias.
#include "system/model_catalog.h"

#include "keys/model_names.h"

namespace qvi {

namespace {
constexpr const char *kChannelPlatform = "TX0";
}  // namespace

std::string PlatformNameOf(std::string_view model) {
    return std::string(model == keys::kSxaChannelModel ? kChannelPlatform : model);
}

std::string ModelNameOf(const std::string &platformName) {
    return platformName == kChannelPlatform ? std::string(keys::kSxaChannelModel) : platformName;
}

}  // namespace qvi
