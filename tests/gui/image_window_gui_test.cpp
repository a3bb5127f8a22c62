// The image windows on the sample rack: live frames reaching the view and the
// frame-rate pane, snap and clear, TIFF files through the Image menu, the
// pixel readout, Stretch To Fit, the triggered snap and the digital I/O
// dialogs, closing with a grab running, and the Help menu's self-test
// closing the image windows and keeping its report.
// The board's header comes before Qt's, whose "slots" would rename its members.
#include "system/board_plat_mod.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "gui/dio_dialog.h"
#include "gui/gui_desktop.h"
#include "gui/gui_screen.h"
#include "gui/help_window.h"
#include "gui/image_tools_window.h"
#include "gui/image_view.h"
#include "gui/image_window.h"
#include "gui/main_frame.h"
#include "gui/register_viewer.h"
#include "gui/self_test_dialog.h"
#include "gui/setup_dialogs.h"
#include "gui/system_window_hw.h"
#include "gui/trigger_dialog.h"
#include "support/core_scratch_dir.h"

using qvi::CChildFrame;
using qvi::Command;
using qvi::CSelfTestDialog;
using qvi::ImageCommand;
using qvi::ImageDocument;
using qvi::testing::ScratchDir;

class ImageWindowTest : public QObject, qvi::testing::DesktopFixture {
    Q_OBJECT

private:
    void Trigger(Command command) {
        frame_->UpdateCommands();
        QVERIFY2(frame_->Action(command)->isEnabled(), "the command is disabled");
        frame_->Action(command)->trigger();
    }
    CChildFrame *Window() { return frame_->ActiveImageWindow(false); }
    ImageDocument &Document() { return Window()->Document(); }
    // Makes a board of the list the active one, as the board selector does.
    CChildFrame *SelectBoard(int board) {
        frame_->BoardSelector()->setCurrentIndex(board);
        emit frame_->BoardSelector()->activated(board);
        return Window();
    }
    std::uintmax_t Pixels() { return std::uintmax_t(Document().width) * Document().height; }
    QImage Painted() { return Window()->View()->viewport()->grab().toImage(); }
    int BoardIndexOf(const QString &label) const {
        const QStringList items = frame_->SystemWindowHw()->BoardItems();
        for (int i = 0; i < items.size(); ++i)
            if (items[i].contains(label)) return i;
        return -1;
    }
    QString report_, saved_;

    // Runs the command; `whileShown` acts on the dialog once it is up, then
    // the report and the saved line are taken and it is closed. False when
    // the dialog never showed or never finished.
    bool RunSelfTest(const std::function<void(CSelfTestDialog &)> &whileShown = {}) {
        bool finished = false;
        QObject during;  // the check goes with this call when no dialog came
        QTimer::singleShot(0, &during, [&] {
            auto *dialog = frame_->findChild<CSelfTestDialog *>("selfTestDialog");
            if (dialog == nullptr) return;
            if (whileShown) whileShown(*dialog);
            finished = QTest::qWaitFor([dialog] { return dialog->Finished(); }, 120000);
            report_ = dialog->ReportText();
            saved_ = dialog->SavedText();
            dialog->accept();
        });
        frame_->UpdateCommands();
        if (!frame_->Action(Command::SelfTest)->isEnabled()) return false;
        frame_->Action(Command::SelfTest)->trigger();
        return finished;
    }
    std::string ReportFile() const {
        return ScratchDir::Read(
            std::filesystem::path(session_->Demo()).replace_extension(".selftest.txt"));
    }

private slots:
    void init() {
        QVERIFY(StartSession());
        // The first board's output lines are wired back to its inputs.
        const std::filesystem::path rack = session_->ConfigDir() / "rack.ini";
        std::string text = ScratchDir::Read(rack);
        const std::string period = "InputsPeriod = 1000\n";
        QVERIFY(text.find(period) != std::string::npos);
        text.insert(text.find(period) + period.size(), "Loopback = 1\n");
        std::ofstream(rack, std::ios::trunc) << text;
        QVERIFY2(OpenDemo("0040 0030 1040 0730", true), FirstError().c_str());
        QVERIFY(Window() != nullptr);
    }

    void cleanup() { TearDown(); }

    // Live frames with their rate, snap and clear; Save TIFF asks before
    // replacing a file and Load TIFF shows the file.
    void grabSnapClearAndTiffFiles() {
        QVERIFY(frame_->MdiArea()->subWindowList().contains(Window()));
        QCOMPARE(Window()->windowTitle(), QString::fromStdString(Document().title).trimmed());
        Trigger(Command::Grab);
        QCOMPARE(Document().state, int(ImageDocument::kLiveGrab));
        const QImage first = Painted();
        QTRY_VERIFY_WITH_TIMEOUT(Painted() != first, 2000);
        // The pane shows the measure of the last whole second.
        const QRegularExpression rate("^(\\d+) fps, (\\d+) dropped$");
        QTRY_VERIFY_WITH_TIMEOUT(rate.match(frame_->FrameRateText()).hasMatch(), 2500);
        QVERIFY(rate.match(frame_->FrameRateText()).captured(1).toInt() > 0);

        Trigger(Command::Snap);
        QCOMPARE(Document().state, int(ImageDocument::kSnapped));
        QTRY_VERIFY_WITH_TIMEOUT(frame_->FrameRateText().isEmpty(), 2500);
        const QImage snapped = Painted();
        QTest::qWait(100);
        QCOMPARE(Painted(), snapped);

        Trigger(Command::Clear);
        QCOMPARE(Document().state, int(ImageDocument::kCleared));

        Trigger(Command::Snap);
        const std::filesystem::path path = session_->ConfigDir() / "shot.tif";
        session_->ui.fileChoices.push_back(session_->ConfigDir() / "shot");
        Trigger(Command::SaveTiff);
        QVERIFY(std::filesystem::file_size(path) > Pixels());
        QVERIFY(session_->ui.questions.empty());
        QCOMPARE(Window()->windowTitle(), QString::fromStdString(Document().caption).trimmed());

        // An existing file is replaced only on Yes (a saved frame is saved
        // once: the next save needs a new one).
        Trigger(Command::Snap);
        { std::ofstream(path, std::ios::trunc) << "x"; }
        session_->ui.fileChoices.push_back(path);
        session_->ui.answers.push_back(qvi::MessageAnswer::No);
        Trigger(Command::SaveTiff);
        QCOMPARE(session_->ui.questions.size(), std::size_t(1));
        QVERIFY(session_->ui.questions[0].text.find("already exists") != std::string::npos);
        QCOMPARE(ScratchDir::Read(path), std::string("x"));
        session_->ui.fileChoices.push_back(path);
        session_->ui.answers.push_back(qvi::MessageAnswer::Yes);
        Trigger(Command::SaveTiff);
        QVERIFY(std::filesystem::file_size(path) > Pixels());

        Trigger(Command::Clear);
        session_->ui.fileChoices.push_back(path);
        Trigger(Command::LoadTiff);
        QCOMPARE(Document().state, int(ImageDocument::kFromFile));
        QVERIFY(session_->ui.Errors().empty());
        // A cancelled dialog changes nothing.
        Trigger(Command::LoadTiff);
        QCOMPARE(Document().state, int(ImageDocument::kFromFile));
    }

    // The readout follows the mouse while the button is held. The scroll
    // bars set the rounded scroll origin, and what is shown at a view
    // position is the image pixel there. Then the pop-up menu and a double click.
    void pixelReadoutScrollingStretchAndThePopupMenu() {
        Trigger(Command::Snap);
        QCOMPARE(Document().bitsPerPixel, 8);
        Window()->resize(240, 200);
        QWidget *viewport = Window()->View()->viewport();
        qvi::QV_board_plat_mod *board = Document().board;
        const auto expected = [board](int x, int y) {
            return QString("x= %1  y=%2 pix=%3").arg(x).arg(y).arg(board->ReadPixel(x, y));
        };
        QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(10, 20));
        QCOMPARE(frame_->statusBar()->currentMessage(), expected(10, 20));
        QCOMPARE(viewport->cursor().shape(), Qt::CrossCursor);
        QTest::mouseMove(viewport, QPoint(37, 41));
        QCOMPARE(frame_->statusBar()->currentMessage(), expected(37, 41));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(37, 41));
        QVERIFY(frame_->statusBar()->currentMessage().isEmpty());
        // An 8-bit image is shown in grey, byte for byte from a grey sink.
        QCOMPARE(Window()->View()->Sink().PixelFormat(), qvi::FrameSink::Format::Grey8);
        QCOMPARE(qGray(Painted().pixel(37, 41)), board->ReadPixel(37, 41));

        Window()->View()->horizontalScrollBar()->setValue(61);
        Window()->View()->verticalScrollBar()->setValue(13);
        // The origin rounds to (64, 8).
        QCOMPARE(qGray(Painted().pixel(10, 20)), board->ReadPixel(74, 28));

        // Stretch To Fit takes the scroll range and Direct Draw away.
        QScrollBar *horizontal = Window()->View()->horizontalScrollBar();
        QVERIFY(horizontal->maximum() > 0);
        Trigger(Command::StretchToFit);
        frame_->UpdateCommands();
        QVERIFY(frame_->Action(Command::StretchToFit)->isChecked());
        QVERIFY(!frame_->Action(Command::DirectDraw)->isEnabled());
        QCOMPARE(horizontal->maximum(), 0);
        QCOMPARE(Window()->View()->verticalScrollBar()->maximum(), 0);
        Trigger(Command::StretchToFit);
        QVERIFY(horizontal->maximum() > 0);

        // The pop-up menu opens where the mouse was pressed; from the keyboard
        // (the menu key, or Shift+F10) 5 pixels inside the view's corner. A
        // double click edits the board.
        QMenu *menu = Window()->PopupMenu();
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        const QPoint at(30, 40);
        QTest::mouseClick(frame_->windowHandle(), Qt::RightButton, {},
                          viewport->mapTo(frame_.get(), at));
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->pos(), viewport->mapToGlobal(at));
        menu->close();

        const QPoint corner = viewport->mapToGlobal(QPoint(5, 5));
        // The window system turns the menu key into this event.
        QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(200, 200),
                              viewport->mapToGlobal(QPoint(200, 200)));
        QApplication::sendEvent(viewport, &key);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->pos(), corner);
        menu->close();
        Window()->View()->setFocus();
        QTest::keyClick(Window()->View(), Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->pos(), corner);
        menu->close();

        QVERIFY(!frame_->Dialogs().IsOpen(Window()->Element()));
        QTest::mouseDClick(Window()->View()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        QVERIFY(frame_->Dialogs().IsOpen(Window()->Element()));
    }

    // A new window's view holds the whole image, but the window is never
    // larger than the main window's client area.
    void aNewWindowHoldsItsImageWithinTheMainWindow() {
        const QSize low = frame_->MdiArea()->viewport()->size();
        QVERIFY(low.height() < Document().height);
        QCOMPARE(Window()->height(), low.height());
        QVERIFY(Window()->View()->viewport()->width() >= Document().width);

        frame_->resize(1200, 1000);
        QApplication::processEvents();
        const QSize room = frame_->MdiArea()->viewport()->size();
        CChildFrame *window = SelectBoard(BoardIndexOf("chan 2"));
        QVERIFY(window != nullptr);
        const QSize image(window->Document().width, window->Document().height);
        QVERIFY(room.height() > image.height());
        QCOMPARE(window->View()->viewport()->size().expandedTo(image),
                 window->View()->viewport()->size());
        QVERIFY(window->width() < room.width() && window->height() < room.height());

        // A colour board's window keeps a colour sink and shows colour, live and
        // snapped (an 8-bit board's grey sink is checked with the readout).
        const auto colourShown = [this] {
            const QImage painted = Painted();
            for (int y = 0; y < 200; y += 7)
                for (int x = 0; x < 300; x += 7)
                    if (qRed(painted.pixel(x, y)) != qGreen(painted.pixel(x, y))) return true;
            return false;
        };
        QVERIFY(SelectBoard(BoardIndexOf("Lumo-Comp: 5")) != nullptr);  // an RGB TX-70
        Trigger(Command::Grab);
        QCOMPARE(Document().bitsPerPixel, 24);
        QTRY_VERIFY(colourShown());
        QCOMPARE(Window()->View()->Sink().PixelFormat(), qvi::FrameSink::Format::Xrgb32);
        Trigger(Command::Snap);
        QVERIFY(colourShown());
        QVERIFY(session_->ui.Errors().empty());
    }

    void softwareAndExternalTriggeredSnapsThroughTheDialog() {
        Trigger(Command::TriggeredSnap);
        qvi::CTriggerDlg *dialog = Window()->TriggerDialog();
        QVERIFY(dialog != nullptr);
        dialog->SoftwareButton()->click();
        QCOMPARE(dialog->ArmButton()->text(), QString("Arm + fire"));
        dialog->ArmButton()->click();
        QTRY_COMPARE(Document().state, int(ImageDocument::kTriggered));
        QVERIFY(Document().imageValid);
        dialog->ClearButton()->click();
        QCOMPARE(Document().state, int(ImageDocument::kCleared));
        dialog->close();
        QTRY_VERIFY(Window()->TriggerDialog() == nullptr);

        // The rack fires the Lumo's external trigger every second: Arm opens
        // the wait box, which polls once a second and closes on the frame.
        Window()->OpenTriggerDialog();
        dialog = Window()->TriggerDialog();
        QVERIFY(dialog->ExternalButton()->isChecked());
        bool boxSeen = false;
        QTimer::singleShot(200, [&] {
            auto *box = dialog->findChild<qvi::CTriggerWaitDlg *>();
            boxSeen = box != nullptr && box->isVisible() &&
                      box->windowTitle() == "Waiting for external trigger...";
        });
        QElapsedTimer armed;
        armed.start();
        dialog->ArmButton()->click();  // returns once the box has closed
        QVERIFY(boxSeen);
        QCOMPARE(Document().state, int(ImageDocument::kTriggered));
        QVERIFY(armed.elapsed() < 5000);

        // A TX-30 takes external triggers only.
        QVERIFY(SelectBoard(BoardIndexOf("DQ")));
        Window()->OpenTriggerDialog();
        QVERIFY(!Window()->TriggerDialog()->SoftwareButton()->isEnabled());

        // An SXA channel's triggered frames come through the waiter thread
        // into the view; closing the dialog ends the thread.
        QVERIFY(SelectBoard(BoardIndexOf("chan 1")) != nullptr);
        Window()->OpenTriggerDialog();
        dialog = Window()->TriggerDialog();
        dialog->SoftwareButton()->click();
        dialog->ArmButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(Window()->View()->Sink().Frames() >= 1, 3000);
        dialog->close();
        QTRY_VERIFY(Window()->TriggerDialog() == nullptr);
    }

    // The DIO dialog follows the inputs, help reaches the pages, and the
    // register viewer opens once.
    void dioDialogHelpAndTheRegisterViewer() {
        Window()->Action(ImageCommand::DioTest)->trigger();
        qvi::CDioTestDlg *dialog = Window()->DioDialog();
        QVERIFY(dialog != nullptr);
        // How soon a changed line is seen is the DIO test's concern; here, that
        // an output line reaches the board and its box shows it coming back.
        QVERIFY(!dialog->InputBox(3)->isChecked());
        dialog->OutputBox(3)->click();
        QVERIFY(dialog->OutputBox(3)->isChecked());
        QCOMPARE(Document().board->ReadInputs(3), 1);
        QTRY_VERIFY_WITH_TIMEOUT(dialog->InputBox(3)->isChecked(), 200);
        // Input Buffer Enable offers the strobe polarity.
        QVERIFY(!dialog->RisingEdgeButton()->isEnabled());
        dialog->BufferEnableBox()->click();
        QVERIFY(dialog->RisingEdgeButton()->isEnabled());
        QVERIFY(dialog->FallingEdgeButton()->isEnabled());

        // F1 in the window and the dialogs' Help buttons open their pages.
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        Window()->View()->setFocus();
        QTest::keyClick(Window()->View(), Qt::Key_F1);
        QVERIFY(frame_->HelpWindow() != nullptr);
        QCOMPARE(frame_->HelpWindow()->CurrentTitle(), QString("Image window"));
        Window()->OpenTriggerDialog();
        for (QPushButton *button : Window()->TriggerDialog()->findChildren<QPushButton *>())
            if (button->text() == "Help") button->click();
        QCOMPARE(frame_->HelpWindow()->CurrentTitle(), QString("Triggered Acquisition"));
        Window()->OpenDioDialog();
        for (QPushButton *button : Window()->DioDialog()->findChildren<QPushButton *>())
            if (button->text() == "Help") button->click();
        QCOMPARE(frame_->HelpWindow()->CurrentTitle(), QString("Digital I/O Test"));

        // One viewer at most: a second command brings the open one forward. It
        // reads the board's registers again on Refresh, and goes with the
        // configuration.
        Trigger(Command::RegisterViewer);
        QPointer<qvi::CRegisterViewer> viewer = frame_->RegisterViewer();
        QVERIFY(viewer != nullptr && viewer->isVisible());
        Trigger(Command::RegisterViewer);
        QCOMPARE(frame_->RegisterViewer(), viewer.data());
        QCOMPARE(frame_->findChildren<qvi::CRegisterViewer *>().size(), 1);

        qvi::QV_plat_mod *module = Document().board->AcquisitionModule();
        int reg = module->RegisterCount() - 1;
        while (reg > 0 && module->IsRegister32(reg)) --reg;
        QVERIFY(reg > 0);
        QTableWidget *table = viewer->Table();
        const auto shown = [table, reg] {
            for (int row = 0; row < table->rowCount(); ++row)
                if (table->item(row, 0)->text().startsWith("TX-10") &&
                    table->item(row, 1)->text() == QString::number(reg))
                    return table->item(row, 2)->text();
            return QString("none");
        };
        QVERIFY(shown() != "0x1234" && shown() != "none");
        QCOMPARE(module->write_reg(reg, qvi::QV_param_val::U16(0x1234)), 0);
        viewer->RefreshButton()->click();
        QCOMPARE(shown(), QString("0x1234"));

        QVERIFY(SelectBoard(BoardIndexOf("chan 0")) != nullptr);
        frame_->UpdateCommands();
        QVERIFY(!frame_->Action(Command::RegisterViewer)->isEnabled());
        frame_->Action(Command::New)->trigger();
        QVERIFY(viewer.isNull());
    }

    // The image tools follow the live picture; a line drawn with Shift and
    // the button is profiled, and the inspector reads under the mouse at
    // the image's own depth. Closing the window during the grab stops the
    // grab and ends them, as closing the main frame ends every grab.
    void imageToolsFollowTheLiveImageAndClosingEndsGrabs() {
        qvi::QV_board_plat_mod *board = Document().board;
        Trigger(Command::Grab);
        Trigger(Command::ImageTools);
        QPointer<qvi::ImageToolsWindow> tools = Window()->ImageTools();
        QVERIFY(tools != nullptr && tools->isVisible());
        Trigger(Command::ImageTools);  // a second command opens no second window
        QCOMPARE(Window()->findChildren<qvi::ImageToolsWindow *>().size(), 1);
        const auto histogram = tools->HistogramPlot()->Values();
        QTRY_VERIFY_WITH_TIMEOUT(tools->HistogramPlot()->Values() != histogram, 3000);

        QWidget *viewport = Window()->View()->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, Qt::ShiftModifier, QPoint(3, 50));
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::ShiftModifier, QPoint(103, 50));
        QCOMPARE(tools->ProfilePlot()->Values().at(0).size(), std::size_t{101});
        Trigger(Command::Snap);
        tools->Refresh();
        QTest::mouseMove(viewport, QPoint(37, 41));
        QCOMPARE(tools->InspectorLabel()->text(),
                 QString("x= 37  y=41  pix=%1").arg(Document().board->ReadPixel(37, 41)));
        QCOMPARE(tools->ProfilePlot()->Values()[0][34],
                 double(Document().board->ReadPixel(37, 50)));

        Trigger(Command::Grab);
        QVERIFY(board->Document(0) != nullptr);
        QPointer<CChildFrame> window = Window();
        window->close();
        QTRY_VERIFY(window.isNull());
        QVERIFY(tools.isNull());
        QVERIFY(board->Document(0) == nullptr);

        // Closing the main frame during grabs ends them.
        SelectBoard(BoardIndexOf("chan 0"));
        Trigger(Command::Grab);
        qvi::QV_board_plat_mod *sxa = Document().board;
        SelectBoard(BoardIndexOf("Lumo-Comp: 5"));
        Trigger(Command::Grab);
        qvi::QV_board_plat_mod *colour = Document().board;
        QTest::qWait(100);
        QVERIFY(frame_->close());
        QVERIFY(sxa->Document(0) == nullptr && colour->Document(0) == nullptr);
        frame_.reset();
    }

    // The open image window (the demo opens one) stays when the user does
    // not agree to close it; once they agree, Cancel before the first board
    // stops the test, and the report shown is the one kept beside the
    // configuration. What the report says of each board is the self-test's
    // own concern, checked on the command line.
    void asksAboutImageWindowsStopsOnCancelAndKeepsTheReportShown() {
        frame_->Action(Command::Grab)->trigger();
        QVERIFY(frame_->ActiveImageWindow(false) != nullptr);
        QVERIFY(!RunSelfTest());
        QVERIFY(frame_->ActiveImageWindow(false) != nullptr);
        session_->ui.answers.push_back(qvi::MessageAnswer::Ok);
        QVERIFY(RunSelfTest([](CSelfTestDialog &dialog) { dialog.CancelButton()->click(); }));
        QCOMPARE(session_->ui.questions.size(), std::size_t{2});
        QVERIFY(session_->ui.questions[1].text.find("image windows will be closed") !=
                std::string::npos);
        QVERIFY(frame_->ActiveImageWindow(false) == nullptr);
        QVERIFY2(report_.contains("Cancelled before every board was tested."), qPrintable(report_));
        QVERIFY(report_.contains("Result: FAIL (0 passed, 0 failed, 0 skipped)"));
        QCOMPARE(QString::fromStdString(ReportFile()).trimmed(), report_.trimmed());
        QVERIFY(saved_.startsWith("Report saved as ") && saved_.endsWith(".selftest.txt"));
    }
};

QVI_GUI_TEST_MAIN(ImageWindowTest, 1280, 1024, 1.0)
#include "image_window_gui_test.moc"
