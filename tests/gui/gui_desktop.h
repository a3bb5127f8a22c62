#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/recent_files.h"
#include "gui/gui_session.h"
#include "gui/main_frame.h"
#include "platform/app_registry.h"
#include "system/config_state.h"

namespace qvi::testing {

// The main frame on the demo configuration as the desktop starts it, each
// test on its own session, settings store and recent-file list. The tests of
// the main frame and its windows derive their fixture from it.
class DesktopFixture {
protected:
    // The session first: a test may change its configuration directory (the
    // rack) before the frame reads it.
    bool StartSession() {
        session_ = std::make_unique<GuiSession>();
        return session_->Started();
    }
    // The frame placed where a previous run stored `rect` ("left top right
    // bottom"), opened on the demo; false when an error was shown.
    bool OpenDemo(const char *rect, bool show) {
        registry_ = std::make_unique<MemoryRegistry>();
        recent_ = std::make_unique<MemoryRecentFiles>();
        registry_->WriteString("Window size", "Rect", rect);
        frame_ = std::make_unique<CMainFrame>(session_->settings(), session_->services, *registry_,
                                              *recent_);
        frame_->RestorePlacement();
        if (show) frame_->show();
        session_->settings().currentConfigFile = session_->Demo();
        frame_->OpenStartConfiguration();
        return session_->ui.Errors().empty();
    }
    std::string FirstError() const {
        const std::vector<std::string> errors = session_->ui.Errors();
        return errors.empty() ? std::string() : errors.front();
    }
    // The frame goes first, then what it used.
    void TearDown() {
        SetConfigModified(false);
        frame_.reset();
        recent_.reset();
        registry_.reset();
        session_.reset();
    }

    std::unique_ptr<GuiSession> session_;
    std::unique_ptr<MemoryRegistry> registry_;
    std::unique_ptr<MemoryRecentFiles> recent_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace qvi::testing
