#pragma once
// Splitting, joining and small functions on arrays of 8-bit strings.

#include <string>
#include <vector>

namespace lx {

using TStringArray = std::vector<std::string>;

/// Splits at every occurrence of `separator`. With skipEmpty, empty pieces are
/// dropped. A piece after a trailing separator is never produced, so "a,b,"
/// gives two pieces and "" gives none. An empty separator gives the whole text.
TStringArray explode(const std::string& text, const std::string& separator, bool skipEmpty);
std::string implode(const TStringArray& array, const std::string& separator);

/// Index of the first element equal to `text` ignoring ASCII case, or -1.
int ArraySearch(const std::string& text, const TStringArray& array);
bool InArray(const std::string& text, const TStringArray& array);
/// Appends and returns the new index; -1 (and no change) when duplicates are
/// not allowed and the text is already there.
int ArrayAddUnique(const std::string& text, TStringArray& array, bool allowDuplicates);
/// Inserts at `index` (0 .. last index); -1 or an index past the end appends.
/// Returns the index used.
int ArrayInsert(const std::string& text, int index, TStringArray& array);
/// Removes the element at `index`; an index out of range changes nothing.
void ArrayDelete(int index, TStringArray& array);

} // namespace lx
