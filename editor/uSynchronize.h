#pragma once
// Language synchronisation: every item a model pack has and a recipient
// lacks is created in the recipient with the model's text. Items the
// recipient has keep their texts; the model is never changed.

#include <vector>

namespace lx {
class TXMLTreeItem;
}

namespace lx::editor {

/// Fills each recipient (the model itself is skipped) from the model, in
/// the model's global-index order, a folder before its contents. The SYSTEM
/// items describe each pack's own file (its encoding and language) and are
/// not copied. Returns the number of items created over all recipients.
int SynchronizeFromModel(const TXMLTreeItem& model, const std::vector<TXMLTreeItem*>& recipients);

} // namespace lx::editor
