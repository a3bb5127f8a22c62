// qvconfig: the desktop configurator.
#include <QApplication>

#include "platform/qt/qt_ui.h"

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    qvi::QtUi ui;
    qvi::ScopedUi install(ui);
    return 0;
}
