#pragma once

#include <QMdiSubWindow>
#include <QPointer>
#include <QString>
#include <map>
#include <memory>

#include "app/image_target.h"
#include "system/image_document.h"

class QAction;
class QMenu;
class QTimer;

namespace qvi {

class CDioTestDlg;
class CFrmView;
class CTriggerDlg;
class ImageToolsWindow;

// The image window's commands, by the identifiers of the original menus.
enum class ImageCommand {
    Grab = 32773,
    Snap = 32801,
    Clear = 32802,
    TriggeredSnap = 32789,
    Edit = 32812,
    SaveTiff = 32791,
    StretchToFit = 32805,
    DirectDraw = 32811,
    DioTest = 32815,
    RegisterViewer = 32777,
    ImageTools = 32850,  // histogram, line profile and pixel inspector
};

// An image window: an MDI child holding the view of one board (or SXA
// channel) and its document. The commands run the image window's logic;
// the window only shows what it decides. Closing the window ends what its
// board was doing for it (a live grab, a pending trigger) before the view's
// memory goes away.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT

public:
    // `element` is the system element the window stands for.
    CChildFrame(std::unique_ptr<ImageDocument> document, int element, ImageTarget target,
                QWidget *parent = nullptr);
    ~CChildFrame() override;

    ImageDocument &Document() { return *document_; }
    CFrmView *View() const { return view_; }
    int Element() const { return element_; }
    QAction *Action(ImageCommand command) const;
    QMenu *PopupMenu() const { return popup_; }

    void Grab();
    void Snap();
    void Clear();
    // The Triggered Acquisition and Digital I/O Test tools of the window.
    void OpenTriggerDialog();
    void OpenDioDialog();
    // The Image Tools window of the image, opened once.
    void OpenImageTools();
    ImageToolsWindow *ImageTools() const;
    CTriggerDlg *TriggerDialog() const;
    CDioTestDlg *DioDialog() const;
    // Save TIFF to a path the user chose; Load TIFF of the main frame.
    void SaveTiffAs(const QString &path);
    void LoadTiff(const QString &path);
    // The size that holds the whole image, within `room` (the main window's
    // client area); the window keeps its place.
    void FitToImage(const QSize &room);
    // Re-evaluates enabling and check marks, and the caption.
    void UpdateCommands();
    // The live rate shown in the status bar: "" while not grabbing.
    QString FrameRateText() const { return rateText_; }

signals:
    void editRequested(int element);
    // The register viewer command: the main frame shows the window's board.
    void registerViewerRequested();
    void statusText(const QString &text);
    void frameRateChanged(const QString &text);
    // F1 in the window or Help in one of its dialogs: a help topic.
    void helpRequested(int topic);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *AddAction(ImageCommand command, const QString &text, const QString &tip,
                       void (CChildFrame::*slot)());
    void CreatePopupMenu();
    void OnSaveTiff();
    void OnStretch();
    void OnDirectDraw();
    void OnEdit();
    void AfterCommand();
    void MeasureRate();
    void CloseDocument();

    std::unique_ptr<ImageDocument> document_;
    int element_;
    ImageTarget target_;
    QPointer<CTriggerDlg> trigger_;
    QPointer<CDioTestDlg> dio_;
    QPointer<ImageToolsWindow> tools_;
    CFrmView *view_ = nullptr;
    QMenu *popup_ = nullptr;
    QTimer *rateTimer_ = nullptr;
    QString rateText_;
    bool closed_ = false;
    std::map<ImageCommand, QAction *> actions_;
};

}  // namespace qvi
