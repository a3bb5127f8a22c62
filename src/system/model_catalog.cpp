// The platform name of a model: the SXA camera channel's alias.
#include "system/model_catalog.h"

namespace qvi {

namespace {
constexpr const char *kChannelModel = "SXA-VMOD";
constexpr const char *kChannelPlatform = "TX0";
}  // namespace

std::string PlatformNameOf(const std::string &model) {
    return model == kChannelModel ? kChannelPlatform : model;
}

std::string ModelNameOf(const std::string &platformName) {
    return platformName == kChannelPlatform ? kChannelModel : platformName;
}

}  // namespace qvi
