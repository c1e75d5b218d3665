#pragma once
// Progress reporting: every long operation of the editor is bracketed by
// BeginAction / EndAction, and the viewers (the splash window, the main
// window) show the stack of action names and the progress of a transfer.

#include <string>
#include <vector>

namespace lx::editor {

class IProgressViewer {
public:
    virtual ~IProgressViewer() = default;
    /// kind 0: an action was pushed or a transfer began; 1: an action was
    /// popped or a transfer ended; 2: transfer progress.
    virtual void Progress(const void* sender, int mode, int kind, long long position,
                          long long maximum) = 0;
    virtual void ActionsChanged(const void* sender, const std::vector<std::string>& actions) = 0;
    virtual void Started(const void* sender) = 0;
    virtual void Finished(const void* sender) = 0;
};

/// The program's one progress manager. Not thread-safe: the user-interface
/// thread calls it.
class TLXProgressManager {
public:
    void BeginAction(const std::string& name);
    void EndAction();
    /// With a viewer: adds or replaces the record of `form`; with none: removes it.
    void RegisterViewer(const void* form, IProgressViewer* viewer);
    const std::vector<std::string>& Actions() const { return FActions; }

    // Transfer events of the file transfers.
    void WorkBegin(const void* sender, int mode, long long maximum);
    void Work(const void* sender, int mode, long long count);
    void WorkEnd(const void* sender, int mode);

private:
    struct TViewersRec {
        const void* Form;
        IProgressViewer* Viewer;
    };
    template <class F> void Each(F&& f) {
        const auto viewers = FViewers; // a viewer may unregister while notified
        for (const auto& v : viewers)
            f(*v.Viewer);
    }
    std::vector<std::string> FActions;
    std::vector<TViewersRec> FViewers;
    long long FMaximum = 0;
};

TLXProgressManager& ProgressManager();

/// The text both viewers show: the non-empty names joined by a space, then
/// " (25%)" of a transfer with a maximum, or " (300 bytes)" without one, when
/// the position is not 0; `bytesWord` is the translated word for bytes.
std::string ActionText(const std::vector<std::string>& actions, long long position,
                       long long maximum, const std::string& bytesWord = "bytes");

/// Begins an action and ends it when it goes out of scope, also on errors.
class TActionScope {
public:
    explicit TActionScope(const std::string& name) { ProgressManager().BeginAction(name); }
    ~TActionScope() { ProgressManager().EndAction(); }
    TActionScope(const TActionScope&) = delete;
    TActionScope& operator=(const TActionScope&) = delete;
};

} // namespace lx::editor
