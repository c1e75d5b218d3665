#include "uBarLayout.h"

#include <QMainWindow>
#include <QMouseEvent>
#include <QToolBar>

#include <algorithm>

namespace lx::editor {

namespace {
constexpr int kMinPanelWidth = 150;
constexpr int kEdge = 2;
} // namespace

void ArrangeBars(QMainWindow* window, std::vector<TBarPlace> places) {
    std::stable_sort(places.begin(), places.end(), [](const TBarPlace& a, const TBarPlace& b) {
        return a.Top != b.Top ? a.Top < b.Top : a.Left < b.Left;
    });
    for (const TBarPlace& p : places) {
        const bool shown = !p.Bar->isHidden();
        window->removeToolBar(p.Bar);
        p.Bar->setVisible(shown); // removing hides the bar
    }
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (i > 0 && places[i].Top != places[i - 1].Top)
            window->addToolBarBreak(Qt::TopToolBarArea);
        const bool shown = !places[i].Bar->isHidden();
        window->addToolBar(Qt::TopToolBarArea, places[i].Bar);
        places[i].Bar->setVisible(shown);
    }
}

TPanelSizer::TPanelSizer(QToolBar* panel, QMainWindow* window)
    : QObject(panel), FPanel(panel), FWindow(window) {
    // The panel's fields may reach its edge, so their mouse events count too.
    panel->setMouseTracking(true);
    panel->installEventFilter(this);
    for (QWidget* child : panel->findChildren<QWidget*>()) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
}

void TPanelSizer::SetWidth(QToolBar* panel, int width) {
    panel->setFixedWidth(std::max(kMinPanelWidth, width));
}

bool TPanelSizer::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget != FPanel && !FPanel->isAncestorOf(widget)))
        return false;
    auto panelX = [&](const QMouseEvent* m) {
        return widget->mapTo(FPanel, m->position().toPoint()).x();
    };
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* m = static_cast<QMouseEvent*>(event);
        const int x = panelX(m);
        if (FDragging) {
            const int limit = FWindow->width() - FPanel->x() - 1;
            if (x >= kMinPanelWidth && x < limit)
                FPanel->setFixedWidth(x);
            event->accept(); // not handed on to the window
            return true;
        }
        // The bar would put its own cursor back: the edge is ours alone.
        if (x >= FPanel->width() - kEdge) {
            widget->setCursor(Qt::SplitHCursor);
            event->accept(); // not handed on to the window
            return true;
        }
        widget->unsetCursor();
        return false;
    }
    case QEvent::MouseButtonPress: {
        const auto* m = static_cast<QMouseEvent*>(event);
        if (m->button() == Qt::LeftButton && panelX(m) >= FPanel->width() - kEdge) {
            FDragging = true;
            event->accept(); // not handed on to the window
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (FDragging) {
            FDragging = false;
            event->accept(); // not handed on to the window
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace lx::editor
