#include "uFTPAddress.h"

#include <algorithm>

namespace lx::editor {

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

} // namespace

std::string BuildFTPURL(const TFTPUserData& data) {
    std::string folder = data.Folder;
    if (folder.empty() || folder == "\\")
        folder = "/";
    std::string address = "ftp://" + data.UserName + ":" + data.Password + "@" + data.Host;
    if (!data.Port.empty())
        address += ":" + data.Port;
    return address + "/" + folder;
}

TFTPUserData ParseFTPURL(const std::string& address) {
    std::string text = address;
    std::replace(text.begin(), text.end(), '\\', '/');
    TFTPUserData data;
    const auto scheme = text.find("//");
    if (scheme == std::string::npos)
        return data;
    const auto userStart = scheme + 2;
    const auto colon = text.find(':', userStart);
    if (colon == std::string::npos)
        return data;
    data.UserName = text.substr(userStart, colon - userStart);
    const auto at = text.find('@', colon + 1);
    if (at == std::string::npos) {
        data.Password = text.substr(colon + 1);
        return data;
    }
    data.Password = text.substr(colon + 1, at - colon - 1);
    const auto slash = text.find('/', at + 1);
    std::string hostPart =
        text.substr(at + 1, slash == std::string::npos ? std::string::npos : slash - at - 1);
    std::string folder = slash == std::string::npos ? std::string() : text.substr(slash);
    if (const auto p = hostPart.find(':'); p != std::string::npos) {
        data.Port = hostPart.substr(p + 1);
        hostPart.erase(p);
    }
    data.Host = hostPart;
    const auto first = folder.find_first_not_of('/');
    folder = first == std::string::npos ? std::string() : folder.substr(first);
    while (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    data.Folder = folder;
    return data;
}

std::string RemoteFileName(const std::string& path) {
    const auto p = path.find_last_of("/\\");
    return p == std::string::npos ? path : path.substr(p + 1);
}

int PathKind(const std::string& path) {
    if (path.rfind("ftp:", 0) == 0)
        return 1;
    if (path.size() >= 3 && path[0] == '\\' && path[1] == '\\')
        return 2;
    return 0;
}

std::string ConnectionKey(const std::string& address) {
    const auto p = address.find_last_of('/');
    std::string key = p == std::string::npos ? address : address.substr(0, p + 1);
    if (key.size() >= 2 && IsSeparator(key.back()) && IsSeparator(key[key.size() - 2]))
        key.pop_back();
    return key;
}

std::string HidePassword(const std::string& folder) {
    if (PathKind(folder) != 1)
        return folder;
    // The same boundaries as ParseFTPURL ("\\" counting as "/"): the password
    // runs from the first ":" after "//" to the first "@" after it.
    std::string slashed = folder;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const auto scheme = slashed.find("//");
    if (scheme == std::string::npos)
        return folder;
    const auto colon = slashed.find(':', scheme + 2);
    if (colon == std::string::npos)
        return folder;
    const auto at = slashed.find('@', colon + 1);
    return at == std::string::npos ? folder.substr(0, colon)
                                   : folder.substr(0, colon) + folder.substr(at);
}

} // namespace lx::editor
