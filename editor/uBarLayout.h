#pragma once
// The tool bar band of the main window: the bars and panels stand in rows,
// kept in main.ini as each one's top and left; the two panels can be made
// wider or narrower by dragging their right edge.

#include <QObject>

#include <string>
#include <vector>

class QMainWindow;
class QToolBar;

namespace lx::editor {

/// One bar of the band as main.ini keeps it (fMain.<name>.Top/.Left[/.Width]).
struct TBarPlace {
    QToolBar* Bar = nullptr;
    int Top = 0;
    int Left = 0;
};

/// Puts the bars into the window's top area in rows: equal tops share a row,
/// rows in the order of their tops, bars within a row by their lefts (ties
/// keep the given order).
void ArrangeBars(QMainWindow* window, std::vector<TBarPlace> places);

/// Lets the user resize a panel by its right edge: within 2 pixels of it the
/// cursor becomes the split cursor, and dragging sets the width to the mouse
/// position while it is at least 150 and less than the band width minus the
/// panel's left minus 1.
class TPanelSizer : public QObject {
public:
    TPanelSizer(QToolBar* panel, QMainWindow* window);
    /// Sets the panel's width (at least 150).
    static void SetWidth(QToolBar* panel, int width);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolBar* FPanel;
    QMainWindow* FWindow;
    bool FDragging = false;
};

} // namespace lx::editor
