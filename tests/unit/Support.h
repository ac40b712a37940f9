// The unit tests' fixture: a fresh process on the recording stand-in.
#pragma once

#include "Bench.h"
#include "Random.h"

#include <gtest/gtest.h>

using Args = std::vector<intptr_t>;
using fake::N;
constexpr bool kHandheld = sizeof(TCHAR) == 2; // the handheld passes UTF-16 text

// Zeroed state, the generator at its start, an empty stand-in with an 800 x 600
// screen; the test must leave no misuse of the platform behind.
class Fresh : public ::testing::Test {
  protected:
    void SetUp() override {
        fake::Reset();
        Bench = BenchState{};
        RandomReset();
    }
    void TearDown() override {
        EXPECT_EQ(fake::Faults, std::vector<std::string>{});
    }
    // Reading i of the tick counter (from 0) is start + i * num / den, modulo 2^32.
    static void SetClock(uint64_t start, uint64_t num, uint64_t den = 1) {
        std::copy_n(std::data({start, num, den, uint64_t{0}}), 4, fake::Clock);
    }
    // The arguments of each call of that name, in order.
    static std::vector<Args> Calls(const std::string &fn) {
        std::vector<Args> found;
        for (const fake::Call &call : fake::Log) {
            if (call.fn == fn) {
                found.push_back(call.args);
            }
        }
        return found;
    }
    // Each text drawn: its position, options and rectangle, then the text.
    static std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (const fake::Call &call : fake::Log) {
            if (call.fn == "ExtTextOut") {
                const Args where(call.args.begin() + 1, call.args.end());
                texts.push_back(testing::PrintToString(where) + " " + call.text);
            }
        }
        return texts;
    }
    // How many draws the generator has made since its start.
    static int DrawsTaken() {
        const int probe = RandomInt(0x7fffffff);
        RandomReset();
        int taken = 0;
        while (taken < 100000 && RandomInt(0x7fffffff) != probe) {
            taken++;
        }
        return taken;
    }
};
