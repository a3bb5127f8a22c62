#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/ui.h"

namespace qvi {

// The desktop's Ui: modal message boxes over the main window, the system's
// file dialogs, the wait cursor, and an event pump for waits such as the
// converter's reply.
class QtUi : public Ui {
public:
    // Boxes and dialogs are centred on `parent` once it is set.
    void SetParent(QWidget *parent) { parent_ = parent; }

    void ShowMessage(MessageKind kind, std::string_view text) override;
    MessageAnswer Ask(std::string_view text, MessageButtons buttons, MessageKind icon,
                      std::string_view caption) override;
    std::optional<std::filesystem::path> OpenFileDialog(
        std::string_view title, const std::vector<FileFilter> &filters,
        const std::filesystem::path &initialDir) override;
    std::optional<std::filesystem::path> SaveFileDialog(
        std::string_view title, const std::vector<FileFilter> &filters,
        const std::filesystem::path &initialPath) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    bool PumpUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout) override;

private:
    QPointer<QWidget> parent_;
    int waitDepth_ = 0;
};

// "ASCII Cfg Files (*.txt);;..." for a Qt file dialog.
QString FilterText(const std::vector<FileFilter> &filters);

}  // namespace qvi
