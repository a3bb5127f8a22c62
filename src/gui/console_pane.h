#pragma once

#include <QDockWidget>

class QPlainTextEdit;

namespace qvi {

class LibraryBinding;

// The library's console: load messages, "Config Info" and register dumps.
// The library may print from any thread; text reaches the pane through the
// event queue.
class CConsolePane : public QDockWidget {
    Q_OBJECT

public:
    explicit CConsolePane(QWidget *parent);
    ~CConsolePane() override;

    // Routes the library's console output here until this pane is gone.
    void Attach(LibraryBinding &binding);
    // View Registers brings the console to the front.
    void BringToFront();
    QString Text() const;

public slots:
    void Append(const QString &text);

private:
    static void Sink(const char *text, void *user);

    QPlainTextEdit *text_;
    LibraryBinding *binding_ = nullptr;
};

}  // namespace qvi
