#include "folder_tree.h"

#include <gtest/gtest.h>

#include "paths.h"

namespace tocsinet {
namespace {

std::vector<std::wstring> captions(const std::vector<folder_entry>& entries) {
    std::vector<std::wstring> out;
    for (const folder_entry& e : entries)
        out.push_back(std::wstring(static_cast<std::size_t>(e.depth) * 2, L' ') + e.caption + (e.open ? L"/" : L""));
    return out;
}

TEST(FolderList, ShowsTheWayDownFromTheRootThenTheSubfoldersInNameOrder) {
    auto entries = folder_list_entries(L"C:\\Music\\Rock\\", {L"live", L"Albums", L"b-sides"});
    EXPECT_EQ(captions(entries), (std::vector<std::wstring>{L"C:\\/", L"  Music/", L"    Rock/", L"      Albums",
                                                            L"      b-sides", L"      live"}));
    EXPECT_EQ(entries[2].path, L"C:\\Music\\Rock");
    EXPECT_EQ(entries[3].path, L"C:\\Music\\Rock\\Albums");
}

TEST(FolderList, ADriveRootHoldsItsFoldersWithOneBackslash) {
    auto entries = folder_list_entries(L"D:\\", {L"Music"});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].path, L"D:\\");
    EXPECT_EQ(entries[1].path, L"D:\\Music");
    EXPECT_EQ(entries[1].depth, 1);
}

TEST(FolderList, NetworkSharesAndNamesOutsideTheAnsiCodePage) {
    auto entries = folder_list_entries(L"\\\\server\\share\\M\u00fcsik \u266b", {});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].path, L"\\\\server\\share\\");
    EXPECT_EQ(entries[1].path, L"\\\\server\\share\\M\u00fcsik \u266b");
    EXPECT_TRUE(folder_list_entries(L"relative\\path", {L"x"}).empty());
    EXPECT_TRUE(folder_list_entries(L"", {}).empty());
}

TEST(FolderPaths, RootsTrailingBackslashesAndJoining) {
    EXPECT_EQ(path_root(L"c:\\x"), L"c:\\");
    EXPECT_EQ(path_root(L"\\\\srv\\share"), L"\\\\srv\\share\\");
    EXPECT_EQ(path_root(L"\\\\srv"), L"");
    EXPECT_EQ(without_trailing_backslash(L"C:\\Music\\\\"), L"C:\\Music");
    EXPECT_EQ(without_trailing_backslash(L"C:\\"), L"C:\\");
    EXPECT_EQ(add_backslash(std::wstring_view(L"C:\\")), L"C:\\");
    EXPECT_EQ(add_backslash(std::wstring_view(L"C:\\Music")), L"C:\\Music\\");
    EXPECT_EQ(child_path(L"C:\\", L"a.mp3"), L"C:\\a.mp3");
    EXPECT_EQ(child_path(L"C:\\Music", L"x.wav"), L"C:\\Music\\x.wav");
    EXPECT_EQ(drive_caption(L"C:\\"), L"c:");
}

TEST(FolderPaths, SortingIgnoresLetterCaseButStaysStable) {
    std::vector<std::wstring> names{L"b.mp3", L"A.wav", L"a.wav", L"C.mid"};
    sort_names(names);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"A.wav", L"a.wav", L"b.mp3", L"C.mid"}));
}

TEST(FilePattern, WideNamesMatchTheFourTypesInAnyCase) {
    const std::wstring pattern = L"*.mp3;*.m3u;*.mid;*.wav";
    for (const wchar_t* name : {L"wake.mp3", L"WAKE.MP3", L"list.M3u", L"t.mid", L"\u266b.wav", L"a.b.wav"})
        EXPECT_TRUE(matches_any_pattern(std::wstring_view(name), pattern)) << name;
    for (const wchar_t* name : {L"wake.mp4", L"mp3", L"x.wav.txt", L"x.midi", L""})
        EXPECT_FALSE(matches_any_pattern(std::wstring_view(name), pattern)) << name;
}

} // namespace
} // namespace tocsinet
