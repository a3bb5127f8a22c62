// The Console pane that shows what the library prints.
#include "gui/console_pane.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "library/library_binding.h"

namespace qvi {

namespace {

constexpr int kMaxBlocks = 20000;

}  // namespace

CConsolePane::CConsolePane(QWidget *parent) : QDockWidget("Console", parent) {
    setObjectName("console");
    text_ = new QPlainTextEdit(this);
    text_->setObjectName("consoleText");
    text_->setReadOnly(true);
    text_->setMaximumBlockCount(kMaxBlocks);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    setWidget(text_);
}

CConsolePane::~CConsolePane() {
    if (binding_ == nullptr) return;
    if (auto sink = binding_->Entry<&::qrx_set_console_sink>()) sink(nullptr, nullptr);
}

void CConsolePane::Attach(LibraryBinding &binding) {
    auto sink = binding.Entry<&::qrx_set_console_sink>();
    if (!sink) return;
    binding_ = &binding;
    sink(&CConsolePane::Sink, this);
}

void CConsolePane::Sink(const char *text, void *user) {
    auto *pane = static_cast<CConsolePane *>(user);
    QMetaObject::invokeMethod(pane, "Append", Qt::QueuedConnection,
                              Q_ARG(QString, QString::fromLocal8Bit(text)));
}

void CConsolePane::Append(const QString &text) {
    // The library prints whole lines with their line ends; the edit adds its own.
    QString shown = text;
    if (shown.endsWith('\n')) shown.chop(1);
    text_->appendPlainText(shown);
    text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
}

void CConsolePane::BringToFront() {
    show();
    raise();
    if (isFloating()) activateWindow();
}

QString CConsolePane::Text() const {
    return text_->toPlainText();
}

}  // namespace qvi
