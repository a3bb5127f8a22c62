// An image window: the MDI child with the view, its commands and its pop-up menu.
// The board's header comes before Qt's, whose "slots" would rename its members.
#include "system/board_plat_mod.h"

#include "gui/image_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include "acquire/dio_test.h"
#include "acquire/image_commands.h"
#include "acquire/tiff_paths.h"
#include "app/help_pages.h"
#include "gui/dio_dialog.h"
#include "gui/image_tools_window.h"
#include "gui/image_view.h"
#include "gui/trigger_dialog.h"
#include "platform/ui.h"

namespace qvi {

namespace {

constexpr int kRatePeriodMs = 1000;

}  // namespace

CChildFrame::CChildFrame(std::unique_ptr<ImageDocument> document, int element, ImageTarget target,
                         QWidget *parent)
    : QMdiSubWindow(parent),
      document_(std::move(document)),
      element_(element),
      target_(std::move(target)) {
    setObjectName("imageWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    view_ = new CFrmView(*document_, this);
    setWidget(view_);
    CreatePopupMenu();
    connect(view_, &CFrmView::pixelText, this, &CChildFrame::statusText);
    connect(view_, &CFrmView::editRequested, this, &CChildFrame::OnEdit);
    connect(view_, &CFrmView::contextMenuAt, this, [this](const QPoint &at) {
        UpdateCommands();
        popup_->popup(at);
    });
    connect(view_, &CFrmView::helpRequested, this,
            [this] { emit helpRequested(HelpBook::kImageWindowTopic); });
    rateTimer_ = new QTimer(this);
    connect(rateTimer_, &QTimer::timeout, this, &CChildFrame::MeasureRate);
    rateTimer_->start(kRatePeriodMs);
    UpdateCommands();
}

CChildFrame::~CChildFrame() {
    CloseDocument();
}

QAction *CChildFrame::AddAction(ImageCommand command, const QString &text, const QString &tip,
                                void (CChildFrame::*slot)()) {
    auto *action = new QAction(text, this);
    action->setStatusTip(tip);
    action->setData(static_cast<int>(command));
    if (slot != nullptr) connect(action, &QAction::triggered, this, slot);
    actions_[command] = action;
    return action;
}

QAction *CChildFrame::Action(ImageCommand command) const {
    auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

// The pop-up menu: Grab, Snap, Clear, Triggered Snap, the two display
// options and Edit. Save TIFF is the main frame's, for the active window.
void CChildFrame::CreatePopupMenu() {
    popup_ = new QMenu(this);
    popup_->addAction(
        AddAction(ImageCommand::Grab, "&Grab", "Show live video", &CChildFrame::Grab));
    popup_->addAction(
        AddAction(ImageCommand::Snap, "&Snap", "Acquire one frame", &CChildFrame::Snap));
    popup_->addAction(
        AddAction(ImageCommand::Clear, "&Clear", "Clear the frame", &CChildFrame::Clear));
    QAction *triggered = AddAction(ImageCommand::TriggeredSnap, "&Triggered Snap ...",
                                   "Acquire a frame on a trigger", &CChildFrame::OpenTriggerDialog);
    popup_->addAction(triggered);
    popup_->addSeparator();
    QAction *stretch = AddAction(ImageCommand::StretchToFit, "Stretch to &Fit Enable",
                                 "Fit the image to the window", &CChildFrame::OnStretch);
    stretch->setCheckable(true);
    popup_->addAction(stretch);
    QAction *directDraw = AddAction(ImageCommand::DirectDraw, "&DirectDraw Mode Enable",
                                    "Display through DirectDraw", &CChildFrame::OnDirectDraw);
    directDraw->setCheckable(true);
    popup_->addAction(directDraw);
    popup_->addSeparator();
    popup_->addAction(AddAction(ImageCommand::Edit, "&Edit ...", "Edit the board's settings",
                                &CChildFrame::OnEdit));
    AddAction(ImageCommand::DioTest, "Digital &I/O Test ...",
              "Show the board's input lines and drive its outputs", &CChildFrame::OpenDioDialog);
    AddAction(ImageCommand::SaveTiff, "&Save TIFF file...", "Save the image as a TIFF file",
              &CChildFrame::OnSaveTiff);
    popup_->addAction(AddAction(ImageCommand::ImageTools, "Image T&ools...",
                                "Histogram, line profile and pixel values of the image",
                                &CChildFrame::OpenImageTools));
    connect(AddAction(ImageCommand::RegisterViewer, "&Register Viewer...",
                      "Show the board's registers", nullptr),
            &QAction::triggered, this, &CChildFrame::registerViewerRequested);
}

void CChildFrame::AfterCommand() {
    view_->UpdateScrollRange();
    view_->viewport()->update();
    UpdateCommands();
}

void CChildFrame::Grab() {
    qvi::Grab(*document_, view_->Window());
    AfterCommand();
}

void CChildFrame::Snap() {
    qvi::Snap(*document_, view_->Window());
    AfterCommand();
}

void CChildFrame::Clear() {
    qvi::Clear(*document_, view_->Window());
    AfterCommand();
}

void CChildFrame::OnSaveTiff() {
    if (std::optional<std::string> path = ChooseTiffToSave())
        SaveTiffAs(QString::fromStdString(*path));
}

void CChildFrame::SaveTiffAs(const QString &path) {
    WaitCursor wait;
    SaveTiff(*document_, path.toStdString(), view_->Window());
    AfterCommand();
}

void CChildFrame::LoadTiff(const QString &path) {
    WaitCursor wait;
    qvi::LoadTiff(*document_, path.toStdString(), view_->Window());
    AfterCommand();
}

void CChildFrame::OnStretch() {
    ToggleStretch(*document_, view_->Window());
    AfterCommand();
}

void CChildFrame::OnDirectDraw() {
    ToggleDirectDraw(*document_, view_->Window());
    AfterCommand();
}

void CChildFrame::OnEdit() {
    emit editRequested(element_);
}

void CChildFrame::UpdateCommands() {
    const ImageMenu menu = ImageMenuOf(*document_, trigger_ != nullptr, IsSxaChannel(target_));
    Action(ImageCommand::Grab)->setEnabled(menu.grab);
    Action(ImageCommand::Snap)->setEnabled(menu.snap);
    Action(ImageCommand::Clear)->setEnabled(menu.clear);
    Action(ImageCommand::TriggeredSnap)->setEnabled(menu.triggeredSnap);
    Action(ImageCommand::DioTest)
        ->setEnabled(document_->board != nullptr &&
                     DioTestAvailable(*document_->board, IsSxaChannel(target_)));
    Action(ImageCommand::SaveTiff)->setEnabled(menu.saveTiff);
    Action(ImageCommand::RegisterViewer)->setEnabled(menu.registerViewer);
    Action(ImageCommand::ImageTools)->setEnabled(document_->board != nullptr);
    Action(ImageCommand::StretchToFit)->setEnabled(menu.stretchEnabled);
    Action(ImageCommand::StretchToFit)->setChecked(menu.stretchChecked);
    Action(ImageCommand::DirectDraw)->setEnabled(menu.directDrawEnabled);
    Action(ImageCommand::DirectDraw)->setChecked(menu.directDrawChecked);
    const std::string &caption = document_->caption.empty() ? document_->title : document_->caption;
    setWindowTitle(QString::fromStdString(caption).trimmed());
}

void CChildFrame::FitToImage(const QSize &room) {
    const QSize frame = size() - view_->viewport()->size();
    const QSize wanted(document_->width + frame.width(), document_->height + frame.height());
    resize(wanted.boundedTo(room));
}

// Frames painted per second (and dropped) while a live grab runs.
void CChildFrame::MeasureRate() {
    const CFrmView::FrameCounts counts = view_->TakeFrameCounts();
    QString text;
    if (document_->state == ImageDocument::kLiveGrab && document_->imageValid)
        text = QString("%1 fps, %2 dropped").arg(counts.painted).arg(counts.dropped);
    if (text != rateText_) {
        rateText_ = text;
        emit frameRateChanged(rateText_);
    }
}

// The tools read the board's frame themselves, a few times a second, on
// this thread: the board is told the window's channel first, as for every
// call the window makes.
void CChildFrame::OpenImageTools() {
    if (tools_) {
        tools_->raise();
        tools_->activateWindow();
        return;
    }
    ImageDocument &document = *document_;
    tools_ = new ImageToolsWindow(
        windowTitle(),
        [&document](FramePixels &pixels) {
            if (document.board == nullptr) return false;
            document.board->SelectChannel(document.channel);
            return document.board->ReadFramePixels(pixels);
        },
        this);
    tools_->setAttribute(Qt::WA_DeleteOnClose);
    connect(view_, &CFrmView::imagePointed, tools_, &ImageToolsWindow::Inspect);
    connect(view_, &CFrmView::lineDrawn, tools_, &ImageToolsWindow::SetLine);
    tools_->show();
}

ImageToolsWindow *CChildFrame::ImageTools() const {
    return tools_;
}

void CChildFrame::OpenTriggerDialog() {
    if (trigger_) {
        trigger_->activateWindow();
        return;
    }
    trigger_ = new CTriggerDlg(*document_, TriggerSetupOf(target_, view_->Window()), this);
    connect(trigger_, &CTriggerDlg::imageChanged, this, &CChildFrame::AfterCommand);
    connect(trigger_, &CTriggerDlg::helpRequested, this, &CChildFrame::helpRequested);
    // The window redisplays its image once the dialog has gone.
    connect(trigger_, &CTriggerDlg::closed, this, [this] {
        Redisplay(*document_, view_->Window());
        AfterCommand();
    });
    trigger_->show();
    AfterCommand();
}

void CChildFrame::OpenDioDialog() {
    if (!dio_) {
        dio_ = new CDioTestDlg(*document_, this);
        connect(dio_, &CDioTestDlg::helpRequested, this, &CChildFrame::helpRequested);
    }
    dio_->show();
    dio_->activateWindow();
}

CTriggerDlg *CChildFrame::TriggerDialog() const {
    return trigger_;
}

CDioTestDlg *CChildFrame::DioDialog() const {
    return dio_;
}

void CChildFrame::CloseDocument() {
    if (closed_) return;
    closed_ = true;
    rateTimer_->stop();
    // The tools end first: the trigger's waiter thread and the DIO timer.
    delete trigger_;
    delete dio_;
    delete tools_;
    // The board stops its grab (and joins the library's display thread)
    // before the view's frame memory goes away.
    CloseImageDocument(*document_);
}

void CChildFrame::closeEvent(QCloseEvent *event) {
    CloseDocument();
    QMdiSubWindow::closeEvent(event);
}

}  // namespace qvi
