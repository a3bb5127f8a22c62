#pragma once

#include <memory>
#include <string>

#include "acquire/frame_sink.h"
#include "app/image_target.h"
#include "command_support.h"
#include "system/image_document.h"

namespace qvi::qvcfg {

// An image window for a command: the configuration, the board and channel
// the element stands for, the window's document and the memory it shows in
// place of the window. Closing the document ends what the board started.
struct ImageSession {
    Loaded loaded;
    int index = -1;  // the element the command named
    ImageTarget target;
    std::unique_ptr<ImageDocument> document;
    std::unique_ptr<FrameSink> sink;

    ImageSession() = default;
    ImageSession(const ImageSession &) = delete;
    ImageSession &operator=(const ImageSession &) = delete;
    ~ImageSession() { Close(); }
    void *Window() { return sink->Window(); }
    void Close();
};

// Opens CONFIG and the image window of element INDEX (the command's first
// two words); null after the reason was reported. Needs hardware.
std::unique_ptr<ImageSession> OpenSession(const Options &options, AppSettings &settings,
                                          PlatformServices &services);

// "width", "height" and "bits_per_pixel" lines for what the window shows.
void PrintImage(const ImageDocument &document);
// Save TIFF of the window; kSuccess or kFailed after a message.
int SaveShownImage(ImageSession &session, const std::string &path);

}  // namespace qvi::qvcfg
