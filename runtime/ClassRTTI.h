#pragma once
// Property paths: the path of an object on its form, resolving a path back to
// the object, and published property values as text.

#include "host/uHost.h"

#include <string>

namespace lx {

class TFormRepository;

/// The path element of an object: a component's name, a collection's property
/// name, an item's index; replaced by its pseudonym when the repository has one.
std::string GetObjName(const host::THostObject& obj, const TFormRepository* repository);
/// The name of the owner's property whose value is the collection ("" without).
std::string GetCollectionCaption(const host::TCollection& collection);
/// "fMain.btnOK", "fMain.lvFiles.Columns.2": owners' names, then the object's
/// element (only the last element takes a pseudonym).
std::string GetComponentFullName(const host::THostObject& obj, const TFormRepository* repository);
/// The parent in paths: a component's owner, a collection's widget, an item's collection.
host::THostObject PathParent(const host::THostObject& obj);

/// Resolves a '.' path from `root`. With isRoot the first element must name
/// the root itself (exactly), or, for a frame, its class (as "T" + element or
/// the element, ignoring ASCII case). Returns a null object when an element
/// names nothing; throws std::out_of_range for a collection index that is not
/// a number or out of range.
host::THostObject FindObjectByPath(const std::string& path, const host::THostObject& root,
                                   bool isRoot, const TFormRepository* repository);

/// The value of the published property named exactly `propName` as text:
/// string lists joined with CR LF, strings as they are, numbers in decimal,
/// enumerations and booleans by identifier. False for other kinds.
bool GetPropText(const host::THostObject& obj, const std::string& propName, std::u16string& text);
/// Writes a text back by the same rules; a property that is missing, of
/// another kind, or whose text does not convert is left unchanged.
void SetPropText(const std::u16string& text, const host::THostObject& obj,
                 const std::string& propName);
/// GetPropText of the object and property a full path names (empty when none).
std::u16string GetComponentPropValue(const std::string& path, const host::THostObject& root);

} // namespace lx
