#include "TC_Module.h"

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace {

// A settings file in a fresh folder of its own.
class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "tocsinet-settings-" + std::to_string(GetCurrentProcessId()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(folder.c_str(), nullptr);
        file = folder + "\\tocsinet.ini";
        DeleteFileA(file.c_str());
    }
    void TearDown() override {
        DeleteFileA(file.c_str());
        RemoveDirectoryA(folder.c_str());
    }
    void write_raw(const std::string& content) {
        std::ofstream out(file, std::ios::binary);
        out << content;
    }
    std::string read_raw() {
        std::ifstream in(file, std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }

    std::string folder;
    std::string file;
};

using TC_Module::read_setting;
using TC_Module::write_setting;

TEST_F(SettingsFile, MissingFileSectionOrKeyReadsEmpty) {
    EXPECT_EQ(read_setting(file, "STATS", "LOADS"), "");
    write_setting(file, "STATS", "ALARMS", "0");
    EXPECT_EQ(read_setting(file, "STATS", "LOADS"), "");
    EXPECT_EQ(read_setting(file, "OPTIONS", "ALARMS"), "");
    EXPECT_EQ(read_setting(file, "STATS", "ALARMS"), "0");
}

TEST_F(SettingsFile, FirstWriteCreatesTheFileInOrder) {
    write_setting(file, "STATS", "ALARMS", "0");
    write_setting(file, "STATS", "LOADS", "1");
    write_setting(file, "TOCSINET", "x", "0");
    EXPECT_EQ(read_raw(), "[STATS]\r\nALARMS=0\r\nLOADS=1\r\n[TOCSINET]\r\nX=0\r\n");
}

TEST_F(SettingsFile, NamesMatchWithoutCaseAndKeysAreReplacedInPlace) {
    write_raw("[TOCSINET]\r\nvolume=30\r\nX=15\r\n");
    EXPECT_EQ(read_setting(file, "tocsinet", "VOLUME"), "30");
    write_setting(file, "TOCSINET", "VOLUME", "80");
    std::string content = read_raw();
    EXPECT_EQ(read_setting(file, "TOCSINET", "VOLUME"), "80");
    EXPECT_EQ(content.find("volume=30"), std::string::npos);
    EXPECT_NE(content.find("=80\r\nX=15"), std::string::npos) << content; // replaced where it stood
    write_setting(file, "OPTIONS", "MTST", "1");
    EXPECT_EQ(read_setting(file, "options", "mtst"), "1");
    write_setting(file, "MUSIC", "DEFAULT PATH", "C:\\Music\\");
    EXPECT_EQ(read_setting(file, "Music", "DEFAULT PATH"), "C:\\Music\\");
}

TEST_F(SettingsFile, LongValuesAreCutTo749Characters) {
    std::string value(800, 'v');
    write_setting(file, "WINAMP", "PATH", value);
    std::string read = read_setting(file, "WINAMP", "PATH");
    EXPECT_EQ(read.size(), 749u);
    EXPECT_EQ(read, value.substr(0, 749));
}

TEST_F(SettingsFile, EmptyValuesReadBackEmpty) {
    write_setting(file, "WINAMP", "PATH", "C:\\Player\\winamp.exe");
    write_setting(file, "WINAMP", "PATH", "");
    EXPECT_EQ(read_setting(file, "WINAMP", "PATH"), "");
}

TEST_F(SettingsFile, HandWrittenOddFilesStillRead) {
    write_raw("[STATS]\nLOADS=41"); // no trailing newline, Unix line ends
    EXPECT_EQ(read_setting(file, "STATS", "LOADS"), "41");
    write_raw("[STATS]\r\nLOADS=5\r\nLOADS=6\r\n[STATS]\r\nALARMS=2\r\n");
    EXPECT_EQ(read_setting(file, "STATS", "LOADS"), "5"); // the first of duplicate keys
    write_setting(file, "STATS", "LOADS", "7");
    EXPECT_EQ(read_setting(file, "STATS", "LOADS"), "7");
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i * 131 % 256);
    write_raw(binary);
    EXPECT_NO_FATAL_FAILURE(read_setting(file, "STATS", "LOADS"));
    write_setting(file, "STATS", "LOADS", "1");
    EXPECT_EQ(read_setting(file, "STATS", "LOADS"), "1");
}

TEST_F(SettingsFile, HugeFilesAreReadWithoutTrouble) {
    std::string big = "[PADDING]\r\n";
    for (int i = 0; i < 100000; ++i)
        big += "K" + std::to_string(i) + "=" + std::string(40, 'x') + "\r\n";
    big += "[STATS]\r\nLOADS=12\r\n";
    write_raw(big);
    EXPECT_EQ(read_setting(file, "STATS", "LOADS"), "12");
    write_setting(file, "STATS", "LOADS", "13");
    EXPECT_EQ(read_setting(file, "STATS", "LOADS"), "13");
}

TEST_F(SettingsFile, WritesThatCannotHappenAreSilent) {
    std::string nowhere = folder + "\\no such folder\\tocsinet.ini";
    write_setting(nowhere, "STATS", "LOADS", "1");
    EXPECT_EQ(read_setting(nowhere, "STATS", "LOADS"), "");
}

TEST(SettingsPath, FormedBesideTheRunningProgram) {
    std::string path = TC_Module::settings_file();
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string folder(exe);
    folder = folder.substr(0, folder.find_last_of('\\'));
    EXPECT_EQ(path, folder + "\\tocsinet.ini");
}

TEST(CurrentTimePart, PartsOfTheLocalClock) {
    SYSTEMTIME before;
    GetLocalTime(&before);
    std::string hour = TC_Module::current_time_part("hour");
    std::string minute = TC_Module::current_time_part("minute");
    std::string ampm = TC_Module::current_time_part("ampm");
    int expected_hour = before.wHour % 12 == 0 ? 12 : before.wHour % 12;
    // A minute boundary between the readings is possible but harmless for the forms.
    EXPECT_TRUE(hour == std::to_string(expected_hour) || hour == std::to_string(expected_hour % 12 + 1));
    EXPECT_EQ(minute.size(), 2u);
    EXPECT_TRUE(ampm == "AM" || ampm == "PM");
    EXPECT_EQ(TC_Module::current_time_part("HOUR"), "");
}

} // namespace
