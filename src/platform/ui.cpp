// The installed Ui and the shared error, warning and information reporting.
#include "platform/ui.h"

#include <thread>

#include "platform/console_ui.h"

namespace qvi {

namespace {

Ui *installedUi = nullptr;

Ui &FallbackUi() {
    static ConsoleUi console;
    return console;
}

}  // namespace

bool PollUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

Ui &CurrentUi() {
    return installedUi ? *installedUi : FallbackUi();
}

void InstallUi(Ui *ui) {
    installedUi = ui;
}

ScopedUi::ScopedUi(Ui &ui) : previous_(installedUi) {
    installedUi = &ui;
}

ScopedUi::~ScopedUi() {
    installedUi = previous_;
}

void ReportError(std::string_view text) {
    CurrentUi().ShowMessage(MessageKind::Error, text);
}

void ReportError(const std::ostringstream &text) {
    ReportError(text.str());
}

void ReportWarning(std::string_view text) {
    CurrentUi().ShowMessage(MessageKind::Warning, text);
}

void ReportWarning(const std::ostringstream &text) {
    ReportWarning(text.str());
}

void ReportInformation(std::string_view text) {
    CurrentUi().ShowMessage(MessageKind::Information, text);
}

}  // namespace qvi
