// The text around QuenzelRun's options: the help's layout and closing notes, and the
// reader of a --config file.
#pragma once

namespace CLI {
class App;
}

// Gives app the help's layout and notes, and the config file's reader (which looks
// app's options up when the file is read).
void FrameOptions(CLI::App &app);
