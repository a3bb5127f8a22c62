#pragma once

#include <unistd.h>

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QtTest>

namespace qvi::testing {

// Gives the offscreen platform's one screen the size (in device pixels) and
// scale factor a test needs, instead of the plugin's 800 x 600. Must run
// before the application object exists; a real display keeps its own screens.
// Returns the description's file, which the platform has read once the
// application object exists; empty when there is none.
inline QString UseOffscreenScreen(int width, int height, double scale) {
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen") return {};
    const QString path = QDir::temp().filePath(QString("qvi-screen-%1.json").arg(::getpid()));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
    file.write(QString(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": %1,)"
                       R"( "height": %2, "logicalDpi": %3, "logicalBaseDpi": 96}]})")
                   .arg(width)
                   .arg(height)
                   .arg(96 * scale)
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + path.toUtf8());
    return path;
}

}  // namespace qvi::testing

// QTEST_MAIN on a screen of the given size and scale factor.
#define QVI_GUI_TEST_MAIN(TestObject, width, height, scale)                            \
    int main(int argc, char **argv) {                                                  \
        const QString screen = qvi::testing::UseOffscreenScreen(width, height, scale); \
        QApplication app(argc, argv);                                                  \
        if (!screen.isEmpty()) QFile::remove(screen);                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                       \
        TestObject test;                                                               \
        QTEST_SET_MAIN_SOURCE_PATH                                                     \
        return QTest::qExec(&test, argc, argv);                                        \
    }
