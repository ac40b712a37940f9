// The spelling of Windows paths, in plain code: what makes two names one file.
#pragma once

#include <string>

// A full path as it can be compared with another: without the system's long-path
// prefix (\\?\C:\x is C:\x, and \\?\UNC\server\share\x is \\server\share\x, never
// a relative UNC\server\...), and its last part without the trailing dots and
// spaces the system drops from a name. Case is left as it is.
std::wstring ComparablePath(const std::wstring &path);
