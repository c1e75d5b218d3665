#pragma once
// The template rename wizard: after variables were moved to another folder,
// it rewrites the template files (HTML pages, PHP scripts) that refer to them
// by their old names.

#include <string>
#include <vector>

namespace lx::editor {

/// One renamed variable: its old and its new full path.
struct TVarNamesItem {
    std::string FromName;
    std::string ToName;
    bool operator==(const TVarNamesItem&) const = default;
};
/// In pre-order: a moved item first, then everything below it.
using TVarNames = std::vector<TVarNamesItem>;

/// Shows the wizard modally for the pairs.
void ShowRenameWizard(const TVarNames& pairs);

} // namespace lx::editor
