// The image window's commands, display options and view rules, without widgets.
#include "acquire/image_commands.h"

#include <cstdio>

#include "modules/acquisition/acq_plat_mod.h"
#include "system/board_plat_mod.h"

namespace qvi {

namespace {

// Above this hardware revision a board displays 16-bit images through the
// 16-bit DirectDraw path.
constexpr int kLastRevisionWithout16BitDirectDraw = 35;

// The board of a document, told the document's channel first.
QV_board_plat_mod *BoardOf(ImageDocument &document) {
    if (document.board != nullptr) document.board->SelectChannel(document.channel);
    return document.board;
}

int AcquireWith(ImageDocument &document, void *window, int code) {
    QV_board_plat_mod *board = BoardOf(document);
    return board ? board->Acquire(window, document.width, document.height, code) : 0;
}

int GrabAgain(ImageDocument &document, void *window) {
    QV_board_plat_mod *board = BoardOf(document);
    return board ? board->GrabLive(window, document.width, document.height) : 0;
}

}  // namespace

std::unique_ptr<ImageDocument> OpenImageDocument(QV_board_plat_mod &board,
                                                 const QV_sys_element *element, int channel,
                                                 std::string title) {
    auto document = std::make_unique<ImageDocument>();
    document->title = std::move(title);
    document->channel = channel;
    document->board = &board;
    document->boardElement = element;
    board.SetDocument(channel, document.get());
    DirectDrawAvailable(*document);
    return document;
}

int Grab(ImageDocument &document, void *window) {
    document.frozen = false;
    return GrabAgain(document, window);
}

int Snap(ImageDocument &document, void *window) {
    document.frozen = false;
    document.state = ImageDocument::kSnapped;
    return AcquireWith(document, window, 1);
}

int Clear(ImageDocument &document, void *window) {
    document.frozen = false;
    document.state = ImageDocument::kCleared;
    return AcquireWith(document, window, 2);
}

int Redisplay(ImageDocument &document, void *window) {
    switch (document.state) {
        case ImageDocument::kLiveGrab:
            return GrabAgain(document, window);
        case ImageDocument::kFromFile:
            return AcquireWith(document, window, -3);
        default:
            return AcquireWith(document, window, -1);
    }
}

int RoundedScrollX(int x) {
    return (x + 7) / 8 * 8;
}

int RoundedScrollY(int y) {
    return y / 8 * 8;
}

void ScrollTo(ImageDocument &document, int x, int y, void *window) {
    if (document.stretch || document.state == ImageDocument::kFromFile || !document.imageValid)
        return;
    document.scrollX = RoundedScrollX(x);
    document.scrollY = RoundedScrollY(y);
    Redisplay(document, window);
}

void ToggleStretch(ImageDocument &document, void *window) {
    document.stretch = !document.stretch;
    document.zoom = document.stretch ? -1.0 : 1.0;
    if (document.state == ImageDocument::kLiveGrab)
        GrabAgain(document, window);
    else
        AcquireWith(document, window, -1);
}

void ToggleDirectDraw(ImageDocument &document, void *window) {
    if (document.displayMode != ImageDocument::kPlainDisplay) {
        document.displayMode = ImageDocument::kPlainDisplay;
    } else {
        const bool newBoard = document.board != nullptr && document.board->HardwareRevision() >
                                                               kLastRevisionWithout16BitDirectDraw;
        document.displayMode = document.bitsPerPixel == 16 && newBoard
                                   ? ImageDocument::kDirectDraw16
                                   : ImageDocument::kDirectDraw;
    }
    if (document.state != ImageDocument::kLiveGrab) Redisplay(document, window);
}

bool DirectDrawAvailable(ImageDocument &document) {
    QV_board_plat_mod *board = BoardOf(document);
    int width = document.width;
    int height = document.height;
    return board != nullptr && board->Acquire(nullptr, width, height, -3) != 0;
}

ScrollRange ScrollRangeOf(const ImageDocument &document) {
    if (document.stretch) return {1, 1};
    return {document.width, document.height};
}

bool PixelReadoutOn(const ImageDocument &document) {
    return document.imageValid && document.state != ImageDocument::kLiveGrab &&
           document.bitsPerPixel == 8 && !document.frozen && !document.stretch;
}

std::optional<std::string> PixelReadout(ImageDocument &document, int x, int y) {
    if (!PixelReadoutOn(document)) return std::nullopt;
    QV_board_plat_mod *board = BoardOf(document);
    const int imageX = document.scrollX + x;
    const int imageY = document.scrollY + y;
    const int value = board ? board->ReadPixel(imageX, imageY) : 0;
    char text[64];
    std::snprintf(text, sizeof text, "x= %d  y=%d pix=%d\n", imageX, imageY, value);
    return std::string(text);
}

std::optional<FillColour> Paint(ImageDocument &document) {
    std::optional<FillColour> fill;
    if (document.displayMode != ImageDocument::kPlainDisplay &&
        document.state == ImageDocument::kLiveGrab) {
        fill = document.displayMode == ImageDocument::kDirectDraw16 ? FillColour{128, 128, 0}
                                                                    : FillColour{255, 255, 255};
    }
    if (document.imageValid && document.state != ImageDocument::kLiveGrab)
        if (QV_board_plat_mod *board = BoardOf(document)) board->Redraw(document.channel);
    return fill;
}

namespace {

// The depth the board's acquisition module delivers for the document's
// channel; 0 when the board has no such module.
int DeliveredDepth(ImageDocument &document) {
    QV_board_plat_mod *board = document.board;
    if (board == nullptr) return 0;
    QV_plat_mod *module = board->ChannelModule(document.channel);
    if (module == nullptr) module = board->AcquisitionModule();
    auto *acquisition = dynamic_cast<QV_acq_plat_mod *>(module);
    return acquisition ? acquisition->GetBitsPerPixel() : 0;
}

}  // namespace

// Not every board keeps the document's depth up to date (the DQ-500 leaves
// it at 8 behind a colour image): grey only when the module says 8 too, so
// that colour is never lost.
FrameSink::Format SinkFormatOf(ImageDocument &document) {
    const int delivered = DeliveredDepth(document);
    const bool grey = document.bitsPerPixel == 8 && (delivered == 0 || delivered == 8);
    return grey ? FrameSink::Format::Grey8 : FrameSink::Format::Xrgb32;
}

int SaveTiff(ImageDocument &document, const std::string &path, void *window) {
    QV_board_plat_mod *board = BoardOf(document);
    const int result = board ? board->SaveImageFile(path) : 0;
    // The redisplay may retitle the window with the depth; a saved image is
    // titled with its size alone.
    Redisplay(document, window);
    char caption[512];
    std::snprintf(caption, sizeof caption, " %s -- %d x %d", document.title.c_str(), document.width,
                  document.height);
    document.caption = caption;
    return result;
}

// The result is kept as it stands: a board that reports 0 leaves the window
// counted as showing a file image.
int LoadTiff(ImageDocument &document, const std::string &path, void *window) {
    QV_board_plat_mod *board = BoardOf(document);
    const int result =
        board ? board->LoadImageFile(path, window, document.width, document.height) : 0;
    document.imageValid = result != 0;
    if (result == 0) document.state = ImageDocument::kFromFile;
    return result;
}

void CloseImageDocument(ImageDocument &document) {
    QV_board_plat_mod *board = BoardOf(document);
    if (board == nullptr) return;
    if (document.state == ImageDocument::kTriggered) board->SetTriggerMode(0);
    document.state = ImageDocument::kCleared;
    board->Acquire(nullptr, document.width, document.height, 2);
    if (board->Document(document.channel) == &document)
        board->SetDocument(document.channel, nullptr);
}

ImageMenu ImageMenuOf(ImageDocument &document, bool triggerDialogOpen, bool sxaBoard) {
    ImageMenu menu;
    menu.grab = menu.snap = menu.clear = menu.triggeredSnap = !triggerDialogOpen;
    menu.saveTiff =
        document.state != ImageDocument::kFromFile && !document.frozen && !triggerDialogOpen;
    menu.loadTiff = !triggerDialogOpen;
    menu.registerViewer = !sxaBoard;
    const bool directDraw = document.displayMode != ImageDocument::kPlainDisplay;
    menu.stretchEnabled = !directDraw;
    menu.stretchChecked = document.stretch;
    menu.directDrawChecked = directDraw;
    menu.directDrawEnabled = directDraw || (!document.stretch && DirectDrawAvailable(document));
    return menu;
}

bool MainFrameAcquisitionEnabled(bool anyAcquisitionBoard, bool activeBoard, bool hardware) {
    return anyAcquisitionBoard && activeBoard && hardware;
}

}  // namespace qvi
