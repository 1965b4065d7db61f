// Arming and disarming with the "Activate" button: the check that a time and a file are given,
// and the armed state shown on the button and in the status bar.
#include <windows.h>

#include <gtest/gtest.h>

#include "alarm.h"
#include "driver.h"

namespace {

using namespace e2e;

constexpr const wchar_t* incomplete_message = L"Please select and alarm time and an alarm file";

class Arming : public ::testing::Test {
  protected:
    HWND hour() const { return app.control(forms::id_time_hour); }
    HWND minute() const { return app.control(forms::id_time_minute); }
    HWND ampm() const { return app.control(forms::id_time_ampm); }
    HWND alarm_file() const { return app.control(forms::id_alarm_file); }
    HWND alarm_button() const { return app.control(forms::id_alarm); }

    void select_time(const wchar_t* h, const wchar_t* m, const wchar_t* half_day) {
        ASSERT_TRUE(select(hour(), h));
        ASSERT_TRUE(select(minute(), m));
        ASSERT_TRUE(select(ampm(), half_day));
    }

    bool shows(const wchar_t* caption, const wchar_t* panel) {
        return wait_until([&] { return text(alarm_button()) == caption && app.status_text(0) == panel; });
    }

    // Clicks "Activate" expecting the refusal: the message box, answered with OK, and no change.
    void expect_refusal() {
        click(alarm_button());
        HWND box = app.wait_for_window(message_box_class);
        ASSERT_NE(box, nullptr) << "no message box";
        EXPECT_EQ(text(box), L"Tocsinet");
        EXPECT_EQ(message_box_text(box), incomplete_message);
        EXPECT_FALSE(message_box_has_icon(box));
        click_button(box, L"OK");
        ASSERT_TRUE(wait_until([&] { return !IsWindow(box); }));
        app.sync();
        EXPECT_EQ(text(alarm_button()), L"Activate");
        EXPECT_EQ(app.status_text(0), L"Alarm - Inactive");
    }

    program_folder folder;
    program app = program::launch(folder);
};

TEST_F(Arming, RefusedUntilTheWholeTimeAndAFileAreGiven) {
    {
        SCOPED_TRACE("nothing selected");
        expect_refusal();
    }
    {
        SCOPED_TRACE("no AM/PM");
        ASSERT_TRUE(select(hour(), L"7"));
        ASSERT_TRUE(select(minute(), L"05"));
        expect_refusal();
    }
    {
        SCOPED_TRACE("no minute");
        ASSERT_TRUE(select(ampm(), L"PM"));
        ASSERT_TRUE(select_index(minute(), -1));
        expect_refusal();
    }
    {
        SCOPED_TRACE("no hour");
        ASSERT_TRUE(select(minute(), L"05"));
        ASSERT_TRUE(select_index(hour(), -1));
        expect_refusal();
    }
    {
        SCOPED_TRACE("empty alarm file");
        ASSERT_TRUE(select(hour(), L"7"));
        set_text(alarm_file(), L"");
        expect_refusal();
    }
}

TEST_F(Arming, AClickArmsAndTheNextDisarms) {
    select_time(L"7", L"05", L"PM");
    ASSERT_EQ(text(alarm_file()), L"no file"); // not empty, so it counts as given
    click(alarm_button());
    EXPECT_TRUE(shows(L"Deactivate", L"Alarm - Active"));
    EXPECT_EQ(app.find_window(message_box_class), nullptr);
    EXPECT_TRUE(is_enabled(hour()) && is_enabled(minute()) && is_enabled(ampm()));

    click(alarm_button());
    EXPECT_TRUE(shows(L"Activate", L"Alarm - Inactive"));

    click(alarm_button());
    EXPECT_TRUE(shows(L"Deactivate", L"Alarm - Active"));
    EXPECT_EQ(app.find_window(message_box_class), nullptr);
}

TEST_F(Arming, DisarmingChecksNothing) {
    select_time(L"12", L"59", L"AM");
    set_text(alarm_file(), L"C:\\Music\\wake up.mp3");
    click(alarm_button());
    ASSERT_TRUE(shows(L"Deactivate", L"Alarm - Active"));

    ASSERT_TRUE(select_index(minute(), -1));
    set_text(alarm_file(), L"");
    click(alarm_button());
    EXPECT_TRUE(shows(L"Activate", L"Alarm - Inactive"));
    EXPECT_EQ(app.find_window(message_box_class), nullptr);
}

TEST(ArmingAfterStartUp, TheCurrentTimeFromStartUpIsEnoughToArm) {
    program_folder folder;
    folder.write_settings("[OPTIONS]\r\nLCTOS=1\r\n");
    program app = program::launch(folder, {.clock_offset = clock_offset_to(6, 30, 5)});
    click(app.button(L"Activate"));
    EXPECT_TRUE(wait_until([&] { return app.status_text(0) == L"Alarm - Active"; }));
    EXPECT_EQ(text(app.control(forms::id_alarm)), L"Deactivate");
}

} // namespace
