#pragma once

#include <QWidget>

#include <memory>

#include "app/help_pages.h"

class QPushButton;
class QTextBrowser;
class QUrl;

namespace qvi {

// The help window: one top-level window that shows the built-in help pages.
// Help requests name a topic number; links inside the pages lead to other
// pages; Back returns along the pages shown, Contents opens the contents.
class CHelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit CHelpWindow(QWidget *parent = nullptr);
    ~CHelpWindow() override;

    // Shows the topic's page (the contents with a note for an unknown topic)
    // and brings the window to the front.
    void ShowTopic(int topic);

    const HelpBook &Book() const { return *book_; }
    // The title of the page shown; empty before any.
    QString CurrentTitle() const;

private slots:
    void OnAnchorClicked(const QUrl &url);
    void OnBack();
    void OnContents();

private:
    void Display(const HelpPage &page);

    std::unique_ptr<HelpBook> book_;
    std::unique_ptr<HelpNavigator> navigator_;
    QTextBrowser *browser_;
    QPushButton *backButton_;
};

}  // namespace qvi
