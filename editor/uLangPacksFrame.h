#pragma once
// The pack-set panel: the packs of the open working folder with their ticks,
// per-pack font buttons and encoding boxes. It owns the pack set and offers
// it to the other panels as ILangPack.

#include "uLangPacks.h"

#include <QWidget>

#include <functional>

class QLabel;
class QMenu;
class QVBoxLayout;

namespace lx::editor {

class TfrLangPacks : public QWidget {
    Q_OBJECT
public:
    explicit TfrLangPacks(QWidget* parent = nullptr);

    TLangPackSet& Set() { return FSet; }
    ILangPack* LangPack() { return &FSet; }
    const std::string& WorkDir() const { return FSet.WorkDir(); }

    /// Where the Go menu is built, and what its items call (with the pack index).
    void SetGoMenu(QMenu* menu, std::function<void(int)> onGo);
    /// Lays the list out again from the set (after every change).
    void Rebuild();

signals:
    /// The set or a tick changed.
    void PacksChanged();

protected:
    /// The caption follows the interface language.
    void changeEvent(QEvent* event) override;

private:
    void BuildGoMenu();
    TLangPackSet FSet;
    QLabel* FCaption;
    QWidget* FList;
    QVBoxLayout* FRows;
    QMenu* FGoMenu = nullptr;
    std::function<void(int)> FOnGo;
};

} // namespace lx::editor
