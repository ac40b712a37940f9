#include "Paths.h"

#include <algorithm>
#include <cwctype>

std::wstring ComparablePath(const std::wstring &path) {
    std::wstring plain = path;
    if (plain.rfind(L"\\\\?\\", 0) == 0) {
        std::wstring unc = plain.substr(4, 4);
        for (wchar_t &c : unc) {
            c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
        }
        plain = unc == L"UNC\\" ? L"\\\\" + plain.substr(8) : plain.substr(4);
    }
    plain.erase(plain.find_last_not_of(L". ") + 1);
    return plain;
}

static bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsAbsolute(const std::string &path) {
    return (!path.empty() && IsSeparator(path[0])) || (path.size() > 2 && path[1] == ':');
}

std::string FolderOf(const std::string &file) {
    const size_t last = file.find_last_of("\\/:");
    return last == std::string::npos ? "" : file.substr(0, last + 1);
}

std::string InFolder(const std::string &folder, const std::string &name) {
    return folder.empty() || IsSeparator(folder.back()) ? folder + name : folder + "\\" + name;
}

std::string RelativePlace(const std::string &file, const std::string &folder) {
    const std::string home = FolderOf(file);
    const auto same = [](char a, char b) {
        return std::towlower(static_cast<unsigned char>(a)) ==
                   std::towlower(static_cast<unsigned char>(b)) ||
               (IsSeparator(a) && IsSeparator(b));
    };
    const bool under = !home.empty() && folder.size() > home.size() &&
                       std::equal(home.begin(), home.end(), folder.begin(), same);
    return under ? folder.substr(home.size()) : folder;
}

std::string OtherFileName(const std::string &json) {
    const size_t dot = json.rfind('.'), slash = json.find_last_of("\\/:");
    const size_t at =
        dot == std::string::npos || (slash != std::string::npos && dot < slash) ? json.size() : dot;
    return json.substr(0, at) + "-other" + json.substr(at);
}

std::string OtherFolderName(const std::string &folder) {
    return folder.substr(0, folder.find_last_not_of("\\/") + 1) + "-other";
}
