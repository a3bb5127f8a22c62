#pragma once

#include <QDialog>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace qvi {

class AppSettings;
class QV_mod_factory;
class SystemTree;

// The system window without hardware: the elements of the open
// configuration beside the modules that fit the selected element, with
// "<- Add" to put the chosen module into an empty slot and "Remove->" to
// take a module out. A double click asks for the element's Module Setup
// dialog.
class CSystemWindowNoHw : public QDialog {
    Q_OBJECT

public:
    CSystemWindowNoHw(SystemTree &tree, QV_mod_factory &factory, AppSettings &settings,
                      QWidget *parent = nullptr);

    // Refills the lists and selects the first element that can take a module.
    void Rebuild();
    // Moves the window 50 pixels right of and 100 pixels below the main
    // window's top-left corner, keeping its size.
    void PlaceBeside(QWidget *mainWindow);
    // The selected element, or -1.
    int SelectedElement() const;

signals:
    void editRequested(int elementIndex);
    // A module is about to be added or removed: whatever holds on to the
    // model's modules (the Module Setup dialogs) lets go of them first.
    void aboutToChangeSystem();
    // A module was added or removed.
    void systemChanged();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Refills the element list and selects `element`.
    void Fill(int element);
    void ShowAvailable(int element);
    void OnAdd();
    void OnRemove();
    void OnDoubleClicked(QListWidgetItem *item);

    SystemTree &tree_;
    QV_mod_factory &factory_;
    AppSettings &settings_;
    QListWidget *elements_ = nullptr;
    QListWidget *available_ = nullptr;
    QPushButton *add_ = nullptr;
    QPushButton *remove_ = nullptr;
};

}  // namespace qvi
