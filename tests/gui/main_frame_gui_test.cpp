// The main frame on the sample configuration: start-up, caption, command
// enabling, file commands through its menu actions, placement and closing;
// the help window, the About box and the Camera Database dialog.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/about_info.h"
#include "app/system_window_lines.h"
#include "camdb/camera_db.h"
#include "gui/about_dialog.h"
#include "gui/camera_db_dialog.h"
#include "gui/console_pane.h"
#include "gui/gui_desktop.h"
#include "gui/gui_screen.h"
#include "gui/help_window.h"
#include "gui/main_frame.h"
#include "gui/qt_ui.h"
#include "gui/setup_dialogs.h"
#include "gui/system_window_hw.h"
#include "gui/system_window_nohw.h"
#include "support/core_scratch_dir.h"
#include "system/config_state.h"
#include "system/pci_platform.h"

using qvi::CCameraDbDlg;
using qvi::Command;
using qvi::MessageAnswer;

namespace {

QStringList ListTexts(const QListWidget &list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) texts << list.item(row)->text();
    return texts;
}

QStringList ToQt(const std::vector<std::string> &names) {
    QStringList texts;
    for (const std::string &name : names) texts << QString::fromStdString(name);
    return texts;
}

}  // namespace

class MainFrameTest : public QObject, qvi::testing::DesktopFixture {
    Q_OBJECT

private:
    // The caption as the window system shows it ("[*]" drawn as the mark).
    QString Caption() const { return frame_->windowHandle()->title(); }
    // A key pressed while the main window is the active one.
    bool PressInMainWindow(QKeyCombination key) {
        frame_->show();
        frame_->activateWindow();
        if (!QTest::qWaitForWindowActive(frame_.get())) return false;
        QTest::keyClick(frame_.get(), key.key(), key.keyboardModifiers());
        return true;
    }
    bool Enabled(Command command) const { return frame_->Action(command)->isEnabled(); }
    void Trigger(Command command) { frame_->Action(command)->trigger(); }
    std::unique_ptr<CCameraDbDlg> OpenDialog() {
        auto dialog = std::make_unique<CCameraDbDlg>(
            session_->services.NewCameraDatabase(session_->settings()), DatabaseFile());
        dialog->show();
        return dialog;
    }
    std::filesystem::path DatabaseFile() const { return session_->settings().dbaseFile; }

private slots:
    void init() {
        QVERIFY(StartSession());
        QVERIFY2(OpenDemo("0040 0030 1040 0730", false), FirstError().c_str());
    }

    void cleanup() { TearDown(); }

    // Save and View Config File follow the changed flag, and the caption
    // carries the modified mark while changes are unsaved.
    void startsOnTheNamedConfigurationAndFollowsTheChangedFlag() {
        const QString caption = QString::fromStdString("QVI Configurator - " + session_->Demo());
        QCOMPARE(Caption(), caption);
        QCOMPARE(frame_->geometry().topLeft(), QPoint(40, 30));
        QCOMPARE(frame_->geometry().width(), 1000);
        QVERIFY(frame_->BoardSelector()->isEnabled());
        // The library's console output reaches the pane through the event queue.
        QTRY_VERIFY(frame_->Console()->Text().contains("Configuration loaded:"));
        frame_->UpdateCommands();
        QVERIFY(!Enabled(Command::Save) && Enabled(Command::ViewConfigFile));

        qvi::SetConfigModified(true);
        frame_->UpdateCommands();
        QVERIFY(Enabled(Command::Save) && !Enabled(Command::ViewConfigFile));
        QVERIFY(frame_->isWindowModified());
        QCOMPARE(Caption(), caption + "*");
    }

    // Every menu command tells the status bar what it does; message boxes
    // are wide enough for their caption.
    void statusTextsAndMessageBoxWidths() {
        for (QMenu *menu : frame_->menuBar()->findChildren<QMenu *>())
            for (QAction *action : menu->actions())
                if (!action->isSeparator() && action->menu() == nullptr)
                    QVERIFY2(!action->statusTip().isEmpty(), qPrintable(action->text()));

        // Message boxes are wide enough for their caption.
        qvi::QtUi ui;
        ui.SetParent(frame_.get());
        const QString caption = "Disabling the hardware cannot be undone in this run";
        int boxWidth = 0;
        int captionWidth = 0;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            boxWidth = box->frameGeometry().width();
            captionWidth = box->fontMetrics().horizontalAdvance(caption);
            box->reject();
        });
        ui.Ask("Go on?", qvi::MessageButtons::YesNo, qvi::MessageKind::Information,
               caption.toStdString());
        QVERIFY(captionWidth > 0);
        // Room for the caption and the title bar's buttons beside it.
        QVERIFY2(boxWidth > captionWidth + 100,
                 qPrintable(QString("%1 for a caption of %2").arg(boxWidth).arg(captionWidth)));
    }

    void theSystemWindowAndTheBoardSelectorShowTheConfigurationAndTakeTheWheel() {
        qvi::CSystemWindowHw *window = frame_->SystemWindowHw();
        QVERIFY(window != nullptr);
        // The hardware window holds the start configuration but starts hidden;
        // System Dialog shows it.
        QVERIFY(!window->isVisible());
        QVERIFY(window->SelectedElement() > 0);
        Trigger(Command::SystemDialog);
        QVERIFY(window->isVisible());
        frame_->UpdateCommands();
        QVERIFY(frame_->Action(Command::SystemDialog)->isChecked());
        QCOMPARE(frame_->BoardSelector()->count(), window->BoardItems().size());
        QVERIFY(frame_->BoardSelector()->count() > 1);
        QCOMPARE(frame_->BoardSelector()->currentIndex(), 0);
        // Choosing a board in the selector makes it the window's active board.
        frame_->BoardSelector()->setCurrentIndex(1);
        emit frame_->BoardSelector()->activated(1);
        QCOMPARE(window->ActiveBoard(), 1);
        // System Dialog hides the window again, with the check mark following.
        Trigger(Command::SystemDialog);
        QVERIFY(!window->isVisible());
        frame_->UpdateCommands();
        QVERIFY(!frame_->Action(Command::SystemDialog)->isChecked());

        // A wheel over the unfocused selector switches no board.
        QComboBox *selector = frame_->BoardSelector();
        QVERIFY(selector->count() > 2);
        QSignalSpy activated(selector, &QComboBox::activated);
        const int board = window->ActiveBoard();
        frame_->show();
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        frame_->setFocus();
        const QPointF centre = QRectF(selector->rect()).center();
        QWheelEvent down(centre, selector->mapToGlobal(centre), QPoint(), QPoint(0, -120),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(selector, &down);
        QCOMPARE(activated.count(), 0);
        QCOMPARE(window->ActiveBoard(), board);
        QVERIFY(!selector->hasFocus());
        // Focused, it is a drop-down like any other.
        selector->setFocus();
        QVERIFY(selector->hasFocus());
        QApplication::sendEvent(selector, &down);
        QCOMPARE(activated.count(), 1);
        QCOMPARE(window->ActiveBoard(), board + 1);
    }

    // Edit opens the selected element's dialog once; opening the
    // configuration again closes it, and a failed open leaves no stale lines.
    void editOpensTheDialogOnceAndOpeningAgainOrFailingClosesIt() {
        const int element = frame_->SelectedElement();
        QVERIFY(element >= 0);
        frame_->UpdateCommands();
        QVERIFY(Enabled(Command::Edit));
        Trigger(Command::Edit);
        QVERIFY(frame_->Dialogs().IsOpen(element));
        frame_->UpdateCommands();
        QVERIFY(!Enabled(Command::Edit));
        // Opening the configuration again closes its dialogs and keeps the
        // system window as the user left it.
        frame_->SystemWindowHw()->hide();
        frame_->Document().Open(session_->Demo());
        QCOMPARE(frame_->Dialogs().OpenCount(), 0);
        QVERIFY(!frame_->SystemWindowHw()->isVisible());

        const std::filesystem::path broken = session_->ConfigDir() / "broken.txt";
        std::ofstream(broken) << "this is no configuration\n";
        QCOMPARE(frame_->Document().Open(broken.string()), qvi::DocumentResult::Failed);
        auto *list = frame_->SystemWindowHw()->findChild<QListWidget *>("systemList");
        QVERIFY(list != nullptr);
        QCOMPARE(list->count(),
                 static_cast<int>(qvi::ElementModeLines(session_->Tree(), 0).size()));
        QCOMPARE(frame_->SelectedElement(), -1);
        QCOMPARE(frame_->BoardSelector()->count(), 0);
        frame_->UpdateCommands();
        QVERIFY(!Enabled(Command::Edit));

        session_->ui.Clear();
        QCOMPARE(frame_->Document().Open(session_->Demo()), qvi::DocumentResult::Done);
        QVERIFY(list->count() > 20);
        QVERIFY(frame_->BoardSelector()->count() > 1);
    }

    void cameraDatabaseOpensOnceAndOkReloadsItThenSaveAs() {
        Trigger(Command::CameraDatabase);
        qvi::CCameraDbDlg *dialog = frame_->CameraDatabaseDialog();
        QVERIFY(dialog != nullptr);
        Trigger(Command::CameraDatabase);
        QCOMPARE(frame_->CameraDatabaseDialog(), dialog);
        dialog->accept();
        QTRY_VERIFY(frame_->CameraDatabaseDialog() == nullptr);
        QVERIFY2(session_->ui.Errors().empty(),
                 session_->ui.Errors().empty() ? "" : session_->ui.Errors().front().c_str());

        // Save As appends ".txt" to the name chosen.
        const std::filesystem::path chosen = session_->ConfigDir() / "saved";
        session_->ui.fileChoices.push_back(chosen);
        session_->ui.fileDialogTitles.clear();
        QVERIFY(PressInMainWindow(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
        QCOMPARE(session_->ui.fileDialogTitles, std::vector<std::string>{"Save As"});
        QCOMPARE(Caption(),
                 QString::fromStdString("QVI Configurator - " + chosen.string() + ".txt"));
    }

    void hardwareDisabledSwitchesToANewConfigurationWithoutHardware() {
        qvi::SetConfigModified(false);
        session_->ui.answers.push_back(MessageAnswer::Yes);
        Trigger(Command::HardwareDisabled);
        QCOMPARE(Caption(), QString("QVI Configurator - Untitled*"));
        QVERIFY(!Enabled(Command::HardwareDisabled));
        QVERIFY(!frame_->BoardSelector()->isEnabled());
        // The hardware window is gone; the no-hardware window took its place.
        QVERIFY(frame_->SystemWindowHw() == nullptr);
        QVERIFY(frame_->SystemWindowNoHw() != nullptr);
        QVERIFY(frame_->SystemWindowNoHw()->isVisible());
    }

    // Closing with changes asks, and Cancel keeps the program and writes no
    // placement; the placement is written when the window really closes.
    void closingAsksAboutChangesAndStoresThePlacement() {
        qvi::SetConfigModified(true);
        session_->ui.answers.push_back(MessageAnswer::Cancel);
        frame_->show();
        QVERIFY(!frame_->close());
        QVERIFY(frame_->isVisible());
        QCOMPARE(session_->ui.questions.size(), std::size_t{1});
        QCOMPARE(registry_->GetInt("Window size", "max", -1), -1);

        qvi::SetConfigModified(false);
        QVERIFY(PressInMainWindow(Qt::CTRL | Qt::Key_Q));
        QVERIFY(!frame_->isVisible());
        QCOMPARE(registry_->GetString("Window size", "Rect", ""),
                 std::string("0040 0030 1040 0730"));
        QCOMPARE(registry_->GetInt("Window size", "max", -1), 0);
        QVERIFY(!registry_->GetString("Tool bar", "State", "").empty());
    }

    // TX-10 row 6, "Horizontal Total", asks for topic 16; a link leads to
    // its page and Back returns. The About box shows memory and the core library.
    void helpPagesAndTheAboutBox() {
        qvi::CHelpWindow window;
        window.ShowTopic(16);
        QVERIFY(window.isVisible());
        QVERIFY(window.CurrentTitle().startsWith(QStringLiteral("Horizontal Total")));
        QVERIFY(window.findChild<QTextBrowser *>()->toPlainText().contains(
            QStringLiteral("0..1023, step 1")));
        QPushButton *back = nullptr;
        for (QPushButton *button : window.findChildren<QPushButton *>())
            if (button->text() == QStringLiteral("&Back")) back = button;
        QVERIFY(back != nullptr);
        QVERIFY(!back->isEnabled());
        emit window.findChild<QTextBrowser *>()->anchorClicked(QUrl(QStringLiteral("model:TX-10")));
        QCOMPARE(window.CurrentTitle(), QStringLiteral("TX-10 settings"));
        QVERIFY(back->isEnabled());
        back->click();
        QVERIFY(window.CurrentTitle().startsWith(QStringLiteral("Horizontal Total")));

        // The About box shows the memory and the core library.
        qvi::QV_pci_platform *platform = session_->services.Platform();
        QVERIFY(platform != nullptr);
        const auto &settings = qvi::testing::GuiSession::settings();
        qvi::CAboutDlg dialog(qvi::CollectAboutInfo(settings, &platform->Binding()));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About Camera Configurator"));
        QVERIFY(QRegularExpression(QStringLiteral("^[1-9][0-9]* KB$"))
                    .match(dialog.FieldText(QStringLiteral("RAM Size")))
                    .hasMatch());
        QVERIFY(
            dialog.FieldText(QStringLiteral("Disk Space")).contains(QStringLiteral(" KB Free")));
        QVERIFY(!settings.pciCoreDll.empty());
        QCOMPARE(dialog.FieldText(QStringLiteral("Core Library")),
                 QString::fromStdString(settings.pciCoreDll));
        QVERIFY(
            std::filesystem::exists(dialog.FieldText(QStringLiteral("Loaded From")).toStdString()));
        QCOMPARE(dialog.FieldText(QStringLiteral("File Version")), QStringLiteral(QVI_VERSION));
        QCOMPARE(dialog.FieldText(QStringLiteral("Company Name")), QStringLiteral("Corvath"));
    }

    // The list shows the program's database with camera 0 shown, follows
    // the list buttons, and Cancel closes with the editor's cancel code.
    void theListFollowsItsButtonsAndCancelClosesWithItsCode() {
        auto dialog = OpenDialog();
        QVERIFY(!dialog->isModal());
        QListWidget &list = *dialog->cameraList();
        const QStringList names = ListTexts(list);
        QCOMPARE(names, ToQt(session_->services.CameraDatabase()->GetNames()));
        QCOMPARE(list.currentRow(), 0);
        const qvi::QV_camera_rec &first = *session_->services.CameraDatabase()->GetRecord(0);
        QCOMPARE(dialog->cnfFileEdit()->text().toStdString(), first.configFile);
        QCOMPARE(dialog->commentsEdit()->toPlainText().toStdString(), first.comments);
        QSignalSpy closed(dialog.get(), &CCameraDbDlg::closedWith);

        list.setCurrentRow(1);
        QTest::mouseClick(dialog->duplicateButton(), Qt::LeftButton);
        QCOMPARE(list.count(), names.size() + 1);
        QCOMPARE(list.item(1)->text(), names[1] + "(dup)");

        // A name the database refuses keeps the box open.
        QTest::mouseClick(dialog->renameButton(), Qt::LeftButton);
        QPointer<qvi::CRenameDlg> rename = dialog->renameDialog();
        QVERIFY(rename);
        QCOMPARE(rename->nameEdit()->text(), names[1] + "(dup)");
        rename->nameEdit()->setText(QString(20, 'x'));
        QTest::mouseClick(rename->okButton(), Qt::LeftButton);
        QVERIFY(rename->isVisible());
        rename->nameEdit()->setText(QString(19, 'y'));
        QTest::mouseClick(rename->okButton(), Qt::LeftButton);
        QTRY_VERIFY(rename.isNull());
        QCOMPARE(list.item(1)->text(), QString(19, 'y'));

        const int count = list.count();
        list.setCurrentRow(count - 1);
        session_->ui.answers = {MessageAnswer::Ok};
        QTest::mouseClick(dialog->deleteButton(), Qt::LeftButton);
        QCOMPARE(list.count(), count - 1);
        QCOMPARE(list.currentItem()->text(), names[names.size() - 2]);

        QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.front().front().toInt(), 2);
        QVERIFY(!dialog->isVisible());
    }

    void editedFieldsAreWrittenOnOk() {
        QVERIFY(session_->services.CameraDatabase()->Count() > 4);
        auto dialog = OpenDialog();
        QListWidget &list = *dialog->cameraList();
        QSignalSpy closed(dialog.get(), &CCameraDbDlg::closedWith);
        const std::string name = list.item(3)->text().toStdString();

        list.setCurrentRow(3);
        dialog->moduleBox()->setCurrentText("TX-50");
        QTest::mouseClick(dialog->allButton(), Qt::LeftButton);
        for (int port = 0; port < 4; ++port) QVERIFY(dialog->portBox(port)->isChecked());
        dialog->portBox(0)->setChecked(false);
        dialog->portBox(2)->setChecked(false);
        dialog->commentsEdit()->setPlainText("moved to the TX-50");
        dialog->cablePartEdit()->setText("CBL-50-X");
        // The file keeps its folder below the database's, as the database names it.
        session_->ui.fileChoices = {session_->ConfigDir() / "dbase" / "cameras" / "tx50rs170.cnf"};
        QTest::mouseClick(dialog->selectButton(), Qt::LeftButton);
        QCOMPARE(dialog->cnfFileEdit()->text(), QString("cameras/tx50rs170.cnf"));
        QCOMPARE(session_->ui.fileDialogTitles.back(), std::string("Select"));

        // Leaving the camera keeps its fields; coming back shows them.
        list.setCurrentRow(4);
        list.setCurrentRow(3);
        QCOMPARE(dialog->moduleBox()->currentText(), QString("TX-50"));
        QVERIFY(dialog->portBox(1)->isChecked() && dialog->portBox(3)->isChecked());
        QVERIFY(!dialog->portBox(0)->isChecked() && !dialog->portBox(2)->isChecked());
        dialog->commentsEdit()->setPlainText("moved to the TX-50, ports 1 and 3");

        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.front().front().toInt(), 1);

        const std::string saved = qvi::testing::ScratchDir::Read(DatabaseFile());
        const std::string expected = "\n[Cam3]\nName = " + name +
                                     "\nConfigFile = cameras/tx50rs170.cnf\nValidTXMod = TX-50\n"
                                     "ValidTXPorts = 1,3\nCablePartNumber = CBL-50-X\n"
                                     "Comments = moved to the TX-50, ports 1 and 3\n";
        QVERIFY2(saved.find(expected) != std::string::npos, saved.c_str());
    }
};

// A screen that holds the windows where these tests put them.
QVI_GUI_TEST_MAIN(MainFrameTest, 1920, 1200, 1.0)
#include "main_frame_gui_test.moc"
