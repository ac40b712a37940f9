#include "Paths.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

// Long-prefixed names compare as the names they stand for; a share keeps its server.
TEST(Paths, ComparableWithAndWithoutTheLongPrefix) {
    for (const auto &[name, plain] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"\\\\?\\UNC\\server\\share\\run.json", L"\\\\server\\share\\run.json"},
             {L"\\\\?\\unc\\server\\share\\run.json. .", L"\\\\server\\share\\run.json"},
             {L"\\\\server\\share\\run.json", L"\\\\server\\share\\run.json"},
             {L"\\\\?\\C:\\UNC\\a.", L"C:\\UNC\\a"},
             {L"\\\\?\\UNCx\\a", L"UNCx\\a"}}) {
        EXPECT_TRUE(ComparablePath(name) == plain) << std::string(name.begin(), name.end());
    }
}
