// TXMLResource: the program's resource strings in the language of the pack.
#include "uLexivane.h"

#include "host/uHostUI.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "uResUtils.h"

#include <cerrno>
#include <charconv>
#include <unistd.h>

namespace lx {

TXMLResource::TXMLResource(QWidget* parent) : TXMLBaseClass(parent) {}

TXMLResource::~TXMLResource() {
    ReleaseCopy();
    unlink(CopyFileName().c_str());
}

std::string TXMLResource::CopyFileName() {
    return platform::ChangeFileExt(RunningModuleFileName(), ".dlng");
}

void TXMLResource::ReleaseCopy() {
    if (FActive)
        ClearActiveStringTable();
    FActive = false;
}

bool TXMLResource::ApplyTree(TXMLTreeItem* tree) {
    ReleaseCopy(); // from here on the program has its own texts
    const std::string copy = CopyFileName();
    if (unlink(copy.c_str()) != 0 && errno != ENOENT) {
        QString text = QString::fromLatin1(rsCouldDeleteTmlFile);
        text.replace(QStringLiteral("%s"), QString::fromStdString(copy));
        host::HostUI().ShowMessage(text);
        return false;
    }
    if (!WriteResourceStrings(copy, tree))
        return false;
    try {
        SetActiveStringTable(
            TableOfBlocks(ReadStringBlocks(kTranslatedTableMagic, platform::ReadWholeFile(copy))));
        FActive = true;
    } catch (const std::exception& e) {
        host::HostUI().ShowError(QString::fromStdString(e.what()));
        return false;
    }
    return true;
}

bool TXMLResource::WriteResourceStrings(const std::string& fileName, TXMLTreeItem* tree) {
    TStringTable translated;
    std::vector<std::uint32_t> blockOrder;
    const TStringTable& own = ProgramStringTable();
    if (TTree* rs = tree ? tree->FindChild("resourcestring") : nullptr) {
        for (int i = 0; i < rs->GetCount(); ++i) {
            const auto* item = static_cast<const TXMLTreeItem*>(rs->GetItem_(i));
            const std::string& name = item->GetName();
            int number = 0;
            const auto [p, ec] = std::from_chars(name.data(), name.data() + name.size(), number);
            if (name.empty() || ec != std::errc() || p != name.data() + name.size())
                throw ELXError("'" + name + "' is not a valid integer value");
            std::uint32_t resID = 0;
            if (FRepository.Items.empty()) {
                if (number > 0 && own.count(static_cast<std::uint32_t>(number)))
                    resID = static_cast<std::uint32_t>(number);
            } else {
                resID = static_cast<std::uint32_t>(std::max(0, FRepository.FindByID(number).ResID));
            }
            if (resID == 0)
                continue;
            translated[resID] = item->GetText();
            const std::uint32_t block = BlockNumberOf(resID);
            if (std::find(blockOrder.begin(), blockOrder.end(), block) == blockOrder.end())
                blockOrder.push_back(block);
        }
    }
    // Every position the pack leaves empty keeps the program's own text.
    std::vector<TStringBlock> blocks;
    for (const std::uint32_t number : blockOrder) {
        TStringBlock b;
        b.Number = number;
        for (std::uint32_t pos = 0; pos < 16; ++pos) {
            const std::uint32_t id = (number - 1) * 16 + pos;
            if (auto t = translated.find(id); t != translated.end())
                b.Entries[pos] = t->second;
            else if (auto o = own.find(id); o != own.end())
                b.Entries[pos] = o->second;
        }
        blocks.push_back(std::move(b));
    }
    try {
        platform::WriteFileAtomic(fileName, WriteStringBlocks(kTranslatedTableMagic, blocks));
    } catch (const platform::EFileError&) {
        host::HostUI().ShowError(QString::fromLatin1(rsCannotUpdateFile));
        return false;
    }
    return true;
}

} // namespace lx
