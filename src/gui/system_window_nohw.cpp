// The system window without hardware, with the modules that fit the selected element.
#include "gui/system_window_nohw.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/module_fit.h"
#include "app/system_tree.h"
#include "app/system_window_lines.h"
#include "gui/screen_fit.h"

namespace qvi {

namespace {

constexpr QPoint kOffsetFromMainWindow(50, 100);

}  // namespace

CSystemWindowNoHw::CSystemWindowNoHw(SystemTree &tree, QV_mod_factory &factory,
                                     AppSettings &settings, QWidget *parent)
    : QDialog(parent), tree_(tree), factory_(factory), settings_(settings) {
    setWindowTitle("System");
    elements_ = new QListWidget(this);
    elements_->setObjectName("systemModules");
    available_ = new QListWidget(this);
    available_->setObjectName("availableModules");
    add_ = new QPushButton("<- Add", this);
    add_->setObjectName("addButton");
    remove_ = new QPushButton("Remove->", this);
    remove_->setObjectName("removeButton");
    for (QPushButton *button : {add_, remove_}) button->setAutoDefault(false);

    auto *buttons = new QVBoxLayout;
    buttons->addStretch();
    buttons->addWidget(add_);
    buttons->addWidget(remove_);
    buttons->addStretch();
    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel("System Module", this), 0, 0);
    layout->addWidget(new QLabel("Available Module", this), 0, 2);
    layout->addWidget(elements_, 1, 0);
    layout->addLayout(buttons, 1, 1);
    layout->addWidget(available_, 1, 2);

    // The selection, not the current line: the list gets a current line of
    // its own when it takes the focus, and keeps it when Ctrl+click deselects.
    connect(elements_, &QListWidget::itemSelectionChanged, this,
            [this] { ShowAvailable(SelectedElement()); });
    connect(elements_, &QListWidget::itemDoubleClicked, this, &CSystemWindowNoHw::OnDoubleClicked);
    connect(add_, &QPushButton::clicked, this, &CSystemWindowNoHw::OnAdd);
    connect(remove_, &QPushButton::clicked, this, &CSystemWindowNoHw::OnRemove);
    Rebuild();
}

void CSystemWindowNoHw::Rebuild() {
    Fill(FirstElementTakingModule(tree_.System()));
}

void CSystemWindowNoHw::PlaceBeside(QWidget *mainWindow) {
    if (mainWindow != nullptr) move(mainWindow->pos() + kOffsetFromMainWindow);
    KeepOnScreen(*this);
}

// Placed before the window system added its frame: checked again with it.
void CSystemWindowNoHw::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) KeepOnScreen(*this);
}

int CSystemWindowNoHw::SelectedElement() const {
    const QList<QListWidgetItem *> selected = elements_->selectedItems();
    return selected.isEmpty() ? -1 : elements_->row(selected.front());
}

void CSystemWindowNoHw::Fill(int element) {
    {
        const QSignalBlocker blocker(elements_);
        elements_->clear();
        for (const std::string &text : ElementTexts(tree_))
            elements_->addItem(QString::fromStdString(text));
        elements_->setCurrentRow(element < elements_->count() ? element : -1);
    }
    ShowAvailable(SelectedElement());
}

// Add is offered while some module fits the element, Remove otherwise.
void CSystemWindowNoHw::ShowAvailable(int element) {
    const std::vector<std::string> names = AvailableModules(settings_, tree_.System(), element);
    {
        const QSignalBlocker blocker(available_);
        available_->clear();
        for (const std::string &name : names) available_->addItem(QString::fromStdString(name));
        if (!names.empty()) available_->setCurrentRow(0);
    }
    add_->setEnabled(!names.empty());
    remove_->setEnabled(element >= 0 && names.empty());
}

void CSystemWindowNoHw::OnAdd() {
    const int element = SelectedElement();
    const QListWidgetItem *module = available_->currentItem();
    if (element < 0 || module == nullptr) return;
    emit aboutToChangeSystem();
    if (AddModule(tree_.System(), factory_, element, module->text().toStdString()) != 0) return;
    tree_.Reload();
    Fill(element);
    emit systemChanged();
}

void CSystemWindowNoHw::OnRemove() {
    const int element = SelectedElement();
    if (element < 0) return;
    emit aboutToChangeSystem();
    if (tree_.System().RemoveElement(element, factory_, [this, element] { Fill(element); }) != 0)
        return;
    Fill(element);
    emit systemChanged();
}

void CSystemWindowNoHw::OnDoubleClicked(QListWidgetItem *item) {
    const int element = elements_->row(item);
    if (element >= 0) emit editRequested(element);
}

}  // namespace qvi
