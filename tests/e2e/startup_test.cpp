// Starting the program (the position, time and volume it restores, the starts it counts) and
// arming it with the "Activate" button.
#include <windows.h>

#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "alarm.h"
#include "driver.h"

namespace {

using namespace e2e;

// Started well before the minute turns, so the time read at start-up is still in that minute. A
// saved place off the screen comes back within reach (the number rules themselves are the core's).
TEST(Arming, FromTheTimePreselectedWhenTheOptionIsOnAndRefusedUntilTheWholeTimeAndAFileAreGiven) {
    program_folder folder;
    folder.write_settings("[OPTIONS]\r\nLCTOS=1\r\n[TOCSINET]\r\nX=-120000\r\nY=-120000\r\n");
    program app = program::launch(folder, {.clock_offset = clock_offset_to(19, 4, 5)});
    RECT area{}, placed = window_rect(app.window());
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_TRUE(placed.left >= area.left && placed.top >= area.top && placed.right <= area.right &&
                placed.bottom <= area.bottom);
    HWND alarm = app.control(forms::id_alarm), alarm_file = app.control(forms::id_alarm_file);
    auto shows = [&](const wchar_t* caption, const wchar_t* panel) {
        return wait_until([&] { return text(alarm) == caption && app.status_text(0) == panel; });
    };
    EXPECT_EQ(text(app.control(forms::id_time_hour)), L"7");
    EXPECT_EQ(text(app.control(forms::id_time_minute)), L"04");
    EXPECT_EQ(text(app.control(forms::id_time_ampm)), L"PM");
    // "no file" is a text like any other; disarming looks at nothing.
    click(alarm);
    EXPECT_TRUE(shows(L"Deactivate", L"Alarm - Active"));
    EXPECT_TRUE(select_index(app.control(forms::id_time_minute), -1));
    set_text(alarm_file, L"");
    click(alarm);
    EXPECT_TRUE(shows(L"Activate", L"Alarm - Inactive"));
    EXPECT_EQ(app.find_window(message_box_class), nullptr);
    // Everything given but one text.
    for (int missing :
         {forms::id_time_hour, forms::id_time_minute, forms::id_time_ampm, forms::id_alarm_file}) {
        SCOPED_TRACE(missing);
        EXPECT_TRUE(select(app.control(forms::id_time_hour), L"7") &&
                    select(app.control(forms::id_time_minute), L"05") &&
                    select(app.control(forms::id_time_ampm), L"PM"));
        set_text(alarm_file, missing == forms::id_alarm_file ? L"" : L"no file");
        EXPECT_TRUE(missing == forms::id_alarm_file || select_index(app.control(missing), -1));
        click(alarm);
        answer_message_box(app, L"Please select and alarm time and an alarm file", false);
        app.sync();
        EXPECT_TRUE(shows(L"Activate", L"Alarm - Inactive"));
    }
}

// The settings file keeps its ANSI text, read and written through the folder's wide path; the
// window comes back where it was saved, 1200 twips being 80 pixels here (the second start proves the
// first close saved it).
TEST(StartUp, AProgramFolderOutsideTheCodePageRestoresItsPlaceAndVolumeCountsItsStartsAndSaves) {
    program_folder folder(L"StartUp.Programme \u266b");
    folder.write_settings(
        "[TOCSINET]\r\nX=1200\r\nY=900\r\nVOLUME=30\r\n[MUSIC]\r\nDEFAULT PATH=C:\\R\xe9veil\\\r\n");
    for (auto [loads, volume] : {std::pair{"LOADS=1\r\n", 30}, {"LOADS=2\r\n", 40}}) {
        program app = program::launch(folder);
        RECT rect = window_rect(app.window());
        EXPECT_TRUE(rect.left == 80 && rect.top == 60) << rect.left << ", " << rect.top;
        EXPECT_EQ(trackbar_position(app.control(forms::id_volume)), volume);
        EXPECT_EQ(text(app.control(forms::id_volume_perc)), std::to_wstring(volume) + L"%");
        set_trackbar_position(app.control(forms::id_volume), 40);
        EXPECT_TRUE(app.close());
        EXPECT_NE(folder.settings_text().find(loads), std::string::npos) << folder.settings_text();
    }
    std::string text = folder.settings_text();
    EXPECT_NE(text.find("DEFAULT PATH=C:\\R\xe9veil\\\r\n"), std::string::npos) << text; // é still one byte

    // A settings file that cannot be written (a folder in its place here: the tests run as root)
    // is told where the notices show, once: the user's click gives the clock back for good.
    ASSERT_TRUE(DeleteFileW(folder.file(L"tocsinet.ini").c_str()));
    ASSERT_TRUE(CreateDirectoryW(folder.file(L"tocsinet.ini").c_str(), nullptr));
    program app = program::launch(folder);
    EXPECT_TRUE(wait_until([&] { return app.status_text(1) == L"Settings not saved"; }));
    PostMessageW(app.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(wait_until([&] { return app.status_text(1) != L"Settings not saved"; }));
    EXPECT_TRUE(app.close());
}

} // namespace
