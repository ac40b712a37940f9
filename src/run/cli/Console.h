// QuenzelRun's console: its arguments as UTF-8, and what it writes to standard output.
#pragma once

#include <string>
#include <vector>

// The arguments after the program's name, from the system's wide command line.
std::vector<std::string> Arguments();

// Messages as UTF-8, which a console is told to show as such.
void PrepareConsole();

// Writes all of text to standard output; false when it takes less.
bool WriteOut(const std::string &text);
