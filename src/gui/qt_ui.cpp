// The desktop's Ui: message boxes, file dialogs, the wait cursor and the event pump.
#include "gui/qt_ui.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QThread>

namespace qvi {

namespace {

QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return QMessageBox::Ok;
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

MessageAnswer AnswerOf(int button) {
    switch (button) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Cancel;
    }
}

std::optional<std::filesystem::path> Chosen(const QString &name) {
    if (name.isEmpty()) return std::nullopt;
    return std::filesystem::path(name.toStdString());
}

// The title bar's icon and buttons beside the caption.
constexpr int kTitleBarExtras = 160;

// The box sizes itself to its text and buttons; a longer caption would be
// cut short in the title bar. A spacer as wide as the caption needs widens it.
void FitCaption(QMessageBox &box) {
    if (box.windowTitle().isEmpty()) return;
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (grid == nullptr) return;
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + kTitleBarExtras;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

QString FilterText(const std::vector<FileFilter> &filters) {
    QStringList parts;
    for (const FileFilter &filter : filters)
        parts << ToQt(filter.description) + " (" + ToQt(filter.pattern) + ")";
    return parts.join(";;");
}

void QtUi::ShowMessage(MessageKind kind, std::string_view text) {
    // Errors keep the stop icon and no caption of their own; warnings are
    // captioned "Warning".
    const QString caption = kind == MessageKind::Warning ? QStringLiteral("Warning") : QString();
    QMessageBox box(kind == MessageKind::Warning ? QMessageBox::Critical : IconOf(kind), caption,
                    ToQt(text), QMessageBox::Ok, parent_);
    FitCaption(box);
    box.exec();
}

MessageAnswer QtUi::Ask(std::string_view text, MessageButtons buttons, MessageKind icon,
                        std::string_view caption) {
    // Questions come with the information kind and show the question mark.
    const QMessageBox::Icon shown =
        icon == MessageKind::Information ? QMessageBox::Question : IconOf(icon);
    QMessageBox box(shown, ToQt(caption), ToQt(text), ButtonsOf(buttons), parent_);
    FitCaption(box);
    return AnswerOf(box.exec());
}

std::optional<std::filesystem::path> QtUi::OpenFileDialog(
    std::string_view title, const std::vector<FileFilter> &filters,
    const std::filesystem::path &initialDir) {
    return Chosen(QFileDialog::getOpenFileName(parent_, ToQt(title),
                                               QString::fromStdString(initialDir.string()),
                                               FilterText(filters)));
}

std::optional<std::filesystem::path> QtUi::SaveFileDialog(
    std::string_view title, const std::vector<FileFilter> &filters,
    const std::filesystem::path &initialPath) {
    // The program asks its own overwrite question once it knows the final
    // name (".txt" may still be appended), so the dialog does not ask.
    return Chosen(QFileDialog::getSaveFileName(
        parent_, ToQt(title), QString::fromStdString(initialPath.string()), FilterText(filters),
        nullptr, QFileDialog::DontConfirmOverwrite));
}

void QtUi::BeginWaitCursor() {
    if (waitDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUi::EndWaitCursor() {
    if (waitDepth_ > 0 && --waitDepth_ == 0) QApplication::restoreOverrideCursor();
}

bool QtUi::PumpUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= timeout.count()) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

}  // namespace qvi
