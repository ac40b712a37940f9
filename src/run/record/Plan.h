// What to measure and how: the suite and its tests, the drawing area, the windows and
// samples, the runs and where the pictures go. The command line fills it in; measuring
// takes nothing else.
#pragma once

#include "TestNames.h"

#include <cstdint>
#include <string>
#include <vector>

struct Plan {
    bool Wide = false;      // the wide suite, not the seven
    std::vector<int> Tests; // indices into the suite's table, in table order
    std::uint32_t WindowMs = TEST_WINDOW_MS;
    int Repeat = 1;
    std::uint32_t WarmupMs = 0;
    int OffscreenWidth = 0; // 0: draw on the window
    int OffscreenHeight = 0;
    int OffscreenDepth = 32; // bits per pixel: 1, 8, 16, 24 or 32
    bool Raw = false;        // each sample's calls replayed, only the platform calls timed
    bool Shuffle = false;    // each round's tests in an order drawn from ShuffleSeed
    std::uint32_t ShuffleSeed = 0;
    double Precision = 0; // relative half-width to reach; 0: Repeat samples
    std::uint32_t MaxSeconds = 600;
    double Confidence = 0.99;
    int Affinity = -1;         // the logical processor to run on; -1: any
    bool Quiet = false;        // no progress on stderr
    bool Host = false;         // the host name goes into the setting
    bool Wait = false;         // while another run measures, wait for it
    bool Concurrent = false;   // measure even while another run measures
    bool Snapshot = false;     // the drawing area kept after the last round's first test
    bool SkipPictures = false; // no picture drawn: --runs' later runs of a build
    std::string Pictures;      // the folder each test's picture is written to; "": none
    int Runs = 1;              // runs, each in a fresh process
    std::string Alternate;     // another build whose runs alternate with these
};
