// The Help menu's Acquisition Self-Test on the demo and its rack: the
// question about open image windows, Cancel, and the report shown and kept.
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <string>

#include "gui/gui_desktop.h"
#include "gui/gui_screen.h"
#include "gui/image_window.h"
#include "gui/self_test_dialog.h"

using qvi::Command;
using qvi::CSelfTestDialog;

class SelfTestGuiTest : public QObject, qvi::testing::DesktopFixture {
    Q_OBJECT

private:
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
        std::ifstream in(
            std::filesystem::path(session_->Demo()).replace_extension(".selftest.txt"));
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private slots:
    void init() {
        QVERIFY(StartSession());
        QVERIFY2(OpenDemo("0040 0030 1040 0730", true), FirstError().c_str());
    }
    void cleanup() { TearDown(); }

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

QVI_GUI_TEST_MAIN(SelfTestGuiTest, 1280, 1024, 1.0)
#include "self_test_gui_test.moc"
