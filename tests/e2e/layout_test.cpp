// Every window as designed, after a first start, at 96 DPI and once more in a prefix at 144 DPI:
// client size, each control's place, caption and class, the window styles, the order in which Tab
// visits the controls, the name each gets, and where the focus starts; the font's height; the
// volume label with every value whole.
#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "designs.h"
#include "driver.h"

namespace {

using namespace e2e;
using namespace forms;

// The prefix's DPI: 96, or the one the fixture set up.
const int dpi = _wgetenv(L"TOCSINET_WINE_DPI") ? _wtoi(_wgetenv(L"TOCSINET_WINE_DPI")) : 96;

// The name a screen reader gives a control by the rule for standard controls: a button its caption,
// any other control the text of the label (a static text or a group box, shown or hidden) just before
// it in Z order; "" without one. Under Wine names cannot be read back through oleacc.
std::wstring name_of(HWND control, HWND before) {
    auto is = [](HWND window, const wchar_t* kind, DWORD type_mask, DWORD type) {
        return class_name(window) == kind && (GetWindowLongW(window, GWL_STYLE) & type_mask) == type;
    };
    if (class_name(control) == button && !is(control, button, BS_TYPEMASK, BS_GROUPBOX)) {
        std::wstring caption = text(control);
        std::erase(caption, L'&');
        return caption;
    }
    bool labelled =
        before && (is(before, label, SS_TYPEMASK, SS_LEFT) || is(before, button, BS_TYPEMASK, BS_GROUPBOX));
    return labelled ? text(before) : L"";
}

// The controls of page `page` (and those on no page) as designed; the other pages' are hidden.
void check(HWND window, const design& d, int page = -1) {
    RECT client;
    EXPECT_TRUE(GetClientRect(window, &client) && within_a_pixel(client.right, d.width, dpi) &&
                within_a_pixel(client.bottom, d.height, dpi));
    for (const row& r : d.rows) {
        HWND control = GetDlgItem(window, r.id);
        SCOPED_TRACE(testing::Message() << "control " << r.id << " on page " << page);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(is_visible(control), r.tab == -1 || r.tab == page);
        EXPECT_EQ(class_name(control), r.class_name);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)) & r.style, r.style);
        EXPECT_TRUE(!r.caption || text(control) == r.caption) << narrow(text(control));
        EXPECT_TRUE(placed_as_designed(window, r, dpi));
        if (r.class_name == combo) {
            RECT opened{}; // the room for the opened list, less the field
            SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, LPARAM(&opened));
            EXPECT_GE(opened.bottom - opened.top, px(3000 - 330, dpi));
        }
    }
    // Tab visits the shown controls in the designed order, round and round.
    std::vector<stop> order;
    std::ranges::copy_if(d.tab_order, std::back_inserter(order),
                         [&](const stop& s) { return is_visible(GetDlgItem(window, s.id)); });
    HWND at = GetDlgItem(window, order.front().id);
    for (std::size_t i = 1; i <= order.size(); ++i)
        EXPECT_EQ(GetDlgCtrlID(at = GetNextDlgTabItem(window, at, FALSE)), order[i % order.size()].id)
            << "stop " << i;
    // Every shown control Tab reaches has its name, and no two of a kind shown together share one.
    std::set<std::pair<std::wstring, std::wstring>> named;
    for (HWND child = GetWindow(window, GW_CHILD), before = nullptr; child;
         before = child, child = GetWindow(child, GW_HWNDNEXT)) {
        if (!is_visible(child) || !(GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP))
            continue;
        auto designed = std::ranges::find(order, GetDlgCtrlID(child), &stop::id);
        std::wstring name = name_of(child, before);
        ASSERT_NE(designed, order.end()) << narrow(name);
        EXPECT_EQ(narrow(name), narrow(designed->name));
        EXPECT_TRUE(named.insert({class_name(child), name}).second) << narrow(name);
    }
}

// A dialog that a command of its opener (a button's click, a menu item) opens: no title bar, no
// task-bar button, topmost, on its opener's top-left corner, the focus on its first control.
HWND check_dialog(const program& app, HWND opener, int command, const wchar_t* window_class, const design& d,
                  int first_focus, int page = -1) {
    HWND dialog = app.open(command, window_class, opener);
    LONG style = GetWindowLongW(dialog, GWL_STYLE), ex_style = GetWindowLongW(dialog, GWL_EXSTYLE);
    EXPECT_TRUE((style & WS_CAPTION) != WS_CAPTION && !(style & (WS_SYSMENU | WS_THICKFRAME)));
    EXPECT_TRUE((ex_style & WS_EX_TOOLWINDOW) && (ex_style & WS_EX_TOPMOST));
    RECT placed = window_rect(dialog), corner = window_rect(opener);
    EXPECT_TRUE(placed.left == corner.left && placed.top == corner.top);
    EXPECT_TRUE(wait_until([&] { return focus_of(dialog) == GetDlgItem(dialog, first_focus); }))
        << "first focus";
    check(dialog, d, page);
    return dialog;
}

// Turns a page as the user's arrow keys turn it, and checks it.
void turn_to(HWND dialog, const design& d, int tab_control, UINT key, int page, int shown) {
    PostMessageW(GetDlgItem(dialog, tab_control), WM_KEYDOWN, key, 0);
    ASSERT_TRUE(wait_until([&] { return is_visible(GetDlgItem(dialog, shown)); }));
    check(dialog, d, page);
}

TEST(Layout, EveryWindowAsDesigned) {
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSX), dpi);
    program_folder folder;
    program app = program::launch(folder);
    // A first start writes only the statistics, fills the lists and, without "LCTOS", selects no time.
    EXPECT_EQ(folder.settings_text(), "[STATS]\r\nALARMS=0\r\nLOADS=1\r\n");
    const std::vector<std::wstring> hours = items(app.control(id_time_hour));
    const std::vector<std::wstring> minutes = items(app.control(id_time_minute));
    EXPECT_TRUE(hours.size() == 12 && hours.front() == L"1" && hours.back() == L"12");
    EXPECT_TRUE(minutes.size() == 60 && minutes[5] == L"05" && minutes.back() == L"59");
    for (int id : {id_time_hour, id_time_minute, id_time_ampm})
        EXPECT_EQ(text(app.control(id)), L""); // a drop-down list shows its selection
    EXPECT_EQ(GetWindowLongW(app.window(), GWL_STYLE) & (WS_MINIMIZEBOX | WS_SYSMENU | WS_MAXIMIZEBOX | WS_THICKFRAME),
              WS_MINIMIZEBOX | WS_SYSMENU);
    check(app.window(), main_window);
    // The volume label follows the slider, whose page keys step by 5, and shows "100%" whole.
    HWND slider = app.control(id_volume), label = app.control(id_volume_perc);
    for (auto [key, shown] : {std::pair{VK_NEXT, L"55%"}, {VK_END, L"100%"}}) {
        PostMessageW(slider, WM_KEYDOWN, key, 0);
        EXPECT_TRUE(wait_until([&] { return text(label) == shown; })) << narrow(text(label));
    }
    // The captions are in 8.25-point type at the DPI (a list's lines are as high as its font), and
    // "100%" fits the label in it.
    SelectObject(screen, CreateFontW(-static_cast<int>(std::lround(8.25 * dpi / 72)), 0, 0, 0, FW_NORMAL, 0,
                                     0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Courier New"));
    TEXTMETRICW font{};
    SIZE hundred{};
    EXPECT_TRUE(GetTextMetricsW(screen, &font) && GetTextExtentPoint32W(screen, L"100%", 4, &hundred));
    EXPECT_EQ(SendMessageW(app.control(id_time_hour), CB_GETITEMHEIGHT, 0, 0), font.tmHeight);
    EXPECT_LE(hundred.cx, window_rect(label).right - window_rect(label).left);

    HWND picker = check_dialog(app, app.window(), id_browse, browse_form_class, alarm_file_picker, id_bf_drive);
    click_button(picker, L"Cancel");

    HWND options = check_dialog(app, app.window(), id_mnuoptions, L"TocsinetOptions", options_window, id_options_ok, 1);
    turn_to(options, options_window, id_options_SSTab1, VK_LEFT, 0, id_lctos);
    turn_to(options, options_window, id_options_SSTab1, VK_RIGHT, 1, id_winamp_path);
    turn_to(options, options_window, id_options_SSTab1, VK_RIGHT, 2, id_default_path);
    click_button(check_dialog(app, options, id_browse_music, browse_dir_class, folder_picker, id_bd_drive), L"Cancel");
    ASSERT_TRUE(wait_until([&] { return is_enabled(options); }));
    click_button(options, L"Cancel");

    HWND about = check_dialog(app, app.window(), id_mnuabout, L"TocsinetAbout", about_window, id_about_ok, 0);
    turn_to(about, about_window, id_about_SSTab1, VK_RIGHT, 1, id_stat_loads);
    EXPECT_TRUE(app.close());
}

} // namespace
