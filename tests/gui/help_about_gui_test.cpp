// The help window and the About box on the started sample session.
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QtTest>

#include <filesystem>
#include <memory>

#include "app/about_info.h"
#include "gui/about_dialog.h"
#include "gui/gui_session.h"
#include "gui/help_window.h"
#include "system/pci_platform.h"

class HelpAboutGuiTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<qvi::testing::GuiSession> session_;

    static QString Text(qvi::CHelpWindow &window) {
        return window.findChild<QTextBrowser *>()->toPlainText();
    }

private slots:
    // Each test starts from its own session on the demo.
    void init() {
        session_ = std::make_unique<qvi::testing::GuiSession>();
        QVERIFY(session_->Started());
        QCOMPARE(session_->Load(session_->Demo()), 0);
    }
    void cleanup() { session_.reset(); }

    // TX-10 row 6, "Horizontal Total", asks for topic 16; a link leads to
    // its page and Back returns. The About box shows memory and the core library.
    void helpPagesAndTheAboutBox() {
        qvi::CHelpWindow window;
        window.ShowTopic(16);
        QVERIFY(window.isVisible());
        QVERIFY(window.CurrentTitle().startsWith(QStringLiteral("Horizontal Total")));
        QVERIFY(Text(window).contains(QStringLiteral("0..1023, step 1")));
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
};

QTEST_MAIN(HelpAboutGuiTest)
#include "help_about_gui_test.moc"
