#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qvi {

class AppSettings;
class Processes;
class RecentFiles;
class SystemTree;

// How a file command ended.
enum class DocumentResult {
    Done,          // it did everything it set out to do
    Cancelled,     // a question or a file dialog was answered with Cancel (or No)
    Failed,        // it stopped on a failure, after that failure's messages
    NotConverted,  // the text file is written, but the converter did not renew the binary twin
    FellBack,      // New built the system without hardware after the boards present failed
};

// The open configuration as the File menu sees it: the model held by the
// system tree, the current file name together with the main window caption,
// and the changed flag. It runs New, Open, Save, Save As, View Config File and
// Hardware Disabled, keeps the recent-file list, and says which of those the
// menu offers (New, Open, Save As and Exit always are). It draws no windows:
// the owner hooks its own in through the callbacks.
class ConfigDocument {
public:
    ConfigDocument(AppSettings &settings, SystemTree &tree, Processes &processes,
                   RecentFiles &recent);

    // Before New or Open replaces the model: the desktop closes its Module
    // Setup dialogs and empties the board selector.
    void SetCloseDialogs(std::function<void()> closeDialogs);
    // After the hardware was switched off: the desktop destroys the hardware
    // variant of the system window.
    void SetHardwareModeChanged(std::function<void()> hardwareModeChanged);
    // After New or Open filled the model: the desktop rebuilds the system
    // window from the model; after New it also shows it.
    enum class SystemReplacement { New, Opened };
    void SetSystemReplaced(std::function<void(SystemReplacement)> systemReplaced);

    // Sets currentConfigFile and the caption in one step.
    void SetCurrentFile(const std::string &name);
    // "QVI Configurator - " and the current file; "Configurator" before any.
    const std::string &Caption() const { return caption_; }

    // With unsaved changes, asks whether to save them first. Returns whether
    // the command that asked goes on: Cancel stops it, No lets it go on, Yes
    // saves and lets it go on only once the text file is written (a cancelled
    // Save As or a failed write stops it; a converter failure does not).
    bool AskToSave(bool exiting);

    DocumentResult New();
    // Opens `path` (the recent-file entries come here).
    DocumentResult Open(const std::string &path);
    // The start-up configuration: the file the command line named, which names
    // the window even when it does not load, or New when none was named.
    DocumentResult OpenStart(const std::string &commandLineFile);
    // Asks to save, then offers the open dialog in the configuration directory.
    DocumentResult OpenWithDialog();
    // Writes the current file and its binary twin; an untitled one is saved as.
    DocumentResult Save();
    DocumentResult SaveAs(std::string path);
    DocumentResult SaveAsWithDialog();
    // Starts the desktop's text viewer on the text of the current file.
    DocumentResult ViewConfigFile();
    // After the question, switches to No-Hardware mode for the rest of the run
    // and starts a new configuration.
    DocumentResult DisableHardware();

    // Puts an existing file first in the recent-file list; an empty name is
    // ignored and a missing file is reported.
    void AddToRecent(const std::string &name);

    bool CanSave() const;
    bool CanViewConfigFile() const;
    bool CanDisableHardware() const;

private:
    DocumentResult Load(const std::string &path);
    bool WriteText(const std::string &name);
    DocumentResult WriteAndConvert(const std::string &name);
    void SwitchToNoHardware();

    AppSettings &settings_;
    SystemTree &tree_;
    Processes &processes_;
    RecentFiles &recent_;
    std::string caption_ = "Configurator";
    std::function<void()> closeDialogs_;
    std::function<void()> hardwareModeChanged_;
    std::function<void(SystemReplacement)> systemReplaced_;
};

// The file View Config File shows for `current`: a binary name (".CNF" in any
// letter case) shows its text twin, any other name itself. Names are
// case-sensitive here, so only the extension changes: it becomes ".txt" (what
// Save As writes), or ".TXT" (what saving under the binary name writes) when
// only that one exists.
std::string ViewedTextFile(const std::string &current);

// The desktop's viewer for text files: $VISUAL, else $EDITOR, else
// "xdg-open". The program first, then any arguments the variable carries.
std::vector<std::string> TextViewerCommand();

}  // namespace qvi
