// Choosing the TIFF file an image window saves or loads.
#include "acquire/tiff_paths.h"

#include <filesystem>

#include "platform/ui.h"

namespace qvi {

namespace {

const std::vector<FileFilter> kTiffFilters = {{"TIFF Files (*.tif)", "*.tif"}};

}  // namespace

std::optional<std::string> ChooseTiffToSave() {
    std::optional<std::filesystem::path> chosen =
        CurrentUi().SaveFileDialog("Save TIFF file", kTiffFilters, {});
    if (!chosen || chosen->empty()) return std::nullopt;
    if (!chosen->has_extension()) chosen->replace_extension(".tif");
    std::error_code error;
    if (std::filesystem::exists(*chosen, error) &&
        CurrentUi().Ask(chosen->string() + " already exists.\nDo you want to replace it?",
                        MessageButtons::YesNo, MessageKind::Warning,
                        "Save TIFF file") != MessageAnswer::Yes)
        return std::nullopt;
    return chosen->string();
}

std::optional<std::string> ChooseTiffToLoad() {
    std::optional<std::filesystem::path> chosen =
        CurrentUi().OpenFileDialog("Load TIFF file", kTiffFilters, {});
    if (!chosen || chosen->empty()) return std::nullopt;
    return chosen->string();
}

}  // namespace qvi
