// QuenzelRun's files: the saved runs read, the outputs checked before the run and
// written after it, the folders of pictures. Names are UTF-8 inside the program and
// UTF-16 for the system, so any name a file can have works.
#pragma once

#include <string>
#include <vector>

// A compare file larger than this is refused unread.
constexpr long long MAX_COMPARE_BYTES = 64ll << 20;

// The system's wide text as the program's UTF-8, and back.
std::string Utf8(const std::wstring &wide);
std::wstring Utf16(const std::string &text);

// The whole file (at most MAX_COMPARE_BYTES); false with a message naming it and the
// option that named it.
bool ReadWhole(const std::string &option, const std::string &path, std::string &text,
               std::string &error);

// The files a pattern names (* and ? in its last part, matched as the system
// matches them: cmd.exe leaves patterns to the program), in the order of their names;
// folders are left out.
std::vector<std::string> Expand(const std::string &pattern);

// Whether two names stand for one file, however spelt.
bool SameFile(const std::string &a, const std::string &b);

// Before the run: each output can be made where it is named (a file made there
// exclusively and removed again), none is an existing folder or other non-file, and
// no two outputs name one file however spelt; false with a message naming the file.
bool CheckOutputs(const std::vector<std::pair<std::string, std::string>> &outputs,
                  std::string &error);

// Writes text to a new temporary file beside the file (a symbolic link's target
// when the name is a link), checks that all of it is on disk, and renames it into
// place; otherwise removes it, leaves any existing file untouched and returns false
// with a message naming the file.
bool WriteAtomically(const std::string &path, const std::string &text, std::string &error);

// The full name of a file or folder (as the system completes it from the current
// folder); the name itself when the system cannot.
std::string FullName(const std::string &path);

// A folder for an option's files: made when missing (its parent must exist), and
// checked writable by a file made there and removed again; false with a message naming
// the option and the folder.
bool MakeFolder(const std::string &option, const std::string &folder, std::string &error);

// Where a folder named in a saved file is: as named when that is a full name, else
// from the saved file's own folder; empty for none.
std::string Beside(const std::string &file, const std::string &place);

// How a saved file names a folder: from the file's own folder where it lies there, else
// by its full name; the folder as it is without a file.
std::string PlaceFrom(const std::string &file, const std::string &folder);
