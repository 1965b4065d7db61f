#include "notice_panel.h"

#include <commctrl.h>

namespace forms {

void notice_panel::update() const {
    wchar_t text[64] = L"";
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, text, 64);
    const wchar_t* shown = notice_.empty() ? text : notice_.c_str();
    SendMessageW(GetDlgItem(window_, status_bar_id_), SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(shown));
}

void notice_panel::start_clock() {
    update();
    SetTimer(window_, clock_timer, 1000, nullptr);
}

void notice_panel::show(const wchar_t* notice) {
    notice_ = notice;
    seen_ = GetForegroundWindow() == window_;
    update();
}

void notice_panel::clear() {
    notice_.clear();
    update();
}

// The clock comes back, but for the click that brings the window up: the notice is shown to the
// user then.
void notice_panel::window_used() {
    if (!notice_.empty() && !activating_)
        clear();
}

// A notice already seen gives the clock back; one the user has not seen yet stays until the next
// use.
void notice_panel::activated() {
    if (notice_.empty())
        return;
    if (seen_) {
        clear();
    } else {
        activating_ = true;
        PostMessageW(window_, seen_message, 0, 0);
    }
}

void notice_panel::seen() {
    activating_ = false;
    seen_ = !notice_.empty();
}

// The program runs on without its settings; the user learns it once, not at every write.
void notice_panel::settings_not_saved() {
    if (settings_not_saved_told_)
        return;
    settings_not_saved_told_ = true;
    show(L"Settings not saved");
}

} // namespace forms
