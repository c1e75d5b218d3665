#include "uCNWizard.h"

namespace lx::editor {

// The wizard dialog is not built yet: a move hands its pairs here, and
// nothing is shown until it is.
void ShowRenameWizard(const TVarNames&) {}

} // namespace lx::editor
