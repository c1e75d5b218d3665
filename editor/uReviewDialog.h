#pragma once
// Marking a variable for review: the translator ticks the languages in which
// the variable needs (re-)translation. The value panel's review button runs it
// for the language editor it belongs to.

#include "uTypes.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace lx::editor {

/// Shows the languages of the set with the row of pack `pack` pre-ticked, and
/// sets the review flag of `path` for every ticked language through the
/// visible view. Unticked languages keep their flags. False on Cancel.
/// `select` asks (the selection dialog's several-rows choice by default).
using TSelectSeveral = std::function<bool(
    const QString& caption, const QString& prompt, const std::vector<std::string>& rows,
    std::vector<bool>& ticks, const std::vector<std::string>& header)>;
bool AskReviewLanguages(ILangPack& packs, IBrowserCtrl& view, int pack, const std::string& path,
                        const TSelectSeveral& select = {});

} // namespace lx::editor
