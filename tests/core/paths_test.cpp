#include "paths.h"

#include <set>

#include <gtest/gtest.h>

using namespace tocsinet;

TEST(AddBackslash, DriveRootsAreLeftAlone) {
    EXPECT_EQ(add_backslash("D:\\"), "D:\\");
    EXPECT_EQ(add_backslash("D:\\Apps"), "D:\\Apps\\");
    EXPECT_EQ(add_backslash("C:\\Music"), "C:\\Music\\");
    EXPECT_EQ(add_backslash(""), "\\");
    EXPECT_EQ(add_backslash("abc"), "abc"); // any 3 characters, as the rule says
}

TEST(SettingsPath, BesideTheProgram) {
    EXPECT_EQ(settings_file_path("D:\\"), "D:\\tocsinet.ini");
    EXPECT_EQ(settings_file_path("D:\\Apps"), "D:\\Apps\\tocsinet.ini");
    EXPECT_EQ(version_file_path("D:\\Apps"), "D:\\Apps\\version.txt");
}

TEST(DirectoryOf, KeepsTheRootBackslashOnly) {
    EXPECT_EQ(directory_of("D:\\Apps\\tocsinet.exe"), "D:\\Apps");
    EXPECT_EQ(directory_of("D:\\tocsinet.exe"), "D:\\");
    EXPECT_EQ(directory_of("\\\\server\\share\\tocsinet.exe"), "\\\\server\\share");
    EXPECT_EQ(directory_of("tocsinet.exe"), "");
}

TEST(AlarmFilePattern, FourTypesLetterCaseIgnored) {
    for (const char* name : {"wake.mp3", "WAKE.MP3", "list.m3u", "tune.Mid", "a.wav", "x.y.wav"})
        EXPECT_TRUE(matches_any_pattern(name, alarm_file_pattern)) << name;
    for (const char* name : {"wake.mp4", "wav", "notes.txt", "a.wav.bak", "mp3", ""})
        EXPECT_FALSE(matches_any_pattern(name, alarm_file_pattern)) << name;
    EXPECT_TRUE(matches_any_pattern("a?c", "a?c"));
    EXPECT_TRUE(matches_any_pattern("anything", "*"));
}

TEST(NearestExistingFolder, ClimbsToAnExistingParent) {
    std::set<std::string> folders = {"C:\\", "C:\\Music"};
    auto exists = [&](const std::string& path) { return folders.count(path) > 0; };
    EXPECT_EQ(nearest_existing_folder("C:\\Music\\Gone\\Deeper\\", exists), "C:\\Music");
    EXPECT_EQ(nearest_existing_folder("C:\\Music", exists), "C:\\Music");
    EXPECT_EQ(nearest_existing_folder("C:\\Other", exists), "C:\\");
    EXPECT_EQ(nearest_existing_folder("Q:\\Nothing\\Here", exists), "");
    EXPECT_EQ(nearest_existing_folder("", exists), "");
}
