// Deterministic generator of realistic language packs for the benchmarks.
#include "PackGenerator.h"

#include "platform/CodePage.h"

#include <array>
#include <initializer_list>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace lx::bench {

std::uint64_t TRandom::Next() {
    std::uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::size_t TRandom::Range(std::size_t lo, std::size_t hi) {
    return lo + static_cast<std::size_t>(Next() % (hi - lo + 1));
}

namespace {

constexpr std::array<std::string_view, 44> kLatinWords = {
    "File",     "Open",    "Save",     "Cancel",   "Settings", "Options",    "Help",   "About",
    "Print",    "Preview", "Error",    "Warning",  "Record",   "Delete",     "Insert", "Search",
    "Replace",  "Next",    "Back",     "Finish",   "Window",   "Tools",      "Report", "Data",
    "Export",   "Import",  "user",     "password", "server",   "connection", "failed", "value",
    "is",       "not",     "the",      "of",       "to",       "and",        "all",    "name",
    "selected", "records", "document", "changes"};

constexpr std::array<std::string_view, 44> kCyrillicWords = {
    "Файл",    "Открыть",     "Сохранить",    "Отмена",   "Настройки", "Параметры",
    "Справка", "О программе", "Печать",       "Просмотр", "Ошибка",    "Предупреждение",
    "Запись",  "Удалить",     "Вставить",     "Поиск",    "Заменить",  "Далее",
    "Назад",   "Готово",      "Окно",         "Сервис",   "Отчёт",     "данные",
    "Экспорт", "Импорт",      "пользователь", "пароль",   "сервер",    "соединение",
    "не",      "удалось",     "значение",     "для",      "и",         "все",
    "имя",     "выбранные",   "записи",       "документ", "изменения", "файла",
    "в",       "на"};

constexpr std::array<std::string_view, 6> kAngleWords = {"<",      "<нет>",  "< Back",
                                                         "Next >", "<none>", "a < b"};

constexpr std::array<std::string_view, 5> kEndings = {":", "...", " %s", " %d", "?"};

struct TComponentKind {
    std::string_view Prefix;
    std::array<std::string_view, 3> Properties; // empty entries unused
};

constexpr std::array<TComponentKind, 12> kKinds = {{
    {"btn", {"Caption", "Hint", ""}},
    {"lbl", {"Caption", "", ""}},
    {"edt", {"Text", "Hint", ""}},
    {"chk", {"Caption", "Hint", ""}},
    {"rb", {"Caption", "", ""}},
    {"grp", {"Caption", "", ""}},
    {"cmb", {"Text", "Hint", ""}},
    {"tab", {"Caption", "", ""}},
    {"pnl", {"Caption", "Hint", ""}},
    {"act", {"Caption", "Hint", "Category"}},
    {"col", {"Title", "", ""}},
    {"sb", {"SimpleText", "", ""}},
}};

constexpr std::array<std::string_view, 20> kBaseNames = {
    "OK",    "Cancel",   "Info",   "Name",   "Save",  "Open",   "Help",
    "Close", "Apply",    "Search", "Path",   "User",  "Server", "Options",
    "Next",  "Password", "Status", "Delete", "Print", "Back"};

constexpr std::array<std::string_view, 10> kFormNames = {"Dialog", "Options", "About",  "Report",
                                                         "Search", "Login",   "Editor", "Preview",
                                                         "Wizard", "Settings"};

constexpr std::array<std::string_view, 20> kResourceWords = {
    "File",  "NotFound",   "Confirm", "Delete",  "Record", "Error",  "Open",
    "Save",  "Connection", "Failed",  "Invalid", "Value",  "Access", "Denied",
    "Print", "Report",     "Empty",   "Ready",   "Busy",   "Changed"};

// Joins pieces into a new string (also keeps GCC's -Wrestrict false positive on
// "literal" + std::string away).
std::string Concat(std::initializer_list<std::string_view> parts) {
    std::string r;
    for (std::string_view p : parts)
        r.append(p);
    return r;
}

std::vector<std::u16string> Widen(const auto& words) {
    std::vector<std::u16string> r;
    r.reserve(words.size());
    for (std::string_view w : words)
        r.push_back(platform::Utf8ToUtf16(w));
    return r;
}

// Builds the tree and keeps count of its items and of its UTF8 file size.
class TBuilder {
public:
    TBuilder(TXMLTreeItem& tree, const TPackLimits& limits, std::uint64_t seed)
        : FTree(tree), FLimits(limits), FRandom(seed), FLatin(Widen(kLatinWords)),
          FCyrillic(Widen(kCyrillicWords)), FAngles(Widen(kAngleWords)), FEndings(Widen(kEndings)) {
    }

    std::size_t Run() {
        FTree.SetEncoding(TPackEncoding::UTF8);
        FTree.SetLCID(0x0419);
        FBytes = FTree.SaveToBytes().size();
        AddForm("fMain");
        while (!Full()) {
            if (FRandom.Chance(12))
                AddResourceUnit();
            else
                AddForm(NextFormName());
        }
        return FItems;
    }

private:
    TXMLTreeItem& FTree;
    TPackLimits FLimits;
    TRandom FRandom;
    std::vector<std::u16string> FLatin, FCyrillic, FAngles, FEndings;
    std::size_t FItems = 0;
    std::size_t FBytes = 0;
    std::size_t FFormCount = 0;
    std::size_t FUnitCount = 0;
    TTree* FResources = nullptr;
    std::string FValueBytes;

    bool Full() const { return FBytes >= FLimits.Utf8Bytes || FItems >= FLimits.Items; }

    template <std::size_t N> std::string_view Pick(const std::array<std::string_view, N>& a) {
        return a[FRandom.Range(0, N - 1)];
    }
    const std::u16string& Pick(const std::vector<std::u16string>& v) {
        return v[FRandom.Range(0, v.size() - 1)];
    }

    std::string NextFormName() {
        ++FFormCount;
        return Concat({"f", Pick(kFormNames), std::to_string(FFormCount)});
    }

    // A folder item at `level` (a child of the root has level 1).
    TTree* AddFolder(TTree* parent, const std::string& name, std::size_t level) {
        TTree* folder =
            parent ? parent->AddItem(name) : FTree.AddGlobalItem(name); // top level: from the root
        ++FItems;
        const std::size_t indent = 2 * (level - 1);
        FBytes += indent + name.size() + 3 + indent + name.size() + 4;
        return folder;
    }

    void AddLeaf(TTree* parent, const std::string& name, std::size_t level) {
        auto* leaf = static_cast<TXMLTreeItem*>(parent->AddItem(name));
        std::u16string text = Text();
        FValueBytes.clear();
        EncodeValueAppend(text, TPackEncoding::UTF8, FValueBytes);
        leaf->SetText(std::move(text));
        ++FItems;
        FBytes += 2 * (level - 1) + name.size() + 2 + FValueBytes.size() + name.size() + 4;
    }

    // 5 to 80 characters of words; whole words of one language or mixed.
    std::u16string Text() {
        const std::size_t length = FRandom.Range(5, 80);
        const std::size_t mode = FRandom.Range(0, 99); // < 45 Latin, < 85 Cyrillic, else mixed
        const bool angle = FRandom.Chance(8);
        const std::size_t anglePos = FRandom.Range(0, 3);
        std::u16string r;
        for (std::size_t word = 0; r.size() < length; ++word) {
            if (!r.empty())
                r.push_back(u' ');
            if (angle && word == anglePos) {
                r += Pick(FAngles);
                continue;
            }
            const bool latin = mode < 45 || (mode >= 85 && FRandom.Chance(50));
            r += Pick(latin ? FLatin : FCyrillic);
            if (r.size() < length && FRandom.Chance(5))
                r += Pick(FEndings);
        }
        // Cut at `length`, back to the last whole word when that keeps 5 characters.
        const bool midWord = r.size() > length && r[length] != u' ' && r[length - 1] != u' ';
        r.resize(length);
        if (midWord) {
            const std::size_t space = r.rfind(u' ');
            if (space != std::u16string::npos && space >= 5)
                r.resize(space);
        }
        if (r.back() == u' ')
            r.back() = u'.';
        return r;
    }

    void AddForm(const std::string& name) {
        TTree* form = AddFolder(nullptr, name, 1);
        AddLeaf(form, "Caption", 2);
        if (FRandom.Chance(30))
            AddLeaf(form, "Hint", 2);
        std::unordered_set<std::string> used;
        const std::size_t components = FRandom.Range(10, 120);
        for (std::size_t c = 0; c < components && !Full(); ++c) {
            const TComponentKind& kind = kKinds[FRandom.Range(0, kKinds.size() - 1)];
            std::string base = Concat({kind.Prefix, Pick(kBaseNames)});
            std::string componentName = base;
            if (FRandom.Chance(40))
                componentName += std::to_string(FRandom.Range(1, 30));
            for (std::size_t n = 2; !used.insert(componentName).second; ++n)
                componentName = base + std::to_string(n);
            TTree* component = AddFolder(form, componentName, 2);
            AddLeaf(component, std::string(kind.Properties[0]), 3);
            for (std::size_t p = 1; p < kind.Properties.size(); ++p)
                if (!kind.Properties[p].empty() && FRandom.Chance(50))
                    AddLeaf(component, std::string(kind.Properties[p]), 3);
        }
    }

    void AddResourceUnit() {
        if (!FResources)
            FResources = AddFolder(nullptr, "resourcestring", 1);
        ++FUnitCount;
        TTree* unit =
            AddFolder(FResources, Concat({"u", Pick(kFormNames), std::to_string(FUnitCount)}), 2);
        std::unordered_set<std::string> used;
        const std::size_t strings = FRandom.Range(20, 120);
        for (std::size_t s = 0; s < strings && !Full(); ++s) {
            std::string name = Concat({"S", Pick(kResourceWords), Pick(kResourceWords)});
            for (std::size_t n = 2; !used.insert(name).second; ++n)
                name = name.substr(0, name.find_first_of("0123456789")) + std::to_string(n);
            AddLeaf(unit, name, 3);
        }
    }
};

} // namespace

std::size_t GeneratePack(TXMLTreeItem& tree, const TPackLimits& limits, std::uint64_t seed) {
    return TBuilder(tree, limits, seed).Run();
}

std::string PackBytes(TXMLTreeItem& tree, TPackEncoding e) {
    tree.SetEncoding(e);
    return tree.SaveToBytes();
}

} // namespace lx::bench
