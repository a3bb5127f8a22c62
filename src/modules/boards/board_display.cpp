// The image window's display as every acquiring board builds it: source,
// sink, connection and server, with the DirectDraw fall-backs.
#include "modules/boards/board_display.h"

#include "library/library_binding.h"
#include "modules/acquisition/acq_plat_mod.h"
#include "platform/ui.h"
#include "system/image_document.h"

namespace qvi {

namespace {

constexpr int kColumnGroup = 8;
constexpr int kServerPeriodMs = 20;
// The overlay colour key, red 128 and green 128, as the library takes colours.
constexpr std::uint32_t kOverlayKey = 0x8080;
// From this hardware revision on a 16-bit image takes the 16-bit DirectDraw mode.
constexpr int kLastRevisionWithout16BitMode = 35;
constexpr int kSixteenBits = 16;

// A sink takes 8 bits per pixel for every depth below 16.
int SinkDepth(int depth) {
    return depth < kSixteenBits ? 8 : depth;
}

int SinkMode(const ImageDocument &document, const DisplayRequest &request) {
    if (document.displayMode == ImageDocument::kDirectDraw && request.depth == kSixteenBits &&
        request.hardwareRevision > kLastRevisionWithout16BitMode)
        return ImageDocument::kDirectDraw16;
    return document.displayMode;
}

// Sink and connection in one display mode; false when either is refused.
bool Connect(const LibraryBinding &binding, ImageDocument &document,
             const DisplayRequest &request, int mode, DisplayArea area) {
    auto createSink = binding.Entry<&::qrx_create_win_img_sink>();
    auto createConnection = binding.Entry<&::qrx_create_img_conn>();
    if (createSink == nullptr || createConnection == nullptr || document.source == 0) return false;
    document.sink = createSink(request.window, SinkDepth(request.depth), 0, 0, area.width,
                               area.height, mode);
    if (document.sink == 0) return false;
    document.connection = createConnection(document.source, document.sink);
    return document.connection != 0;
}

void DeleteConnectionAndSink(const LibraryBinding &binding, ImageDocument &document) {
    if (auto remove = binding.Entry<&::qrx_delete_img_conn>(); remove && document.connection)
        remove(document.connection);
    if (auto remove = binding.Entry<&::qrx_delete_img_sink>(); remove && document.sink)
        remove(document.sink);
    document.connection = 0;
    document.sink = 0;
}

// Zoom, colour key and one draw of a new connection.
void Present(const LibraryBinding &binding, const ImageDocument &document) {
    if (auto zoom = binding.Entry<&::qrx_set_display_zoom_img_conn>())
        zoom(document.connection, document.zoom, document.zoom);
    auto keyOf = binding.Entry<&::qrx_get_dest_key_rep>();
    auto setKey = binding.Entry<&::qrx_set_color_key_img_conn>();
    if (keyOf && setKey) setKey(document.connection, keyOf(kOverlayKey, 0, 0));
    if (auto draw = binding.Entry<&::qrx_display_img_conn>()) draw(document.connection, 0, 0);
}

bool StartServer(const LibraryBinding &binding, ImageDocument &document) {
    auto create = binding.Entry<&::qrx_create_img_server>();
    // The library keeps the value for the window; the channel tells windows apart.
    document.server = create ? create(document.connection, kServerPeriodMs, document.channel) : 0;
    return document.server != 0;
}

}  // namespace

AcquiredImage ImageOf(QV_plat_mod *acquisitionModule) {
    AcquiredImage image;
    auto *module = dynamic_cast<QV_acq_plat_mod *>(acquisitionModule);
    if (module == nullptr) return image;
    image.pixelFormat = module->GetBoardType();
    image.depth = module->GetBitsPerPixel();
    image.height = module->GetImageHeight();
    image.width = module->GetImageWidth();
    return image;
}

std::int64_t FrameCount(LibraryBinding *binding, QRX_HANDLE board, int frame) {
    auto count = binding ? binding->Entry<&::qrx_get_frame_count>() : nullptr;
    return count && frame >= 0 ? count(board, frame) : -1;
}

DisplayArea ScrolledArea(const ImageDocument &document, int imageWidth, int imageHeight) {
    const int width = imageWidth - document.scrollX;
    return {width - width % kColumnGroup, imageHeight - document.scrollY};
}

bool BuildDisplay(const LibraryBinding &binding, ImageDocument &document,
                  const DisplayRequest &request, const SourceMaker &makeSource) {
    document.window = request.window;
    const DisplayArea area = ScrolledArea(document, request.imageWidth, request.imageHeight);
    if (area.width > 0 && area.height > 0) document.source = makeSource(area.width, area.height);
    if (auto scroll = binding.Entry<&::qrx_set_img_src_aoi>(); scroll && document.source)
        scroll(document.source, document.scrollX, document.scrollY);

    int mode = SinkMode(document, request);
    bool connected = Connect(binding, document, request, mode, area);
    if (!connected && mode != ImageDocument::kPlainDisplay) {
        DeleteConnectionAndSink(binding, document);
        mode = ImageDocument::kPlainDisplay;
        connected = Connect(binding, document, request, mode,
                            {request.imageWidth, request.imageHeight});
    }
    if (connected) {
        Present(binding, document);
        if (request.server && !StartServer(binding, document) &&
            mode != ImageDocument::kPlainDisplay) {
            DeleteConnectionAndSink(binding, document);
            connected = Connect(binding, document, request, ImageDocument::kPlainDisplay, area);
            if (connected) {
                Present(binding, document);
                StartServer(binding, document);
            }
        }
    }
    if (!connected) {
        DeleteConnectionAndSink(binding, document);
        ReportWarning("qrx_create_image_conn() failed.\n");
    }
    document.imageValid = connected;
    return connected;
}

void DeleteDisplay(const LibraryBinding &binding, ImageDocument &document) {
    if (auto remove = binding.Entry<&::qrx_delete_img_server>(); remove && document.server)
        remove(document.server);
    document.server = 0;
    DeleteConnectionAndSink(binding, document);
    if (auto remove = binding.Entry<&::qrx_delete_img_src>(); remove && document.source)
        remove(document.source);
    document.source = 0;
    document.imageValid = false;
}

std::string SizeCaption(const std::string &name, int width, int height) {
    return " " + name + " -- " + std::to_string(width) + " x " + std::to_string(height);
}

std::string SizeDepthCaption(const std::string &name, int width, int height, int depth) {
    return SizeCaption(name, width, height) + " x " + std::to_string(depth);
}

}  // namespace qvi
