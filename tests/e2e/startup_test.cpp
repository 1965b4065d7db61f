// Starting the program: the statistics it writes, the lists it fills, and the window position,
// time and volume it restores from the settings file.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "alarm.h"
#include "conversions.h"
#include "driver.h"

namespace {

using namespace e2e;

std::string launched_settings(const std::string& settings) {
    program_folder folder;
    folder.write_settings(settings);
    program app = program::launch(folder);
    std::string after = folder.settings_text();
    EXPECT_TRUE(app.close());
    return after;
}

std::string loads_after_start_with(const std::string& stored) {
    program_folder folder;
    folder.write_settings("[STATS]\r\nALARMS=0\r\nLOADS=" + stored + "\r\n");
    program app = program::launch(folder);
    return folder.setting("STATS", "LOADS");
}

TEST(StartUp, TheFirstStartWritesOnlyTheStatistics) {
    program_folder folder;
    ASSERT_FALSE(folder.has_settings());
    program app = program::launch(folder);
    EXPECT_EQ(folder.settings_text(), "[STATS]\r\nALARMS=0\r\nLOADS=1\r\n");
    EXPECT_EQ(app.status_text(0), L"Alarm - Inactive");
    EXPECT_NE(app.button(L"Activate"), nullptr);
    EXPECT_EQ(text(app.control(forms::id_alarm_file)), L"no file");
    EXPECT_TRUE(app.close());
}

TEST(StartUp, EveryStartRaisesTheLoadCount) {
    program_folder folder;
    folder.write_settings("[STATS]\r\nLOADS=41\r\n");
    for (const char* expected : {"42", "43"}) {
        program app = program::launch(folder);
        EXPECT_EQ(folder.setting("STATS", "LOADS"), expected);
        EXPECT_TRUE(app.close());
    }
    EXPECT_EQ(folder.setting("STATS", "ALARMS"), "0");
}

TEST(StartUp, AnExistingAlarmCountIsKept) {
    EXPECT_EQ(launched_settings("[STATS]\r\nALARMS=3\r\nLOADS=7\r\n"), "[STATS]\r\nALARMS=3\r\nLOADS=8\r\n");
}

TEST(StartUp, UnusableLoadCountsFollowTheCounterRule) {
    for (const char* stored : {"abc", "32767", "-32768", "12abc"}) {
        SCOPED_TRACE(stored);
        EXPECT_EQ(loads_after_start_with(stored), tocsinet::next_counter_text(stored));
    }
    EXPECT_EQ(tocsinet::next_counter_text("32767"), "32767"); // the count stays inside 16 bits
}

std::vector<std::wstring> numbers(int first, int last, bool two_digits) {
    std::vector<std::wstring> result;
    for (int n = first; n <= last; ++n)
        result.push_back((two_digits && n < 10 ? L"0" : L"") + std::to_wstring(n));
    return result;
}

TEST(StartUp, TheTimeListsHoldEveryHourMinuteAndHalfDayWithNothingSelected) {
    for (const char* settings : {"", "[OPTIONS]\r\nLCTOS=0\r\n", "[OPTIONS]\r\nLCTOS=2\r\n"}) {
        SCOPED_TRACE(settings);
        program_folder folder;
        folder.write_settings(settings);
        program app = program::launch(folder);
        HWND hour = app.control(forms::id_time_hour);
        HWND minute = app.control(forms::id_time_minute);
        HWND ampm = app.control(forms::id_time_ampm);
        EXPECT_EQ(items(hour), numbers(1, 12, false));
        EXPECT_EQ(items(minute), numbers(0, 59, true));
        EXPECT_EQ(items(ampm), (std::vector<std::wstring>{L"AM", L"PM"}));
        EXPECT_EQ(selected_index(hour), -1);
        EXPECT_EQ(selected_index(minute), -1);
        EXPECT_EQ(selected_index(ampm), -1);
    }
}

TEST(StartUp, TheCurrentTimeIsPreselectedWhenTheOptionIsOn) {
    struct clock_case {
        int hour, minute, second;
        const wchar_t *hour_text, *minute_text, *ampm_text;
    };
    // Well before the minute turns, so the time read at start-up is still in that minute.
    for (const clock_case& c : {clock_case{19, 4, 5, L"7", L"04", L"PM"}, clock_case{0, 30, 5, L"12", L"30", L"AM"},
                                clock_case{12, 0, 5, L"12", L"00", L"PM"}}) {
        SCOPED_TRACE(narrow(std::wstring(c.hour_text) + L":" + c.minute_text + L" " + c.ampm_text));
        program_folder folder;
        folder.write_settings("[OPTIONS]\r\nLCTOS=1\r\n");
        program app = program::launch(folder, {.clock_offset = clock_offset_to(c.hour, c.minute, c.second)});
        EXPECT_EQ(selected_text(app.control(forms::id_time_hour)), c.hour_text);
        EXPECT_EQ(selected_text(app.control(forms::id_time_minute)), c.minute_text);
        EXPECT_EQ(selected_text(app.control(forms::id_time_ampm)), c.ampm_text);
        EXPECT_EQ(text(app.control(forms::id_time_hour)), c.hour_text); // what arming reads
    }
}

RECT work_area() {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

TEST(StartUp, TheSavedPositionPlacesTheWindow) {
    struct position_case {
        const char* settings;
        LONG left, top;
    };
    for (const position_case& c : {position_case{"[TOCSINET]\r\nX=1200\r\nY=900\r\n", 80, 60},
                                   position_case{"", 0, 0}, position_case{"[TOCSINET]\r\nX=12abc\r\nY=abc\r\n", 1, 0}}) {
        SCOPED_TRACE(c.settings);
        program_folder folder;
        folder.write_settings(c.settings);
        program app = program::launch(folder);
        RECT rect = window_rect(app.window());
        EXPECT_EQ(rect.left, c.left);
        EXPECT_EQ(rect.top, c.top);
    }
}

TEST(StartUp, APositionOffEveryMonitorComesBackOntoTheWorkArea) {
    RECT area = work_area();
    for (const char* settings : {"[TOCSINET]\r\nX=-120000\r\nY=-120000\r\n", "[TOCSINET]\r\nX=120000\r\nY=90000\r\n",
                                 "[TOCSINET]\r\nX=1200\r\nY=-900\r\n"}) {
        SCOPED_TRACE(settings);
        program_folder folder;
        folder.write_settings(settings);
        program app = program::launch(folder);
        RECT rect = window_rect(app.window());
        EXPECT_GE(rect.left, area.left);
        EXPECT_GE(rect.top, area.top);
        EXPECT_LE(rect.right, area.right);
        EXPECT_LE(rect.bottom, area.bottom);
    }
}

TEST(StartUp, TheSavedVolumeSetsTheSliderAndItsLabel) {
    struct volume_case {
        const char* settings;
        int position;
        const wchar_t* label;
    };
    for (const volume_case& c :
         {volume_case{"[TOCSINET]\r\nVOLUME=80\r\n", 80, L"80%"}, volume_case{"", 50, L"50%"},
          volume_case{"[TOCSINET]\r\nVOLUME=\r\n", 50, L"50%"}, volume_case{"[TOCSINET]\r\nVOLUME=abc\r\n", 50, L"50%"},
          volume_case{"[TOCSINET]\r\nVOLUME=150\r\n", 100, L"100%"}, volume_case{"[TOCSINET]\r\nVOLUME=0\r\n", 0, L"0%"},
          volume_case{"[TOCSINET]\r\nVOLUME=-7\r\n", 0, L"0%"}}) {
        SCOPED_TRACE(c.settings);
        program_folder folder;
        folder.write_settings(c.settings);
        program app = program::launch(folder);
        EXPECT_EQ(trackbar_position(app.control(forms::id_volume)), c.position);
        EXPECT_EQ(text(app.control(forms::id_volume_perc)), c.label);
    }
}

std::string huge_settings() {
    std::string text = "[PADDING]\r\n";
    for (int i = 0; i < 30000; ++i)
        text += "KEY" + std::to_string(i) + "=" + std::string(40, 'x') + "\r\n";
    return text + "[STATS]\r\nALARMS=4\r\nLOADS=12\r\n";
}

std::string binary_settings() {
    std::string text(8192, '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>(i * 131 % 256);
    return text;
}

TEST(StartUp, OddSettingsFilesStillStart) {
    struct odd_case {
        const char* what;
        std::string settings;
    };
    for (const odd_case& c : {odd_case{"huge", huge_settings()}, odd_case{"binary", binary_settings()},
                              odd_case{"duplicates", "[STATS]\r\nLOADS=5\r\nLOADS=9\r\n[STATS]\r\nALARMS=2\r\n"
                                                     "[stats]\r\nLOADS=1\r\n[TOCSINET]\r\nVOLUME=30\r\nvolume=90\r\n"},
                              odd_case{"no line ends", "[STATS]\nLOADS=20"}}) {
        SCOPED_TRACE(c.what);
        program_folder folder;
        folder.write_settings(c.settings);
        // What the program reads before its start decides what it writes.
        std::string loads = folder.setting("STATS", "LOADS");
        std::string alarms = folder.setting("STATS", "ALARMS");
        program app = program::launch(folder);
        EXPECT_EQ(app.status_text(0), L"Alarm - Inactive");
        EXPECT_EQ(folder.setting("STATS", "LOADS"), tocsinet::next_counter_text(loads));
        EXPECT_EQ(folder.setting("STATS", "ALARMS"), alarms.empty() ? "0" : alarms);
        EXPECT_TRUE(app.close());
    }
}

} // namespace

namespace {

// The settings file keeps its ANSI text, read and written through the folder's wide path.
TEST(StartUp, AProgramFolderOutsideTheCodePageCountsItsStartsAndSavesOnClose) {
    e2e::program_folder folder(L"StartUp.Programme \u266b");
    folder.write_settings("[TOCSINET]\r\nVOLUME=30\r\n[MUSIC]\r\nDEFAULT PATH=C:\\R\xe9veil\\\r\n");
    for (auto [loads, volume] : {std::pair{"LOADS=1\r\n", 30}, {"LOADS=2\r\n", 40}}) {
        e2e::program app = e2e::program::launch(folder);
        EXPECT_EQ(e2e::trackbar_position(app.control(forms::id_volume)), volume);
        e2e::set_trackbar_position(app.control(forms::id_volume), 40);
        EXPECT_TRUE(app.close());
        EXPECT_NE(folder.settings_text().find(loads), std::string::npos) << folder.settings_text();
    }
    std::string text = folder.settings_text();
    EXPECT_NE(text.find("DEFAULT PATH=C:\\R\xe9veil\\\r\n"), std::string::npos) << text; // é still one byte
    EXPECT_NE(text.find("X="), std::string::npos) << text;
}

} // namespace
