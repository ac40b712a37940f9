// The values QuenzelRun's options take, and how each is checked and read.
#pragma once

#include "Options.h"

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

// How a number option's value is written.
enum class Form { WHOLE, DECIMAL, PERCENT };

// Plain decimal digits within [low, high], or strictly between them when open.
CLI::Validator Range(Form form, double low, double high, bool open = false);

// A flag's value in a config file; a file name that is not a folder's; a folder's name
// that is not a file's; the test list and the off-screen size as the help describes
// them.
extern const CLI::Validator FLAG, FILE_NAME, FOLDER_NAME, TEST_LIST, SIZE;

// WIDTHxHEIGHT or WIDTHxHEIGHTxDEPTH into the plan's off-screen size and depth.
void ParseSize(const std::string &size, Plan &plan);
