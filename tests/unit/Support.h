// Shared fixture and helpers for the unit tests.
#pragma once

#include "Bench.h"
#include "Random.h"

#include <fakewin.h>
#include <gtest/gtest.h>

using fake::Args;
using fake::H;

// Values the platform of each flavour defines.
#ifdef UNDER_CE
constexpr intptr_t kCurrentThread = 65;
constexpr intptr_t kTimeCritical = 0;
constexpr intptr_t kNormal = 3;
constexpr const char *kTextOut = "ExtTextOutW";
constexpr const char *kCreateFont = "CreateFontIndirectW";
constexpr int kTextUnit = 2;
#else
constexpr intptr_t kCurrentThread = -2;
constexpr intptr_t kTimeCritical = 15;
constexpr intptr_t kNormal = 0;
constexpr const char *kTextOut = "ExtTextOutA";
constexpr const char *kCreateFont = "CreateFontIndirectA";
constexpr int kTextUnit = 1;
#endif

// A fresh process: zeroed state, generator at its start, empty stand-in.
class Fresh : public ::testing::Test {
  protected:
    void SetUp() override {
        fake::Reset();
        fake::Faults.clear();
        Bench = BenchState{};
        RandomReset();
    }
    void TearDown() override {
        EXPECT_EQ(fake::Faults, std::vector<std::string>{});
    }
};

// Reads the call log in order, checking each call's name and arguments. The
// desktop's text conversions are passed over: they only serve the calls around them.
class Reader {
  public:
    explicit Reader(size_t start = 0) : pos_(start) {}

    const fake::Call &Next(const std::string &fn, const Args &args) {
        static const fake::Call none{};
        while (pos_ < fake::Log.size() && fake::Log[pos_].fn == "WideCharToMultiByte") {
            pos_++;
        }
        if (pos_ >= fake::Log.size()) {
            ADD_FAILURE() << "log ends before " << fn;
            return none;
        }
        const fake::Call &call = fake::Log[pos_++];
        EXPECT_EQ(call.fn, fn) << "call " << pos_ - 1;
        EXPECT_EQ(call.args, args) << fn << ", call " << pos_ - 1;
        return call;
    }

    // Skips to just after the next call named fn.
    const fake::Call &Find(const std::string &fn) {
        while (pos_ < fake::Log.size()) {
            if (fake::Log[pos_++].fn == fn) {
                return fake::Log[pos_ - 1];
            }
        }
        ADD_FAILURE() << "no further " << fn;
        static const fake::Call none{};
        return none;
    }

    bool AtEnd() const {
        return pos_ == fake::Log.size();
    }
    size_t Pos() const {
        return pos_;
    }

  private:
    size_t pos_;
};

// The colour made of the next three draws: blue, then green, then red.
inline intptr_t DrawColor() {
    const int blue = RandomInt(256);
    const int green = RandomInt(256);
    const int red = RandomInt(256);
    return red + 256 * green + 65536 * blue;
}

// Position in the random sequence: the value of the next draw, probed on a copy of
// the sequence from its start. Returns how many draws were taken before.
inline int DrawsTaken() {
    const int probe = RandomInt(0x7fffffff);
    RandomReset();
    for (int i = 0; i < 100000; i++) {
        if (RandomInt(0x7fffffff) == probe) {
            return i;
        }
    }
    return -1;
}
