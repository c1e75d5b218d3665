#include "uProgressViewer.h"

#include <algorithm>

namespace lx::editor {

TLXProgressManager& ProgressManager() {
    static TLXProgressManager manager;
    return manager;
}

void TLXProgressManager::BeginAction(const std::string& name) {
    FMaximum = 0;
    FActions.push_back(name);
    Each([this](IProgressViewer& v) { v.ActionsChanged(this, FActions); });
    Each([this](IProgressViewer& v) { v.Progress(this, 0, 0, 0, 0); });
    if (FActions.size() == 1)
        Each([this](IProgressViewer& v) { v.Started(this); });
}

void TLXProgressManager::EndAction() {
    FMaximum = 0;
    if (!FActions.empty())
        FActions.pop_back();
    Each([this](IProgressViewer& v) { v.ActionsChanged(this, FActions); });
    Each([this](IProgressViewer& v) { v.Progress(this, 0, 1, 0, 0); });
    if (FActions.empty())
        Each([this](IProgressViewer& v) { v.Finished(this); });
}

void TLXProgressManager::RegisterViewer(const void* form, IProgressViewer* viewer) {
    const auto it = std::find_if(FViewers.begin(), FViewers.end(),
                                 [form](const TViewersRec& r) { return r.Form == form; });
    if (!viewer) {
        if (it != FViewers.end())
            FViewers.erase(it);
        return;
    }
    if (it != FViewers.end())
        it->Viewer = viewer;
    else
        FViewers.push_back({form, viewer});
}

void TLXProgressManager::WorkBegin(const void* sender, int mode, long long maximum) {
    FMaximum = maximum;
    Each([&](IProgressViewer& v) { v.Progress(sender, mode, 0, 0, maximum); });
}

void TLXProgressManager::Work(const void* sender, int mode, long long count) {
    Each([&](IProgressViewer& v) { v.Progress(sender, mode, 2, count, FMaximum); });
}

void TLXProgressManager::WorkEnd(const void* sender, int mode) {
    Each([&](IProgressViewer& v) { v.Progress(sender, mode, 1, 0, 0); });
}

std::string ActionText(const std::vector<std::string>& actions, long long position,
                       long long maximum, const std::string& bytesWord) {
    std::string text;
    for (const auto& a : actions) {
        if (a.empty())
            continue;
        if (!text.empty())
            text += ' ';
        text += a;
    }
    if (position != 0) {
        if (maximum != 0)
            text += " (" + std::to_string(position * 100 / maximum) + "%)";
        else
            text += " (" + std::to_string(position) + " " + bytesWord + ")";
    }
    return text;
}

} // namespace lx::editor
