// The help window that shows the built-in help pages.
#include "gui/help_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace qvi {

CHelpWindow::CHelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window),
      book_(std::make_unique<HelpBook>()),
      navigator_(std::make_unique<HelpNavigator>(*book_)),
      browser_(new QTextBrowser(this)),
      backButton_(new QPushButton(tr("&Back"), this)) {
    setWindowTitle(tr("QVI Configurator Help"));
    auto *contentsButton = new QPushButton(tr("&Contents"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(contentsButton);
    buttons->addWidget(backButton_);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);

    // The pages' links name help pages, not files: the window follows them itself.
    browser_->setOpenLinks(false);
    backButton_->setEnabled(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, &CHelpWindow::OnAnchorClicked);
    connect(backButton_, &QPushButton::clicked, this, &CHelpWindow::OnBack);
    connect(contentsButton, &QPushButton::clicked, this, &CHelpWindow::OnContents);
    resize(720, 640);
}

CHelpWindow::~CHelpWindow() = default;

void CHelpWindow::ShowTopic(int topic) {
    Display(navigator_->ShowTopic(topic));
    show();
    raise();
    activateWindow();
}

QString CHelpWindow::CurrentTitle() const {
    const HelpPage *page = navigator_->Current();
    return page ? QString::fromStdString(page->title) : QString();
}

void CHelpWindow::OnAnchorClicked(const QUrl &url) {
    if (const HelpPage *page = navigator_->Follow(url.toString().toStdString())) Display(*page);
}

void CHelpWindow::OnBack() {
    if (const HelpPage *page = navigator_->Back()) Display(*page);
}

void CHelpWindow::OnContents() {
    Display(navigator_->ShowTopic(HelpBook::kContentsTopic));
}

void CHelpWindow::Display(const HelpPage &page) {
    const QSignalBlocker blocker(browser_);
    browser_->setHtml(QString::fromStdString(page.body));
    setWindowTitle(tr("QVI Configurator Help - %1").arg(QString::fromStdString(page.title)));
    backButton_->setEnabled(navigator_->CanGoBack());
}

}  // namespace qvi
