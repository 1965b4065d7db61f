// Starting the program (the statistics it writes, the lists it fills, the position, time and
// volume it restores) and arming it with the "Activate" button.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "alarm.h"
#include "driver.h"

namespace {

using namespace e2e;

program launch_with(const program_folder& folder, const std::string& settings, const launch_options& options = {}) {
    folder.write_settings(settings);
    return program::launch(folder, options);
}

std::vector<std::wstring> numbers(int first, int last, bool two_digits) {
    std::vector<std::wstring> result;
    for (int n = first; n <= last; ++n)
        result.push_back((two_digits && n < 10 ? L"0" : L"") + std::to_wstring(n));
    return result;
}

// The counter rules themselves are the core's; here, that each start counts once and keeps the alarms.
TEST(StartUp, TheFirstStartWritesOnlyTheStatisticsAndEachStartCountsItself) {
    program_folder folder;
    std::optional<program> app = program::launch(folder);
    EXPECT_EQ(folder.settings_text(), "[STATS]\r\nALARMS=0\r\nLOADS=1\r\n");
    EXPECT_EQ(app->status_text(0), L"Alarm - Inactive");
    EXPECT_EQ(text(app->control(forms::id_alarm)), L"Activate");
    EXPECT_EQ(text(app->control(forms::id_alarm_file)), L"no file");
    EXPECT_EQ(items(app->control(forms::id_time_hour)), numbers(1, 12, false));
    EXPECT_EQ(items(app->control(forms::id_time_minute)), numbers(0, 59, true));
    EXPECT_EQ(items(app->control(forms::id_time_ampm)), (std::vector<std::wstring>{L"AM", L"PM"}));
    for (int id : {forms::id_time_hour, forms::id_time_minute, forms::id_time_ampm})
        EXPECT_EQ(selected_index(app->control(id)), -1);
    EXPECT_TRUE(app->close());

    folder.write_settings("[STATS]\r\nALARMS=3\r\nLOADS=41\r\n");
    app = program::launch(folder);
    EXPECT_EQ(folder.settings_text(), "[STATS]\r\nALARMS=3\r\nLOADS=42\r\n");
}

// Well before the minute turns, so the time read at start-up is still in that minute; the time
// selected at start-up is enough to arm.
TEST(StartUp, TheCurrentTimeIsPreselectedOnlyWhenTheOptionIsOn) {
    struct clock_case {
        const char* settings;
        int hour, minute;
        const wchar_t *hour_text, *minute_text, *ampm_text;
    };
    const clock_case cases[] = {{"[OPTIONS]\r\nLCTOS=1\r\n", 19, 4, L"7", L"04", L"PM"},
                                {"[OPTIONS]\r\nLCTOS=1\r\n", 0, 30, L"12", L"30", L"AM"},
                                {"[OPTIONS]\r\nLCTOS=2\r\n", 12, 0, L"", L"", L""}};
    for (const clock_case& c : cases) {
        SCOPED_TRACE(c.settings + std::to_string(c.hour) + ":" + std::to_string(c.minute));
        program_folder folder;
        program app = launch_with(folder, c.settings, {.clock_offset = clock_offset_to(c.hour, c.minute, 5)});
        EXPECT_EQ(text(app.control(forms::id_time_hour)), c.hour_text);
        EXPECT_EQ(text(app.control(forms::id_time_minute)), c.minute_text);
        EXPECT_EQ(text(app.control(forms::id_time_ampm)), c.ampm_text);
        if (*c.hour_text) {
            click(app.control(forms::id_alarm));
            EXPECT_TRUE(wait_until([&] { return app.status_text(0) == L"Alarm - Active"; }));
        }
    }
}

// The number rules themselves are the core's; here, that start-up applies them.
TEST(StartUp, TheSavedPositionAndVolumeAreRestoredWithinReach) {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    struct saved_case {
        const char* settings;
        std::optional<POINT> place; // none: anywhere on the work area
        int volume;
    };
    const saved_case cases[] = {
        {"[TOCSINET]\r\nX=1200\r\nY=900\r\nVOLUME=80\r\n", POINT{80, 60}, 80},
        {"[TOCSINET]\r\nX=12abc\r\nY=abc\r\nVOLUME=abc\r\n", POINT{1, 0}, 50},
        {"[TOCSINET]\r\nX=-120000\r\nY=-120000\r\nVOLUME=150\r\n", std::nullopt, 100},
        {"[TOCSINET]\r\nX=120000\r\nY=-900\r\nVOLUME=-7\r\n", std::nullopt, 0},
    };
    for (const saved_case& c : cases) {
        SCOPED_TRACE(c.settings);
        program_folder folder;
        program app = launch_with(folder, c.settings);
        RECT rect = window_rect(app.window());
        if (c.place)
            EXPECT_TRUE(rect.left == c.place->x && rect.top == c.place->y) << rect.left << ", " << rect.top;
        else
            EXPECT_TRUE(rect.left >= area.left && rect.top >= area.top && rect.right <= area.right &&
                        rect.bottom <= area.bottom);
        EXPECT_EQ(trackbar_position(app.control(forms::id_volume)), c.volume);
        EXPECT_EQ(text(app.control(forms::id_volume_perc)), std::to_wstring(c.volume) + L"%");
    }
}

TEST(Arming, RefusedUntilTheWholeTimeAndAFileAreGivenWhileDisarmingChecksNothing) {
    program_folder folder;
    program app = program::launch(folder);
    HWND hour = app.control(forms::id_time_hour), minute = app.control(forms::id_time_minute);
    HWND ampm = app.control(forms::id_time_ampm), alarm_file = app.control(forms::id_alarm_file);
    HWND alarm = app.control(forms::id_alarm);
    auto shows = [&](const wchar_t* caption, const wchar_t* panel) {
        return wait_until([&] { return text(alarm) == caption && app.status_text(0) == panel; });
    };
    // Each step leaves one of the four texts empty.
    const std::pair<const char*, std::function<void()>> incomplete[] = {
        {"nothing selected", [] {}},
        {"no AM/PM", [&] { EXPECT_TRUE(select(hour, L"7") && select(minute, L"05")); }},
        {"no minute", [&] { EXPECT_TRUE(select(ampm, L"PM") && select_index(minute, -1)); }},
        {"no hour", [&] { EXPECT_TRUE(select(minute, L"05") && select_index(hour, -1)); }},
        {"empty alarm file",
         [&] {
             EXPECT_TRUE(select(hour, L"7"));
             set_text(alarm_file, L"");
         }},
    };
    for (const auto& [what, change] : incomplete) {
        SCOPED_TRACE(what);
        change();
        click(alarm);
        HWND box = app.wait_for_window(message_box_class);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(text(box), L"Tocsinet");
        EXPECT_EQ(message_box_text(box), L"Please select and alarm time and an alarm file");
        click_button(box, L"OK");
        ASSERT_TRUE(wait_until([&] { return !IsWindow(box); }));
        app.sync();
        EXPECT_TRUE(shows(L"Activate", L"Alarm - Inactive"));
    }
    // "no file" is a text like any other; disarming looks at nothing.
    set_text(alarm_file, L"no file");
    click(alarm);
    EXPECT_TRUE(shows(L"Deactivate", L"Alarm - Active"));
    EXPECT_TRUE(select_index(minute, -1));
    set_text(alarm_file, L"");
    click(alarm);
    EXPECT_TRUE(shows(L"Activate", L"Alarm - Inactive"));
    EXPECT_EQ(app.find_window(message_box_class), nullptr);
}

// The settings file keeps its ANSI text, read and written through the folder's wide path.
TEST(StartUp, AProgramFolderOutsideTheCodePageCountsItsStartsAndSavesOnClose) {
    program_folder folder(L"StartUp.Programme \u266b");
    folder.write_settings("[TOCSINET]\r\nVOLUME=30\r\n[MUSIC]\r\nDEFAULT PATH=C:\\R\xe9veil\\\r\n");
    for (auto [loads, volume] : {std::pair{"LOADS=1\r\n", 30}, {"LOADS=2\r\n", 40}}) {
        program app = program::launch(folder);
        EXPECT_EQ(trackbar_position(app.control(forms::id_volume)), volume);
        set_trackbar_position(app.control(forms::id_volume), 40);
        EXPECT_TRUE(app.close());
        EXPECT_NE(folder.settings_text().find(loads), std::string::npos) << folder.settings_text();
    }
    std::string text = folder.settings_text();
    EXPECT_NE(text.find("DEFAULT PATH=C:\\R\xe9veil\\\r\n"), std::string::npos) << text; // é still one byte
    EXPECT_NE(text.find("X="), std::string::npos) << text;
}

} // namespace
