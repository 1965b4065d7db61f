#include "tray_text.h"

#include <gtest/gtest.h>

using namespace tocsinet;

TEST(TrayTooltip, InactiveAndArmedTexts) {
    EXPECT_EQ(tray_tooltip(false, "7", "05", "AM", "C:\\Music\\wake.mp3"), "Tocsinet: Inactive");
    EXPECT_EQ(tray_tooltip(true, "7", "05", "AM", "C:\\Music\\wake.mp3"),
              "Tocsinet: Active\r\nAlarm Time: 7:05 AM\r\nAlarm File: wake.mp3");
}

TEST(TrayTooltip, FileNameIsTheLastPiece) {
    EXPECT_EQ(alarm_file_name("C:\\Music\\wake.mp3"), "wake.mp3");
    EXPECT_EQ(alarm_file_name("wake.mp3"), "wake.mp3");
    EXPECT_EQ(alarm_file_name("C:\\Music\\"), "");
    EXPECT_EQ(alarm_file_name(""), "");
    EXPECT_EQ(tray_tooltip(true, "7", "05", "AM", ""), "Tocsinet: Active\r\nAlarm Time: 7:05 AM\r\nAlarm File: ");
}

TEST(TrayTooltip, CutToSixtyThreeCharacters) {
    std::string fixed = tray_tooltip(true, "12", "30", "PM", "");
    EXPECT_EQ(fixed.size(), 52u);
    std::string eleven = tray_tooltip(true, "12", "30", "PM", "C:\\a\\abcdefg.mp3");
    EXPECT_EQ(fit_tray_tip(eleven), eleven);
    EXPECT_EQ(eleven.size(), 63u);
    std::string longer = tray_tooltip(true, "12", "30", "PM", "C:\\a\\a much longer alarm file name.mp3");
    EXPECT_EQ(fit_tray_tip(longer), longer.substr(0, 63));
    EXPECT_EQ(fit_tray_tip(longer).size(), 63u);
}

TEST(TrayMouseMessage, PressesInTwipsAndPixels) {
    EXPECT_EQ(tray_mouse_message(7695, false, 15), tray_press::left);   // 513 at 96 dpi
    EXPECT_EQ(tray_mouse_message(7740, false, 15), tray_press::right);  // 516
    EXPECT_EQ(tray_mouse_message(513, true, 15), tray_press::left);
    EXPECT_EQ(tray_mouse_message(516, true, 15), tray_press::right);
    EXPECT_EQ(tray_mouse_message(6156, false, 12), tray_press::left);   // 120 dpi
    for (int message : {0x200, 0x202, 0x203, 0x205, 0x206})
        EXPECT_EQ(tray_mouse_message(message * 15.0, false, 15), tray_press::none) << message;
    EXPECT_EQ(tray_mouse_message(3825, false, 15), tray_press::none); // a real move inside the window
}
