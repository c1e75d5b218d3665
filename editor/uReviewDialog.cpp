#include "uReviewDialog.h"

#include "runtime/uResourceString.h"
#include "uGetSelection.h"
#include "uVars.h"

namespace lx::editor {

LX_RESOURCESTRING(sReviewCaption, "Выбор языков");
LX_RESOURCESTRING(sReviewPrompt,
                  "   Выберите языки в которых необходимо редактирование этой переменной [%s]");

bool AskReviewLanguages(ILangPack& packs, IBrowserCtrl& view, int pack, const std::string& path,
                        const TSelectSeveral& select) {
    std::vector<std::string> header;
    const std::vector<std::string> rows = packs.GetPackList(header, false);
    std::vector<bool> ticks(rows.size(), false);
    if (pack >= 0 && static_cast<std::size_t>(pack) < ticks.size())
        ticks[static_cast<std::size_t>(pack)] = true;
    const QString caption = sReviewCaption(), prompt = FillText(sReviewPrompt(), {path});
    if (!(select ? select(caption, prompt, rows, ticks, header)
                 : SelectSeveral(caption, prompt, rows, ticks, header)))
        return false;
    const std::vector<std::string> names = packs.GetPackNames(false);
    for (std::size_t r = 0; r < ticks.size() && r < names.size(); ++r)
        if (ticks[r])
            view.SetNeedToChange(names[r], path);
    return true;
}

} // namespace lx::editor
