#include "ClassRTTI.h"

#include "platform/IniFile.h"
#include "uRepository.h"

#include <QStringList>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace lx {

using host::THostObject;
using TKind = host::THostObject::TKind;

namespace {

QString Q(const std::u16string& s) {
    return QString::fromStdU16String(s);
}
std::u16string W(const QString& s) {
    return s.toStdU16String();
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    const auto e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

// Decimal integer with an optional sign.
bool ParseInteger(const std::string& text, long long& v) {
    const std::string t = Trim(text);
    if (t.empty())
        return false;
    const char* b = t.data();
    if (*b == '+')
        ++b;
    const auto [p, ec] = std::from_chars(b, t.data() + t.size(), v);
    return ec == std::errc() && p == t.data() + t.size();
}

// An optional sign, digits, and optionally '.' or ',' followed by digits.
bool ParseFloat(const std::string& text, double& v) {
    const std::string t = Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        negative = t[i++] == '-';
    const std::size_t intStart = i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9')
        ++i;
    if (i == intStart)
        return false;
    std::string normal = t.substr(intStart, i - intStart);
    if (i < t.size() && (t[i] == '.' || t[i] == ',')) {
        const std::size_t fracStart = ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9')
            ++i;
        if (i == fracStart)
            return false;
        normal += "." + t.substr(fracStart, i - fracStart);
    }
    if (i != t.size())
        return false;
    v = std::strtod(normal.c_str(), nullptr);
    if (negative)
        v = -v;
    return std::isfinite(v);
}

std::string FloatToText(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

// Classes in a namespace are matched by their own name.
bool SameClassAsHead(const std::string& qualified, const std::string& head) {
    const auto colons = qualified.rfind("::");
    const std::string className =
        colons == std::string::npos ? qualified : qualified.substr(colons + 2);
    return platform::SameTextAscii(className, "T" + head) ||
           platform::SameTextAscii(className, head);
}

} // namespace

std::string GetCollectionCaption(const host::TCollection& collection) {
    return host::CollectionPropName(collection);
}

std::string GetObjName(const THostObject& obj, const TFormRepository* repository) {
    std::string element;
    switch (obj.Kind()) {
    case TKind::Object:
        element = host::ComponentName(obj.Object());
        break;
    case TKind::Collection:
        element = GetCollectionCaption(*obj.Collection());
        break;
    case TKind::Item:
        element = std::to_string(obj.Index());
        break;
    case TKind::None:
        break;
    }
    if (repository) {
        const std::string pseudonym = repository->GetPseudonym(element);
        if (!pseudonym.empty())
            return pseudonym;
    }
    return element;
}

THostObject PathParent(const THostObject& obj) {
    switch (obj.Kind()) {
    case TKind::Object:
        return THostObject(host::ComponentOwner(obj.Object()));
    case TKind::Collection:
        return THostObject(obj.Collection()->Owner());
    case TKind::Item:
        return THostObject::OfCollection(obj.Collection());
    case TKind::None:
        break;
    }
    return {};
}

std::string GetComponentFullName(const THostObject& obj, const TFormRepository* repository) {
    const std::string element = GetObjName(obj, repository);
    const THostObject parent = PathParent(obj);
    if (parent.IsNull() || (obj.Kind() == TKind::Object && host::IsForm(obj.Object())))
        return element;
    return GetComponentFullName(parent, nullptr) + "." + element;
}

THostObject FindObjectByPath(const std::string& path, const THostObject& root, bool isRoot,
                             const TFormRepository* repository) {
    THostObject current = root;
    std::string rest = path;
    bool first = isRoot;
    for (;;) {
        const auto dot = rest.find('.');
        std::string head = rest.substr(0, dot);
        rest = dot == std::string::npos ? std::string() : rest.substr(dot + 1);
        if (repository) {
            const std::string real = repository->GetComponentName(head);
            if (!real.empty())
                head = real;
        }
        THostObject found;
        if (first) {
            QObject* r = current.Object();
            if (!r)
                return {};
            const bool named = host::ComponentName(r) == head;
            const bool frameClass = host::IsFrame(r) && SameClassAsHead(current.ClassName(), head);
            if (!named && !frameClass)
                return {};
            found = current;
            first = false;
        } else if (current.Kind() == TKind::Object) {
            if (QObject* c = host::FindComponent(current.Object(), head))
                found = THostObject(c);
            else if (auto coll = host::CollectionProperty(current, head))
                found = THostObject::OfCollection(coll);
        } else if (current.Kind() == TKind::Collection) {
            long long index = 0;
            if (!ParseInteger(head, index) || head.find_first_of(" \t") != std::string::npos)
                throw std::out_of_range("'" + head + "' is not a valid integer value");
            if (index < 0 || index > INT32_MAX)
                throw std::out_of_range("List index out of bounds (" + head + ")");
            found = current.Collection()->Item(static_cast<int>(index));
        }
        if (found.IsNull())
            return {};
        if (dot == std::string::npos)
            return found;
        current = found;
    }
}

bool GetPropText(const THostObject& obj, const std::string& propName, std::u16string& text) {
    host::TPropInfo info;
    if (!host::FindProperty(obj, propName, info))
        return false;
    if (info.TypeName == "QStringList") {
        QStringList lines;
        if (!host::ReadStringList(obj, propName, lines))
            return false;
        text = W(lines.join(QStringLiteral("\r\n")));
        return true;
    }
    switch (info.Kind) {
    case host::TTypeKind::LString:
    case host::TTypeKind::Char:
    case host::TTypeKind::WString:
    case host::TTypeKind::WChar: {
        QString v;
        if (!host::ReadString(obj, propName, v))
            return false;
        text = W(v);
        return true;
    }
    case host::TTypeKind::Integer:
    case host::TTypeKind::Int64: {
        long long v = 0;
        if (!host::ReadOrdinal(obj, propName, v))
            return false;
        const std::string s = std::to_string(v);
        text.assign(s.begin(), s.end());
        return true;
    }
    case host::TTypeKind::Float: {
        double v = 0;
        if (!host::ReadFloat(obj, propName, v))
            return false;
        const std::string s = FloatToText(v);
        text.assign(s.begin(), s.end());
        return true;
    }
    case host::TTypeKind::Enumeration: {
        std::string ident;
        if (!host::ReadEnumIdent(obj, propName, ident))
            return false;
        text.assign(ident.begin(), ident.end());
        return true;
    }
    case host::TTypeKind::Class:
    case host::TTypeKind::Other:
        break;
    }
    return false;
}

void SetPropText(const std::u16string& text, const THostObject& obj, const std::string& propName) {
    host::TPropInfo info;
    if (!host::FindProperty(obj, propName, info))
        return;
    const QString q = Q(text);
    if (info.TypeName == "QStringList") {
        QString normal = q;
        normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        normal.replace(QChar(u'\r'), QChar(u'\n'));
        QStringList lines = normal.split(QChar(u'\n'));
        if (normal.endsWith(QChar(u'\n')))
            lines.removeLast(); // a final line break ends the last line
        if (normal.isEmpty())
            lines.clear();
        host::WriteStringList(obj, propName, lines);
        return;
    }
    const std::string utf8 = q.toStdString();
    switch (info.Kind) {
    case host::TTypeKind::LString:
    case host::TTypeKind::Char:
    case host::TTypeKind::WString:
    case host::TTypeKind::WChar:
        host::WriteString(obj, propName, q);
        return;
    case host::TTypeKind::Integer:
    case host::TTypeKind::Int64: {
        long long v = 0;
        if (ParseInteger(utf8, v))
            host::WriteOrdinal(obj, propName, v);
        return;
    }
    case host::TTypeKind::Float: {
        double v = 0;
        if (ParseFloat(utf8, v))
            host::WriteFloat(obj, propName, v);
        return;
    }
    case host::TTypeKind::Enumeration:
        host::WriteEnumIdent(obj, propName, Trim(utf8));
        return;
    case host::TTypeKind::Class:
    case host::TTypeKind::Other:
        return;
    }
}

std::u16string GetComponentPropValue(const std::string& path, const THostObject& root) {
    const auto dot = path.rfind('.');
    const std::string objPath = dot == std::string::npos ? path : path.substr(0, dot);
    const std::string prop = dot == std::string::npos ? path : path.substr(dot + 1);
    std::u16string text;
    try {
        const THostObject obj = FindObjectByPath(objPath, root, true, nullptr);
        if (!obj.IsNull())
            GetPropText(obj, prop, text);
    } catch (const std::exception&) {
        text.clear();
    }
    return text;
}

} // namespace lx
