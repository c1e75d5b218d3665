#pragma once
// A working folder opened into a real pack set, a browser linked to it, and
// a name field and value panel that record what the browser tells them.
// Helpers answer the selection dialog while it is shown modally.

#include "WorkFolderTest.h"
#include "editor/frames/uBrowser.h"
#include "editor/uGetSelection.h"
#include "editor/uLangPacks.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <string>
#include <vector>

namespace lx::test {

struct TRecordingName : editor::IVarNameEditor {
    std::string Name;
    int Calls = 0;
    std::string GetVarName() override { return Name; }
    void SetVarName(const std::string& name) override {
        Name = name;
        ++Calls;
    }
};

struct TRecordingMemo : editor::IVarMemo {
    std::string Path;
    int Refreshes = 0;
    std::string GetVarPath() override { return Path; }
    void SetVarPath(const std::string& path) override { Path = path; }
    void UpdateFonts() override {}
    void Refresh() override { ++Refreshes; }
};

/// Runs `answer` on the selection dialog once it is up (the dialog runs its
/// own event loop, so the answer comes from a queued call). A dialog that
/// never shows fails the test instead of blocking it.
inline void AnswerSelection(std::function<void(editor::TfGetSelection&)> answer, int tries = 200) {
    QTimer::singleShot(tries == 200 ? 0 : 5, [answer, tries] {
        auto* d = qobject_cast<editor::TfGetSelection*>(QApplication::activeModalWidget());
        if (!d) {
            if (tries > 0)
                AnswerSelection(answer, tries - 1);
            else
                ADD_FAILURE() << "the selection dialog did not show";
            return;
        }
        answer(*d);
        if (d->isVisible()) {
            ADD_FAILURE() << "the selection dialog is still open";
            d->reject();
        }
    });
}

/// Clicks row `row` of a list and toggles its tick with the space bar.
inline void ToggleRow(QListWidget* list, int row) {
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QTest::keyClick(list, Qt::Key_Space);
}

/// Clicks Ok; a disabled Ok fails the test and cancels the dialog.
inline void ClickOk(editor::TfGetSelection& d) {
    auto* ok = d.findChild<QPushButton*>("btnOk");
    if (!ok->isEnabled()) {
        ADD_FAILURE() << "Ok is disabled";
        d.reject();
        return;
    }
    QTest::mouseClick(ok, Qt::LeftButton);
}

class TBrowserTest : public TWorkFolderTest {
protected:
    /// Writes the packs (name -> body after the SYSTEM part), opens the folder.
    void Open(const std::vector<std::pair<std::string, std::string>>& packs) {
        std::filesystem::remove(Dir.File("work/RUS.lng"));
        std::filesystem::remove(Dir.File("work/ENU.lng"));
        for (const auto& [name, body] : packs)
            Dir.Write("work/" + name + ".lng",
                      "<SYSTEM>\r  <ENCODING>UTF8</ENCODING>\r</SYSTEM>\r" + body);
        ASSERT_TRUE(Set.OpenWorkDir(Work));
        Browser.SetNameEditor(&Name);
        Browser.SetVarMemo(&Memo);
        Browser.SetLangPack(&Set);
        Browser.resize(300, 400);
        Browser.show();
    }
    void TearDown() override {
        Browser.SetLangPack(nullptr);
        TWorkFolderTest::TearDown();
    }
    QTreeWidget* View() { return Browser.findChild<QTreeWidget*>("TreeView"); }
    QComboBox* Combo(int k) {
        return Browser.findChild<QComboBox*>(QStringLiteral("cbxItem%1").arg(k));
    }
    /// Chooses the entry with that text by key presses, as a user would.
    void Choose(QComboBox* box, const QString& text) {
        const int target = box->findText(text);
        ASSERT_GE(target, 0) << text.toStdString();
        box->setFocus();
        while (box->currentIndex() < target)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > target)
            QTest::keyClick(box, Qt::Key_Up);
    }
    /// The texts of the view's nodes, "PARENT/CHILD" nested, in view order.
    std::vector<std::string> Nodes() {
        std::vector<std::string> r;
        for (QTreeWidgetItemIterator it(View()); *it; ++it) {
            std::string s;
            for (QTreeWidgetItem* n = *it; n; n = n->parent())
                s = n->text(0).toStdString() + (s.empty() ? "" : "/" + s);
            r.push_back(s);
        }
        return r;
    }
    TXMLTreeItem* Pack(int i) { return Set.GetPack(i); }
    std::u16string Text(int pack, const std::string& path) {
        return Pack(pack)->GetItemValue_(path);
    }
    bool Has(int pack, const std::string& path) { return Pack(pack)->GetItem_F(path) != nullptr; }

    editor::TLangPackSet Set;
    TRecordingName Name;
    TRecordingMemo Memo;
    editor::TfrBrowser Browser;
};

} // namespace lx::test
