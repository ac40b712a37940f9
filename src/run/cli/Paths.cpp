#include "Paths.h"

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
