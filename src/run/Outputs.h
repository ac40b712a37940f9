// QuenzelRun's files: the compare file read, the outputs written.
#pragma once

#include <string>

// The whole file; false when it cannot be read.
bool ReadWhole(const std::string &path, std::string &text);

// Writes text under a temporary name in the same folder and renames it into place
// once complete, so that no file is ever left half written; false with a message
// naming the file otherwise.
bool WriteAtomically(const std::string &path, const std::string &text, std::string &error);
