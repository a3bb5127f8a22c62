// An image window without a window, for the acquisition commands.
#include "image_session.h"

#include <iostream>

#include "acquire/image_commands.h"
#include "app/acquisition_info.h"
#include "library/hardware.h"
#include "platform/ui.h"

namespace qvi::qvcfg {

void ImageSession::Close() {
    if (document) CloseImageDocument(*document);
    document.reset();
}

std::unique_ptr<ImageSession> OpenSession(const Options &options, AppSettings &settings,
                                          PlatformServices &services) {
    auto index = ElementIndex(options.words[1]);
    if (!index) {
        Usage("bad element index: " + options.words[1]);
        return nullptr;
    }
    if (!HardwareEnabled()) {
        ReportError(options.command + ": acquisition needs hardware (No-Hardware mode)");
        return nullptr;
    }
    auto session = std::make_unique<ImageSession>();
    session->loaded = Load(settings, services, options.words[0]);
    if (session->loaded.status != kSuccess) return nullptr;
    const QV_system &system = session->loaded.tree->System();
    std::optional<ImageTarget> target = ImageTargetOf(system, *index);
    if (!target) return nullptr;
    session->index = *index;
    session->target = *target;
    session->sink = FrameSinkFor(system, *index);
    session->document =
        OpenImageDocument(*target->board, target->element, target->channel, target->title);
    return session;
}

void PrintImage(const ImageDocument &document) {
    std::cout << "width\t" << document.width << "\n"
              << "height\t" << document.height << "\n"
              << "bits_per_pixel\t" << document.bitsPerPixel << "\n";
}

int SaveShownImage(ImageSession &session, const std::string &path) {
    if (SaveTiff(*session.document, path, session.Window()) != 0) {
        ReportError("Can't write image file: " + path);
        return kFailed;
    }
    return kSuccess;
}

}  // namespace qvi::qvcfg
