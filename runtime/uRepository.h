#pragma once
// The form repository: pseudonyms, pairs of a component's own name and the
// name under which its texts are filed in the pack.

#include <QByteArray>

#include <string>
#include <vector>

namespace lx {

struct TPseudonym {
    std::string ComponentName;
    std::string Pseudonym;
    bool operator==(const TPseudonym&) const = default;
};
using TPseudonymArr = std::vector<TPseudonym>;

/// Lookups ignore ASCII case and take the first matching pair. Update with an
/// empty pseudonym removes the pair; no component name appears twice.
class TFormRepository {
public:
    std::string GetPseudonym(const std::string& componentName) const;
    std::string GetComponentName(const std::string& pseudonym) const;
    void Update(const std::string& componentName, const std::string& pseudonym);
    void Delete(const std::string& componentName);
    void ChangeName(const std::string& oldName, const std::string& newName);
    /// Every element of the path that is a stored pseudonym becomes its component name.
    std::string MakeRealPath(const std::string& path, char separator) const;

    const TPseudonymArr& Pseudonymes() const { return FPseudonymes; }
    void SetPseudonymes(TPseudonymArr list) { FPseudonymes = std::move(list); }

    /// The stored form: a 32-bit little-endian count, then per pair the
    /// lengths and bytes of the component name and of the pseudonym.
    QByteArray Write() const;
    /// Replaces the list. Throws std::runtime_error for bytes that end inside
    /// a pair (the list is then left as it was).
    void Read(const QByteArray& bytes);

private:
    TPseudonymArr FPseudonymes;
};

} // namespace lx
