#pragma once
// The editor joins paths with '_'. A pack is looked at with that separator
// whatever it was set to; the separator is written only when it differs, so
// that looking at a pack never writes to it (a search may be reading it on
// its worker thread meanwhile).

#include "engine/uEngine.h"

namespace lx::editor {

class TUnderscorePaths {
public:
    explicit TUnderscorePaths(TTree* tree) : FTree(tree), FOld(tree->GetTreeSeparator()) {
        if (FOld != '_')
            FTree->SetTreeSeparator('_');
    }
    ~TUnderscorePaths() {
        if (FOld != '_')
            FTree->SetTreeSeparator(FOld);
    }
    TUnderscorePaths(const TUnderscorePaths&) = delete;
    TUnderscorePaths& operator=(const TUnderscorePaths&) = delete;

private:
    TTree* FTree;
    char FOld;
};

} // namespace lx::editor
