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

// A folder inside a saved file's own is named from there, any other by its full name.
TEST(Paths, FoldersNamedFromTheFileThatNamesThem) {
    EXPECT_EQ(RelativePlace("C:\\out\\a.json", "c:\\OUT\\pics"), "pics");
    EXPECT_EQ(RelativePlace("C:\\out\\a.json", "C:/out/x/pics"), "x/pics");
    EXPECT_EQ(RelativePlace("C:\\out\\a.json", "C:\\outer\\pics"), "C:\\outer\\pics");
    EXPECT_EQ(RelativePlace("C:\\out\\a.json", "C:\\out\\"), "C:\\out\\");
    EXPECT_EQ(RelativePlace("a.json", "C:\\pics"), "C:\\pics");
    EXPECT_TRUE(IsAbsolute("C:\\x") && IsAbsolute("\\\\server\\x") && IsAbsolute("/x"));
    EXPECT_FALSE(IsAbsolute("x\\C:") || IsAbsolute("pics") || IsAbsolute(""));
    EXPECT_EQ(FolderOf("a/b\\c.json") + "|" + FolderOf("c.json"), "a/b\\|");
    EXPECT_EQ(InFolder("a", "b.png") + " " + InFolder("a/", "b.png") + " " + InFolder("", "b"),
              "a\\b.png a/b.png b");
    EXPECT_EQ(OtherFolderName("pics") + " " + OtherFolderName("d\\pics\\"),
              "pics-other d\\pics-other");
}
