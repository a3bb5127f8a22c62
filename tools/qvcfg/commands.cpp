// The qvcfg commands, from show to info, each on the configurator's own logic.
#include "commands.h"
#include "acquire_commands.h"
#include "check_commands.h"
#include "command_support.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>

#include "app/acquisition_info.h"
#include "app/config_document.h"
#include "app/json_writer.h"
#include "app/converter.h"
#include "app/module_description.h"
#include "app/module_fit.h"
#include "app/recent_files.h"
#include "app/setup_host.h"
#include "app/system_tree.h"
#include "app/system_window_lines.h"
#include "camdb/camera_db.h"
#include "keys/key_table.h"
#include "library/hardware.h"
#include "params/mod.h"
#include "params/module_setup.h"
#include "params/number_text.h"
#include "params/value_entry.h"
#include "system/board_plat_mod.h"
#include "system/config_state.h"
#include "system/config_writer.h"
#include "system/mod_factory.h"
#include "system/plat_mod.h"

namespace qvi::qvcfg {

namespace {

void PrintLines(const SystemTree &tree, bool json = false) {
    std::vector<std::string> lines =
        NoHardwareMode() ? ElementTexts(tree) : ElementModeLines(tree, tree.ActiveBoard());
    if (!json) {
        for (std::size_t i = 0; i < lines.size(); ++i) std::cout << i << "\t" << lines[i] << "\n";
        return;
    }
    JsonWriter out;
    out.BeginObject().Key("elements").BeginArray();
    for (std::size_t i = 0; i < lines.size(); ++i)
        out.BeginObject()
            .Key("index")
            .Number(static_cast<std::int64_t>(i))
            .Key("text")
            .String(lines[i])
            .EndObject();
    std::cout << out.EndArray().EndObject().Text();
}

int Show(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.size() != 1) return Usage("show takes CONFIG");
    Loaded loaded = Load(settings, services, options.words[0]);
    if (loaded.status != kSuccess) return loaded.status;
    PrintLines(*loaded.tree, options.json);
    return kSuccess;
}

int WriteTo(SystemTree &tree, const std::string &out) {
    if (out == "-") {
        WriteConfiguration(std::cout, tree.System(), "-", CurrentLocalTime());
        SetConfigModified(false);
        return kSuccess;
    }
    if (std::string why; tree.WriteTextFile(out, &why) != 0) {
        ReportError("Can't write config file: " + TextFileFor(out).string() + "\n" + why);
        return kFailed;
    }
    return kSuccess;
}

int Write(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.size() != 2) return Usage("write takes CONFIG OUT");
    Loaded loaded = Load(settings, services, options.words[0]);
    if (loaded.status != kSuccess) return loaded.status;
    return WriteTo(*loaded.tree, options.words[1]);
}

int Status(DocumentResult result) {
    return result == DocumentResult::Done ? kSuccess : kFailed;
}

int Save(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.empty() || options.words.size() > 2) return Usage("save takes CONFIG [OUT]");
    Loaded loaded = Load(settings, services, options.words[0]);
    if (loaded.status != kSuccess) return loaded.status;
    ConfigDocument &document = loaded.file->document;
    if (options.words.size() == 2) return Status(document.SaveAs(options.words[1]));
    return Status(document.Save());
}

int New(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.size() > 1) return Usage("new takes [OUT]");
    SystemTree *tree = services.Tree(settings);
    if (tree == nullptr) return kFailed;
    Document file(settings, *tree, services);
    // A system built without hardware after the boards present failed is not
    // what was asked for: a script learns it from the status.
    if (file.document.New() != DocumentResult::Done) return kFailed;
    if (options.words.size() == 1) return Status(file.document.SaveAs(options.words[0]));
    PrintLines(*tree);
    return kSuccess;
}

void SelectPort(QV_mod &module, int port) {
    for (const auto &row : module.GetUsrParams()) {
        if (dynamic_cast<QV_port_usr_param *>(row.get())) {
            row->SetIndex(port);
            return;
        }
    }
    module.SetPort(port);
    module.RefreshUsrParams();
}

std::string Shown(QV_usr_param &row) {
    if (row.GetControlKind() != ControlKind::DropDown) return row.GetValue().ToString();
    std::vector<std::string> choices = row.GetChoices();
    int index = row.GetIndex();
    return index >= 0 && index < static_cast<int>(choices.size())
               ? choices[static_cast<std::size_t>(index)]
               : std::string();
}

int Pages(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.size() != 2) return Usage("pages takes CONFIG INDEX");
    auto index = ElementIndex(options.words[1]);
    if (!index) return Usage("bad element index: " + options.words[1]);
    Loaded loaded = Load(settings, services, options.words[0]);
    if (loaded.status != kSuccess) return loaded.status;
    auto modules = SetupModulesOf(loaded.tree->System(), *index);
    if (!modules) return kFailed;
    if (options.port) SelectPort(*modules->module, *options.port);
    ConsoleSetupHost host;
    ModuleSetup setup(host, *index, *modules->module, modules->second, modules->secondIndex);
    JsonWriter json;
    json.BeginObject().Key("element").Number(std::int64_t{*index}).Key("pages").BeginArray();
    for (int tab = 0; tab < setup.TabCount(); ++tab) {
        if (options.json)
            json.BeginObject().Key("title").String(setup.TabTitle(tab)).Key("rows").BeginArray();
        else
            std::cout << "[" << setup.TabTitle(tab) << "]\n";
        const QV_mod &module = setup.TabModule(tab);
        const auto &group =
            module.GetParamGroups()[static_cast<std::size_t>(setup.TabGroupIndex(tab))];
        for (QV_usr_param *row : group->GetUsrParams()) {
            if (row->GetId() == QV_page_usr_param::kId) continue;
            if (!options.json) {
                std::cout << row->GetId() << "\t" << row->GetLabel() << "\t" << Shown(*row) << "\n";
                continue;
            }
            json.BeginObject().Key("id").Number(std::int64_t{row->GetId()});
            json.Key("label").String(row->GetLabel()).Key("value").String(Shown(*row));
            json.EndObject();
        }
        if (options.json) json.EndArray().EndObject();
    }
    if (options.json) std::cout << json.EndArray().EndObject().Text();
    return kSuccess;
}

QV_usr_param *FindRow(const SetupModules &modules, const std::string &name) {
    for (QV_mod *module : {modules.module, modules.second}) {
        if (module == nullptr) continue;
        if (!name.empty() && name[0] == '#') {
            auto id = ParseInteger(name.substr(1));
            if (id) {
                if (QV_usr_param *row = module->GetUsrParam(static_cast<int>(*id))) return row;
            }
            continue;
        }
        for (const auto &row : module->GetUsrParams())
            if (row->GetLabel() == name) return row.get();
    }
    return nullptr;
}

// One ROW=VALUE, the way the Module Setup dialog takes it.
bool Assign(const SetupModules &modules, ModuleSetupHost &host, const std::string &assignment) {
    std::size_t equals = assignment.find('=');
    std::string name = assignment.substr(0, equals);
    std::string value = equals == std::string::npos ? std::string() : assignment.substr(equals + 1);
    QV_usr_param *row = FindRow(modules, name);
    if (row == nullptr || row->GetId() == QV_page_usr_param::kId) {
        ReportError("no row: " + name);
        return false;
    }
    if (!row->IsEnabled()) {
        ReportError("row is not editable: " + name);
        return false;
    }
    auto refresh = [&] {
        if (row->NotifiesOwner() && row->GetModule()) host.RefreshOwner(*row->GetModule());
    };
    if (row->GetControlKind() == ControlKind::DropDown) {
        std::vector<std::string> choices = row->GetChoices();
        auto found = std::find(choices.begin(), choices.end(), value);
        if (found == choices.end()) {
            ReportError("Invalid entry: " + value);
            return false;
        }
        if (row->SetIndex(static_cast<int>(found - choices.begin())) < 0) return false;
        refresh();
        return true;
    }
    ValueEntry entry(*row, refresh);
    if (!entry.Ok(value)) return false;
    refresh();
    return true;
}

int Set(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.size() < 3 || options.output.empty())
        return Usage("set takes CONFIG INDEX ROW=VALUE... -o OUT");
    auto index = ElementIndex(options.words[1]);
    if (!index) return Usage("bad element index: " + options.words[1]);
    Loaded loaded = Load(settings, services, options.words[0]);
    if (loaded.status != kSuccess) return loaded.status;
    auto modules = SetupModulesOf(loaded.tree->System(), *index);
    if (!modules) return kFailed;
    if (options.port) SelectPort(*modules->module, *options.port);
    ConsoleSetupHost host;
    ModuleSetup setup(host, *index, *modules->module, modules->second, modules->secondIndex);
    for (std::size_t i = 2; i < options.words.size(); ++i)
        if (!Assign(*modules, host, options.words[i])) return kFailed;
    setup.Ok();
    return WriteTo(*loaded.tree, options.output);
}

int Add(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.size() != 3 || options.output.empty())
        return Usage("add takes CONFIG INDEX MODULE -o OUT");
    auto index = ElementIndex(options.words[1]);
    if (!index) return Usage("bad element index: " + options.words[1]);
    Loaded loaded = Load(settings, services, options.words[0]);
    if (loaded.status != kSuccess) return loaded.status;
    if (AddModule(loaded.tree->System(), *services.Factory(), *index, options.words[2]) != 0)
        return kFailed;
    return WriteTo(*loaded.tree, options.output);
}

int Remove(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.size() != 2 || options.output.empty())
        return Usage("remove takes CONFIG INDEX -o OUT");
    auto index = ElementIndex(options.words[1]);
    if (!index) return Usage("bad element index: " + options.words[1]);
    Loaded loaded = Load(settings, services, options.words[0]);
    if (loaded.status != kSuccess) return loaded.status;
    if (loaded.tree->System().RemoveElement(*index, *services.Factory(), {}) != 0) return kFailed;
    return WriteTo(*loaded.tree, options.output);
}

int Cameras(const Options &options, PlatformServices &services) {
    QV_camera_db *database = services.CameraDatabase();
    if (database == nullptr) return kFailed;
    std::vector<std::string> names;
    if (options.words.empty()) {
        names = database->GetNames();
    } else if (options.words.size() == 2) {
        auto port = ParseInteger(options.words[1]);
        if (!port) return Usage("bad port: " + options.words[1]);
        names = database->CameraNames(options.words[0], static_cast<int>(*port));
    } else {
        return Usage("cameras takes [MODULE PORT]");
    }
    if (!options.json) {
        for (const std::string &name : names) std::cout << name << "\n";
        return kSuccess;
    }
    JsonWriter json;
    json.BeginObject().Key("cameras").BeginArray();
    for (const std::string &name : names) json.String(name);
    std::cout << json.EndArray().EndObject().Text();
    return kSuccess;
}

int Convert(const Options &options, PlatformServices &services) {
    if (options.words.size() != 2) return Usage("convert takes SRC DST");
    return RunConverter(services.ProcessRunner(), options.words[0], options.words[1]) ==
                   ConverterOutcome::Converted
               ? kSuccess
               : kFailed;
}

// View Registers: the dump the library prints for the element's module is
// the command's result, so it goes to stdout without the console prefix.
int Registers(const Options &options, AppSettings &settings, PlatformServices &services,
              LibraryConsole &console) {
    if (options.words.size() != 2) return Usage("registers takes CONFIG INDEX");
    auto index = ElementIndex(options.words[1]);
    if (!index) return Usage("bad element index: " + options.words[1]);
    if (!HardwareEnabled()) {
        ReportError("registers: the register dump needs hardware (No-Hardware mode)");
        return kFailed;
    }
    Loaded loaded = Load(settings, services, options.words[0]);
    if (loaded.status != kSuccess) return loaded.status;
    auto modules = SetupModulesOf(loaded.tree->System(), *index);
    if (!modules) return kFailed;
    const LibraryConsole::Target previous = console.GetTarget();
    console.SetTarget(LibraryConsole::Target::Result);
    modules->module->ShowRegisters();
    const bool dumped = console.ResultWritten();
    console.SetTarget(previous);
    if (dumped) return kSuccess;
    ReportError("registers: no register dump for element " + options.words[1] + " (" +
                ModuleDescription(loaded.tree->System(), *index) + ")");
    return kFailed;
}

// One "KEY<TAB>VALUE" line each, in the order the board asks.
int Info(const Options &options, AppSettings &settings, PlatformServices &services) {
    if (options.words.size() != 2) return Usage("info takes CONFIG INDEX");
    auto index = ElementIndex(options.words[1]);
    if (!index) return Usage("bad element index: " + options.words[1]);
    Loaded loaded = Load(settings, services, options.words[0]);
    if (loaded.status != kSuccess) return loaded.status;
    std::optional<AcquisitionInfo> info = AcquisitionInfoOf(loaded.tree->System(), *index);
    if (!info) return kFailed;
    if (options.json) {
        JsonWriter json;
        json.BeginObject().Key("pixel_format").Number(std::int64_t{info->pixelFormat});
        json.Key("bits_per_pixel").Number(std::int64_t{info->bitsPerPixel});
        json.Key("height").Number(std::int64_t{info->height});
        json.Key("width").Number(std::int64_t{info->width});
        json.Key("hardware_revision").Number(std::int64_t{info->hardwareRevision});
        std::cout << json.EndObject().Text();
        return kSuccess;
    }
    std::cout << "pixel_format\t" << info->pixelFormat << "\n"
              << "bits_per_pixel\t" << info->bitsPerPixel << "\n"
              << "height\t" << info->height << "\n"
              << "width\t" << info->width << "\n"
              << "hardware_revision\t" << info->hardwareRevision << "\n";
    return kSuccess;
}

}  // namespace

int RunCommand(const Options &options, AppSettings &settings, PlatformServices &services,
               LibraryConsole &console) {
    const std::string &command = options.command;
    if (command == "show") return Show(options, settings, services);
    if (command == "write") return Write(options, settings, services);
    if (command == "save") return Save(options, settings, services);
    if (command == "new") return New(options, settings, services);
    if (command == "pages") return Pages(options, settings, services);
    if (command == "set") return Set(options, settings, services);
    if (command == "add") return Add(options, settings, services);
    if (command == "remove") return Remove(options, settings, services);
    if (command == "cameras") return Cameras(options, services);
    if (command == "convert") return Convert(options, services);
    if (command == "registers") return Registers(options, settings, services, console);
    if (command == "info") return Info(options, settings, services);
    if (command == "diff") return CameraDiff(options, settings, services);
    if (std::optional<int> status = RunAcquisitionCommand(options, settings, services))
        return *status;
    return Usage("unknown command: " + command);
}

}  // namespace qvi::qvcfg
