// The spelling of Windows paths, in plain code: what makes two names one file, how a
// saved run names a folder, and where the other build's files go.
#pragma once

#include <string>

// A full path as it can be compared with another: without the system's long-path
// prefix (\\?\C:\x is C:\x, and \\?\UNC\server\share\x is \\server\share\x, never
// a relative UNC\server\...), and its last part without the trailing dots and
// spaces the system drops from a name. Case is left as it is.
std::wstring ComparablePath(const std::wstring &path);

// Names as the program holds them (UTF-8), either separator.

// Whether a name is a full one: from a drive ("C:\x"), a share or the root ("\x").
bool IsAbsolute(const std::string &path);

// The folder part of a file's name with its last separator ("a\b.json": "a\"); "" for
// none.
std::string FolderOf(const std::string &file);

// A name inside a folder.
std::string InFolder(const std::string &folder, const std::string &name);

// How a file (a full name) names a folder (a full name) for a reader who knows where
// the file is: its place under the file's own folder where it lies there (in any
// case), else its full name.
std::string RelativePlace(const std::string &file, const std::string &folder);

// Where --alternate saves OTHER's group, beside --json's file: a.json gives
// a-other.json.
std::string OtherFileName(const std::string &json);

// Where --alternate's other build writes its pictures, beside --pictures' folder: pics
// gives pics-other.
std::string OtherFolderName(const std::string &folder);
