#include "paths.h"

#include <gtest/gtest.h>

using namespace tocsinet;

// The settings beside the program, the version file without the drive-root test; alarm files are
// the four types in any letter case.
TEST(Paths, SettingsAndVersionFilesBesideTheProgramAlarmFilesOfFourTypes) {
    EXPECT_EQ(settings_file_path(L"D:\\"), L"D:\\tocsinet.ini");
    EXPECT_EQ(version_file_path(L"D:\\"), L"D:\\\\version.txt");
    const std::wstring pattern = L"*.mp3;*.m3u;*.mid;*.wav";
    for (const wchar_t* name : {L"wake.mp3", L"WAKE.MP3", L"list.M3u", L"t.mid", L"\u266b.wav", L"a.b.wav"})
        EXPECT_TRUE(matches_any_pattern(std::wstring_view(name), pattern)) << name;
    for (const wchar_t* name : {L"wake.mp4", L"mp3", L"x.wav.txt", L"x.midi", L""})
        EXPECT_FALSE(matches_any_pattern(std::wstring_view(name), pattern)) << name;
}
