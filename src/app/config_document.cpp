// The configuration document: the File menu's New, Open, Save and Save As.
#include "app/config_document.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "app/app_settings.h"
#include "app/recent_files.h"
#include "app/system_tree.h"
#include "platform/input_file.h"
#include "platform/processes.h"
#include "platform/replace_file.h"
#include "platform/ui.h"
#include "system/config_state.h"
#include "system/config_writer.h"

namespace qvi {

namespace {

namespace fs = std::filesystem;

constexpr const char *kCaptionPrefix = "QVI Configurator - ";
constexpr const char *kUntitled = "Untitled";
// The Ui has no icon of its own for questions; like the program's other
// questions these carry the information kind.
constexpr MessageKind kQuestionIcon = MessageKind::Information;

// A file's content as it was before a save, to put back if the save is refused.
std::optional<std::string> ReadPreviousText(const fs::path &file) {
    if (!InputFileRefusal(file).empty() || !fs::is_regular_file(file)) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Notify(const std::function<void()> &callback) {
    if (callback) callback();
}

bool Exists(const std::string &name) {
    std::error_code error;
    return fs::exists(name, error);
}

// The list keeps whole paths: a name relative to the folder the program was
// started in means another file, or none, on the next start.
std::string ListedName(const std::string &name) {
    std::error_code error;
    const fs::path absolute = fs::absolute(name, error);
    return error ? name : absolute.lexically_normal().string();
}

bool TextWritten(DocumentResult result) {
    return result == DocumentResult::Done || result == DocumentResult::NotConverted;
}

bool IsBinaryName(const std::string &name) {
    if (name.size() < 4) return false;
    std::string extension = name.substr(name.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension == ".CNF";
}

}  // namespace

ConfigDocument::ConfigDocument(AppSettings &settings, SystemTree &tree, Processes &processes,
                               RecentFiles &recent)
    : settings_(settings), tree_(tree), processes_(processes), recent_(recent) {}

void ConfigDocument::SetCloseDialogs(std::function<void()> closeDialogs) {
    closeDialogs_ = std::move(closeDialogs);
}

void ConfigDocument::SetHardwareModeChanged(std::function<void()> hardwareModeChanged) {
    hardwareModeChanged_ = std::move(hardwareModeChanged);
}

void ConfigDocument::SetSystemReplaced(std::function<void(SystemReplacement)> systemReplaced) {
    systemReplaced_ = std::move(systemReplaced);
}

void ConfigDocument::SetCurrentFile(const std::string &name) {
    settings_.currentConfigFile = name;
    caption_ = kCaptionPrefix + name;
}

bool ConfigDocument::AskToSave(bool exiting) {
    if (!ConfigModified()) return true;
    const char *question = exiting ? "Save current file before exit?" : "Save current file?";
    MessageAnswer answer =
        CurrentUi().Ask(question, MessageButtons::YesNoCancel, kQuestionIcon, "Warning");
    if (answer == MessageAnswer::Cancel) return false;
    if (answer != MessageAnswer::Yes) return true;
    return TextWritten(Save());
}

DocumentResult ConfigDocument::New() {
    if (!AskToSave(false)) return DocumentResult::Cancelled;
    SetDetectOnNew(1);
    Notify(closeDialogs_);
    DocumentResult result = DocumentResult::Done;
    if (tree_.NewSystem(DetectOnNew() != 0) != 0) {
        SwitchToNoHardware();
        if (tree_.NewSystem(DetectOnNew() != 0) != 0) {
            ReportError("File New failed");
            return DocumentResult::Failed;
        }
        result = DocumentResult::FellBack;
    }
    if (systemReplaced_) systemReplaced_(SystemReplacement::New);
    SetCurrentFile(kUntitled);
    SetConfigModified(true);
    SetDetectOnNew(0);
    return result;
}

DocumentResult ConfigDocument::Open(const std::string &path) {
    if (!AskToSave(false)) return DocumentResult::Cancelled;
    return Load(path);
}

DocumentResult ConfigDocument::OpenStart(const std::string &commandLineFile) {
    if (commandLineFile.empty()) return New();
    SetCurrentFile(commandLineFile);
    return Open(commandLineFile);
}

DocumentResult ConfigDocument::OpenWithDialog() {
    if (!AskToSave(false)) return DocumentResult::Cancelled;
    auto chosen = CurrentUi().OpenFileDialog(
        "Open", {{"Binary Cfg Files", "*.cnf"}, {"ASCII Cfg Files", "*.txt"}}, settings_.cnfDir);
    if (!chosen) return DocumentResult::Cancelled;
    return Load(chosen->string());
}

// Detection stays off while the file loads; a failed load leaves it off and
// the file name and caption as they were. The model is then empty, and the
// windows show that rather than the configuration that was open before.
DocumentResult ConfigDocument::Load(const std::string &path) {
    Notify(closeDialogs_);
    const int detect = DetectOnNew();
    SetDetectOnNew(0);
    const bool loaded = tree_.LoadFile(path) == 0;
    if (systemReplaced_) systemReplaced_(SystemReplacement::Opened);
    if (!loaded) {
        // A listed file that has gone is not offered again.
        if (!Exists(path)) recent_.Remove(ListedName(path));
        return DocumentResult::Failed;
    }
    SetCurrentFile(path);
    SetDetectOnNew(detect);
    AddToRecent(path);
    return DocumentResult::Done;
}

DocumentResult ConfigDocument::Save() {
    const std::string name = settings_.currentConfigFile;
    if (name.empty()) return DocumentResult::Done;
    if (name == kUntitled) return SaveAsWithDialog();
    const DocumentResult saved = WriteAndConvert(name);
    if (saved != DocumentResult::Failed) AddToRecent(name);
    return saved;
}

DocumentResult ConfigDocument::SaveAs(std::string path) {
    if (fs::path(path).extension().empty()) path += ".txt";
    if (Exists(path) &&
        CurrentUi().Ask(MessageText("File: ", path, " already exists. Overwrite?"),
                        MessageButtons::OkCancel, kQuestionIcon, "") != MessageAnswer::Ok)
        return DocumentResult::Cancelled;
    const DocumentResult saved = WriteAndConvert(path);
    if (saved == DocumentResult::Failed) return saved;
    SetCurrentFile(path);
    AddToRecent(path);
    return saved;
}

// The converter proves that a written file loads again. Text it refuses (a
// configuration the library cannot take back) must not take the old file's
// place: the old content is put back and the changes stay unsaved.
DocumentResult ConfigDocument::WriteAndConvert(const std::string &name) {
    const fs::path text = WrittenFile(TextFileFor(name));
    const std::optional<std::string> previous = ReadPreviousText(text);
    const bool modified = ConfigModified();
    if (!WriteText(name)) return DocumentResult::Failed;
    const int converted = tree_.ConvertToBinary(name);
    if (converted == 0) return DocumentResult::Done;
    if (!tree_.ConverterRefusedText() || !previous) return DocumentResult::NotConverted;
    ReplaceFileContent(text, *previous);
    SetConfigModified(modified);
    ReportError("The configuration was not saved: " + text.string() +
                " keeps its previous content.");
    return DocumentResult::Failed;
}

DocumentResult ConfigDocument::SaveAsWithDialog() {
    auto chosen =
        CurrentUi().SaveFileDialog("Save As", {{"ASCII Cfg Files", "*.txt"}}, settings_.cnfDir);
    if (!chosen) return DocumentResult::Cancelled;
    return SaveAs(chosen->string());
}

// The tree clears the changed flag even when the write fails; the changes
// are then still unsaved, so the flag gets its old value back.
bool ConfigDocument::WriteText(const std::string &name) {
    const bool modified = ConfigModified();
    std::string why;
    if (tree_.WriteTextFile(name, &why) == 0) return true;
    SetConfigModified(modified);
    ReportError("Can't write config file: " + TextFileFor(name).string() + "\n" + why);
    return false;
}

DocumentResult ConfigDocument::ViewConfigFile() {
    const std::string &current = settings_.currentConfigFile;
    if (current.empty() || current == kUntitled) return DocumentResult::Failed;
    std::vector<std::string> command = TextViewerCommand();
    std::vector<std::string> args(command.begin() + 1, command.end());
    args.push_back(ViewedTextFile(current));
    WaitCursor wait;
    auto viewer = processes_.FindExecutable(command.front());
    if (!viewer || !processes_.StartDetached(*viewer, args)) {
        ReportInformation(command.front() + " not found");
        return DocumentResult::Failed;
    }
    return DocumentResult::Done;
}

// There is no way back: once off, the hardware stays off for the run, even
// when the New that follows is cancelled.
DocumentResult ConfigDocument::DisableHardware() {
    if (!CanDisableHardware()) return DocumentResult::Cancelled;
    if (CurrentUi().Ask("Disabling hardware will prevent re-enabling it. Do you want to continue?",
                        MessageButtons::YesNo, kQuestionIcon, "") != MessageAnswer::Yes)
        return DocumentResult::Cancelled;
    SwitchToNoHardware();
    return New();
}

void ConfigDocument::SwitchToNoHardware() {
    settings_.hardwareEnabled = false;
    settings_.boardsDetected = 0;
    SetDetectOnNew(0);
    Notify(hardwareModeChanged_);
}

void ConfigDocument::AddToRecent(const std::string &name) {
    if (name.empty()) return;
    if (!Exists(name)) {
        ReportError(MessageText("Previous Config file: ", name, " not found"));
        recent_.Remove(ListedName(name));
        return;
    }
    recent_.Add(ListedName(name));
}

bool ConfigDocument::CanSave() const {
    return ConfigModified();
}

bool ConfigDocument::CanViewConfigFile() const {
    return !ConfigModified();
}

bool ConfigDocument::CanDisableHardware() const {
    return static_cast<bool>(settings_.hardwareEnabled);
}

std::string ViewedTextFile(const std::string &current) {
    return IsBinaryName(current) ? TextFileFor(current).string() : current;
}

std::vector<std::string> TextViewerCommand() {
    const char *chosen = nullptr;
    for (const char *variable : {"VISUAL", "EDITOR"}) {
        const char *value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            chosen = value;
            break;
        }
    }
    std::vector<std::string> words;
    std::istringstream text(chosen ? chosen : "xdg-open");
    for (std::string word; text >> word;) words.push_back(word);
    if (words.empty()) words.push_back("xdg-open");
    return words;
}

}  // namespace qvi
