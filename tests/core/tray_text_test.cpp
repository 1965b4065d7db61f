#include "tray_text.h"

#include <gtest/gtest.h>

using namespace tocsinet;

// The tooltip's texts themselves, and the presses, the release, the move and the double click on
// the icon, are checked on the program's own icon.
TEST(TrayTooltip, CutToSixtyThreeUnitsAtACharacterBoundaryAfterTheFileName) {
    EXPECT_EQ(alarm_file_name(L"C:\\Music\\"), L"");
    EXPECT_EQ(alarm_file_name(L"C:\\\u8868\\\u8868.mp3"), L"\u8868.mp3");
    const std::wstring clef{wchar_t(0xD834), wchar_t(0xDD1E)}; // U+1D11E, as UTF-16 holds it
    EXPECT_EQ(fit_tray_tip(std::wstring(62, L'a') + clef), std::wstring(62, L'a'));
    EXPECT_EQ(fit_tray_tip(std::wstring(61, L'a') + clef + L"b"), std::wstring(61, L'a') + clef);
}
