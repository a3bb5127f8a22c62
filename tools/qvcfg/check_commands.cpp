// qvcfg validate and diff: the checks and the comparison below the front ends, printed here.
#include "check_commands.h"
#include "command_support.h"

#include <algorithm>
#include <iostream>
#include <sstream>

#include "app/config_check.h"
#include "app/config_diff.h"
#include "app/json_writer.h"
#include "app/module_description.h"
#include "app/row_limits.h"
#include "app/system_tree.h"
#include "config/text_parser.h"
#include "params/camera_list.h"
#include "params/mod.h"
#include "params/module_setup.h"
#include "platform/ui.h"
#include "system/config_state.h"
#include "system/config_writer.h"

namespace qvi::qvcfg {

namespace {

// diff's statuses, the diff convention.
constexpr int kEqual = 0;
constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

int Validate(const Options &options) {
    if (options.words.empty()) return Usage("validate takes FILE...");
    RowLimits limits;
    bool failed = false;
    for (const std::string &file : options.words) {
        const std::vector<ConfigProblem> problems = CheckConfigFile(file, limits);
        for (const ConfigProblem &problem : problems)
            std::cout << FormatProblem(file, problem) << "\n";
        failed = failed || ChecksFail(problems, options.werror);
    }
    return failed ? kFailed : kSuccess;
}

const char *ChangeWord(ConfigDifference::Change change) {
    switch (change) {
        case ConfigDifference::Change::Added:
            return "added";
        case ConfigDifference::Change::Removed:
            return "removed";
        case ConfigDifference::Change::Changed:
            break;
    }
    return "changed";
}

void PrintJson(const std::vector<ConfigDifference> &differences) {
    JsonWriter json;
    json.BeginObject().Key("equal").Bool(differences.empty()).Key("differences").BeginArray();
    for (const ConfigDifference &difference : differences) {
        json.BeginObject().Key("change").String(ChangeWord(difference.change));
        json.Key("path").String(difference.path);
        if (difference.change == ConfigDifference::Change::Changed) {
            json.Key("key").String(difference.key);
            json.Key("before").String(difference.before);
            json.Key("after").String(difference.after);
        }
        json.EndObject();
    }
    json.EndArray().EndObject();
    std::cout << json.Text();
}

int PrintDifferences(const std::vector<ConfigDifference> &differences, bool json) {
    if (json) {
        PrintJson(differences);
    } else {
        for (const ConfigDifference &difference : differences)
            std::cout << FormatDifference(difference) << "\n";
    }
    return differences.empty() ? kEqual : kDifferent;
}

int FileDiff(const Options &options) {
    if (options.words.size() != 2) {
        Usage("diff takes A B, or A --camera NAME --element INDEX --port P");
        return kTrouble;
    }
    std::optional<quar::Configuration> files[2];
    for (int i = 0; i < 2; ++i) {
        std::string error;
        files[i] = ReadConfiguration(options.words[static_cast<std::size_t>(i)], error);
        if (!files[i]) {
            ReportError(error);
            return kTrouble;
        }
    }
    return PrintDifferences(DiffConfigurations(*files[0], *files[1]), options.json);
}

QV_camera_usr_param *CameraRow(const SetupModules &modules, int port) {
    for (QV_mod *module : {modules.module, modules.second}) {
        if (module == nullptr) continue;
        for (const auto &row : module->GetUsrParams())
            if (auto *camera = dynamic_cast<QV_camera_usr_param *>(row.get()))
                if (camera->Port() == port) return camera;
    }
    return nullptr;
}

// The configuration the tree holds, as the writer writes it and the converter reads it.
std::optional<quar::Configuration> Written(const SystemTree &tree) {
    std::ostringstream text;
    WriteConfiguration(text, tree.System(), "-", CurrentLocalTime());
    quar::ConfigError error;
    auto config = quar::ParseConfigText(text.str(), "(written)", error);
    if (!config) ReportError("the configuration as written does not read back: " + error.Message());
    return config;
}

// Chooses the camera in the port's camera selector, as the Module Setup
// dialog does, and keeps it as its OK does.
bool ApplyCamera(const Options &options, const SetupModules &modules, int element) {
    QV_camera_usr_param *row = CameraRow(modules, *options.port);
    if (row == nullptr) {
        ReportError("diff: element " + std::to_string(element) +
                    " has no camera selector for port " + std::to_string(*options.port));
        return false;
    }
    ConsoleSetupHost host;
    ModuleSetup setup(host, element, *modules.module, modules.second, modules.secondIndex);
    row->Refresh();
    const std::vector<std::string> names = row->GetChoices();
    const auto found = std::find(names.begin(), names.end(), options.camera);
    if (found == names.end()) {
        ReportError("diff: no camera \"" + options.camera + "\" for " + row->ModuleKey() +
                    " port " + std::to_string(*options.port));
        return false;
    }
    if (row->SetIndex(static_cast<int>(found - names.begin())) < 0) return false;
    if (row->NotifiesOwner() && row->GetModule()) host.RefreshOwner(*row->GetModule());
    setup.Ok();
    return true;
}

}  // namespace

std::optional<int> RunFileCommand(const Options &options) {
    if (options.command == "validate") return Validate(options);
    if (options.command == "diff" && options.camera.empty()) return FileDiff(options);
    return std::nullopt;
}

int CameraDiff(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.size() != 1 || !options.element || !options.port) {
        Usage("diff takes A --camera NAME --element INDEX --port P");
        return kTrouble;
    }
    Loaded loaded = Load(settings, services, options.words[0]);
    if (loaded.status != kSuccess) return kTrouble;
    auto modules = SetupModulesOf(loaded.tree->System(), *options.element);
    if (!modules) return kTrouble;
    const std::optional<quar::Configuration> before = Written(*loaded.tree);
    if (!before || !ApplyCamera(options, *modules, *options.element)) return kTrouble;
    const std::optional<quar::Configuration> after = Written(*loaded.tree);
    if (!after) return kTrouble;
    return PrintDifferences(DiffConfigurations(*before, *after), options.json);
}

}  // namespace qvi::qvcfg
