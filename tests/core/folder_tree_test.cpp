#include "folder_tree.h"

#include <tuple>

#include <gtest/gtest.h>

namespace tocsinet {

bool operator==(const folder_entry& a, const folder_entry& b) {
    return a.caption == b.caption && a.path == b.path && a.depth == b.depth && a.open == b.open;
}

namespace {

// The root, the way down to the folder (open), then its subfolders one level deeper in name order.
TEST(FolderList, FromTheRootDownThenTheSubfoldersNamesSortedDrivesInLowerCase) {
    // The folder, its subfolders, the entries.
    const std::tuple<const wchar_t*, std::vector<std::wstring>, std::vector<folder_entry>> cases[] = {
        {L"C:\\Music\\Rock\\",
         {L"live", L"Albums", L"b-sides"},
         {{L"C:\\", L"C:\\", 0, true},
          {L"Music", L"C:\\Music", 1, true},
          {L"Rock", L"C:\\Music\\Rock", 2, true},
          {L"Albums", L"C:\\Music\\Rock\\Albums", 3, false},
          {L"b-sides", L"C:\\Music\\Rock\\b-sides", 3, false},
          {L"live", L"C:\\Music\\Rock\\live", 3, false}}},
        {L"c:\\Music\\\\", {}, {{L"c:\\", L"c:\\", 0, true}, {L"Music", L"c:\\Music", 1, true}}},
        {L"\\\\server\\share\\M\u00fcsik \u266b",
         {},
         {{L"\\\\server\\share\\", L"\\\\server\\share\\", 0, true},
          {L"M\u00fcsik \u266b", L"\\\\server\\share\\M\u00fcsik \u266b", 1, true}}},
        {L"\\\\server", {L"x"}, {}},
        {L"relative\\path", {L"x"}, {}},
    };
    for (const auto& [path, subfolders, entries] : cases)
        EXPECT_TRUE(folder_list_entries(path, subfolders) == entries) << path;
    // Names sorted without letter case, then as they are; drives in lower case.
    std::vector<std::wstring> names{L"b.mp3", L"a.wav", L"C.mid", L"A.wav"};
    sort_names(names);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"A.wav", L"a.wav", L"b.mp3", L"C.mid"}));
    EXPECT_EQ(drive_caption(L"C:\\"), L"c:");
}

} // namespace
} // namespace tocsinet
