// The text around QuenzelRun's options: the help's layout and closing notes, the
// reader of a --config file, and the option library's errors in QuenzelRun's words.
#pragma once

#include <string>

namespace CLI {
class App;
class Error;
class Option;
} // namespace CLI

// Gives app the help's layout and notes, and the config file's reader (which looks
// app's options up when the file is read).
void FrameOptions(CLI::App &app);

// What an option of one value takes, as its check describes it ("a whole number 1 to
// 1000"); a file name when nothing is checked but the name.
std::string Takes(const CLI::Option *option);

// The long option nearest to a word that names none ("--windowms": "--window-ms"), or
// "" when none is a slip away.
std::string NearestOption(const CLI::App &app, const std::string &word);

// The option library's error as one line in QuenzelRun's words: the option; what it
// takes; for an unknown option, the nearest known one.
std::string InOwnWords(const CLI::App &app, const CLI::Error &error);
