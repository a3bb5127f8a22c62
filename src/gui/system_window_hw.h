#pragma once

#include <QDialog>
#include <QStringList>
#include <vector>

#include "app/system_window_lines.h"

class QCheckBox;
class QListWidget;
class QListWidgetItem;

namespace qvi {

class SystemTree;

// The system window while hardware is enabled: the open configuration as a
// list of elements (element mode) or of the boards that acquire (board mode).
// Selecting a line of an acquisition board makes it the active board; a
// double click asks for the element's Module Setup dialog. Hidden until the
// main window shows it.
class CSystemWindowHw : public QDialog {
    Q_OBJECT

public:
    enum class Mode { Elements, Boards };

    static constexpr int kHelpTopic = 131219;

    explicit CSystemWindowHw(SystemTree &tree, QWidget *parent = nullptr);

    // Rebuilds the list for a newly loaded configuration: the tree's first
    // board becomes active and, in element mode, the first module line after
    // the system line is selected.
    void Rebuild();
    // Switches between element and board mode, keeping the active board.
    void SetMode(Mode mode);
    Mode GetMode() const { return mode_; }

    // Makes the board active and aligns the list with it, without emitting
    // activeBoardChanged (the board selector or the main window chose it).
    void SelectBoard(int board);
    int ActiveBoard() const { return activeBoard_; }
    // The element of the selected line, or -1.
    int SelectedElement() const;
    // The board-mode texts, which the main window's board selector shows.
    QStringList BoardItems() const;

signals:
    void activeBoardChanged(int board);
    void editRequested(int elementIndex);
    void helpRequested(int topic);

protected:
    // The title bar's help button asks for the window's help topic.
    bool event(QEvent *event) override;
    // Centred on a main window that reaches past the screen, it would too.
    void showEvent(QShowEvent *event) override;

private:
    // Refills the list for the current mode and the active board.
    void Fill();
    void SelectLine(int line);
    // The first module line after the system line, or -1.
    int FirstModuleLine() const;
    void OnRowChanged(int row);
    void OnDoubleClicked(QListWidgetItem *item);
    void OnAlwaysOnTop(bool onTop);

    SystemTree &tree_;
    Mode mode_ = Mode::Elements;
    int activeBoard_ = -1;
    std::vector<SystemListItem> items_;
    QListWidget *list_ = nullptr;
    QCheckBox *alwaysOnTop_ = nullptr;
};

}  // namespace qvi
