#include "Files.h"

#include "Paths.h"
#include "UTypes.h"

#include <algorithm>
#include <cstdio>

std::wstring Utf16(const std::string &text) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::string Utf8(const std::wstring &wide) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string text(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                        nullptr, nullptr);
    return text;
}

// The system's own words for an error, as the end of a message: "Access denied".
static std::string SystemReason(DWORD code) {
    WCHAR *text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<WCHAR *>(&text), 0, nullptr);
    std::string reason = length > 0 ? Utf8(std::wstring(text, length)) : "";
    LocalFree(text);
    // One line: its line breaks as spaces, without the final full stop.
    for (char &c : reason) {
        c = c == '\r' || c == '\n' ? ' ' : c;
    }
    reason.erase(reason.find_last_not_of(" .") + 1);
    return reason.empty() ? "system error " + std::to_string(code) : reason;
}

bool ReadWhole(const std::string &option, const std::string &path, std::string &text,
               std::string &error) {
    const HANDLE file = CreateFileW(Utf16(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size = {};
    bool ok = file != INVALID_HANDLE_VALUE && GetFileSizeEx(file, &size);
    if (ok && size.QuadPart > MAX_COMPARE_BYTES) {
        CloseHandle(file);
        error = option + " file '" + path + "' is larger than " +
                std::to_string(MAX_COMPARE_BYTES >> 20) + " MiB";
        return false;
    }
    if (ok) {
        text.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        ok = text.empty() ||
             (ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr) &&
              got == text.size());
    }
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    if (!ok) {
        error = "cannot read " + option + " file '" + path + "': " + SystemReason(GetLastError());
    }
    return ok;
}

// The file a name stands for: a symbolic link's target, so that writing replaces
// the file the link points to and keeps the link.
static std::wstring Resolved(const std::wstring &name) {
    const HANDLE file = CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return name;
    }
    WCHAR final[MAX_PATH * 4];
    const DWORD length = GetFinalPathNameByHandleW(file, final, MAX_PATH * 4, 0);
    CloseHandle(file);
    if (length == 0 || length >= MAX_PATH * 4) {
        return name;
    }
    // The system's form \\?\C:\... or \\?\UNC\...: the plain one works as well for what
    // follows.
    return ComparablePath(std::wstring(final, length));
}

// A new file beside target, made exclusively: never one someone else put there.
static HANDLE CreateTemporary(const std::wstring &target, std::wstring &temporary) {
    for (int attempt = 0; attempt < 100; attempt++) {
        temporary = target + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(attempt);
        const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

// The full name, comparable and in one case: two spellings of one name give the
// same key.
static std::wstring Key(const std::string &path) {
    std::wstring name = Resolved(Utf16(path));
    WCHAR full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameW(name.c_str(), MAX_PATH * 4, full, nullptr);
    if (length > 0 && length < MAX_PATH * 4) {
        name.assign(full, length);
    }
    name = ComparablePath(name);
    CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

std::vector<std::string> Expand(const std::string &pattern) {
    const size_t slash = pattern.find_last_of("\\/:");
    const std::string folder = slash == std::string::npos ? "" : pattern.substr(0, slash + 1);
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(Utf16(pattern).c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.push_back(folder + Utf8(found.cFileName));
        }
    }
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool SameFile(const std::string &a, const std::string &b) {
    return Key(a) == Key(b);
}

bool CheckOutputs(const std::vector<std::pair<std::string, std::string>> &outputs,
                  std::string &error) {
    for (size_t i = 0; i < outputs.size(); i++) {
        const auto &[option, path] = outputs[i];
        for (size_t j = 0; j < i; j++) {
            if (Key(outputs[j].second) == Key(path)) {
                error = option + " file '" + path + "' is also " + outputs[j].first;
                return false;
            }
        }
        // Something other than a file (a folder, a pipe, a device) is not replaced.
        const std::wstring target = Resolved(Utf16(path));
        const DWORD attributes = GetFileAttributesW(target.c_str());
        const HANDLE existing = CreateFileW(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, 0, nullptr);
        const bool file =
            existing == INVALID_HANDLE_VALUE || GetFileType(existing) == FILE_TYPE_DISK;
        if (existing != INVALID_HANDLE_VALUE) {
            CloseHandle(existing);
        }
        const bool folder =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        std::wstring temporary;
        const HANDLE probe =
            folder || !file ? INVALID_HANDLE_VALUE : CreateTemporary(target, temporary);
        if (probe == INVALID_HANDLE_VALUE) {
            error = option + " file '" + path + "' cannot be written there: " +
                    (folder  ? "it is a folder"
                     : !file ? "it is not a file"
                             : SystemReason(GetLastError()));
            return false;
        }
        CloseHandle(probe);
        DeleteFileW(temporary.c_str());
    }
    return true;
}

bool WriteAtomically(const std::string &path, const std::string &text, std::string &error) {
    const std::wstring target = Resolved(Utf16(path));
    std::wstring temporary;
    const HANDLE file = CreateTemporary(target, temporary);
    bool ok = file != INVALID_HANDLE_VALUE;
    DWORD failure = ok ? 0 : GetLastError();
    // The first step that fails gives the reason.
    auto step = [&](bool done) {
        if (ok && !done) {
            failure = GetLastError();
        }
        ok = ok && done;
    };
    for (size_t at = 0; ok && at < text.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - at, 1 << 20));
        DWORD written = 0;
        step(WriteFile(file, text.data() + at, chunk, &written, nullptr) && written == chunk);
        at += written;
    }
    // All of it on disk, as long as it should be, before it takes the name.
    LARGE_INTEGER size = {};
    step(!ok || FlushFileBuffers(file));
    step(!ok ||
         (GetFileSizeEx(file, &size) && size.QuadPart == static_cast<LONGLONG>(text.size())));
    if (file != INVALID_HANDLE_VALUE) {
        step(CloseHandle(file));
    }
    step(!ok || MoveFileExW(temporary.c_str(), target.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    if (!ok) {
        if (file != INVALID_HANDLE_VALUE) {
            DeleteFileW(temporary.c_str());
        }
        error = "cannot write '" + path + "' completely (" +
                (failure != 0 ? SystemReason(failure) : "it came out short on disk") +
                "): nothing written there";
    }
    return ok;
}

std::string FullName(const std::string &path) {
    WCHAR full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameW(Utf16(path).c_str(), MAX_PATH * 4, full, nullptr);
    return length > 0 && length < MAX_PATH * 4 ? Utf8(std::wstring(full, length)) : path;
}

bool MakeFolder(const std::string &option, const std::string &folder, std::string &error) {
    const std::wstring name = Utf16(folder);
    std::wstring probe;
    const bool made =
        CreateDirectoryW(name.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
    const DWORD attributes = GetFileAttributesW(name.c_str());
    const HANDLE file = made && attributes != INVALID_FILE_ATTRIBUTES &&
                                (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                            ? CreateTemporary(Utf16(InFolder(folder, "probe")), probe)
                            : INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) {
        error =
            option + " folder '" + folder + "' cannot be written: " + SystemReason(GetLastError());
        return false;
    }
    CloseHandle(file);
    DeleteFileW(probe.c_str());
    return true;
}

std::string Beside(const std::string &file, const std::string &place) {
    return place.empty() || IsAbsolute(place) ? place : FullName(FolderOf(file) + place);
}

std::string PlaceFrom(const std::string &file, const std::string &folder) {
    return folder.empty() || file.empty() ? folder : RelativePlace(FullName(file), folder);
}
