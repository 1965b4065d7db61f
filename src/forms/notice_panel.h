// The main window's clock panel, where what the user should know is shown in place of the clock
// until the user next uses the window.
#pragma once

#include <windows.h>

#include <string>

namespace forms {

class notice_panel {
  public:
    // Posted when the window comes to the user with a notice, so it is seen after the input that
    // brought the window up.
    static constexpr UINT seen_message = WM_APP + 1;
    // The panel follows the clock; no alarm logic reads it.
    static constexpr UINT_PTR clock_timer = 2;

    notice_panel(HWND window, int status_bar_id) : window_(window), status_bar_id_(status_bar_id) {}

    // The clock, or the notice while there is one: now and at every tick of `clock_timer`.
    void update() const;
    void start_clock();
    void show(const wchar_t* notice);
    void clear();
    // A click or key in the window.
    void window_used();
    // WM_ACTIVATE, the window brought to the front (from the tray too).
    void activated();
    // `seen_message`.
    void seen();
    // A settings write failed.
    void settings_not_saved();

  private:
    HWND window_;
    int status_bar_id_;
    std::wstring notice_;
    // Whether the user has had the window in front since the notice appeared, and whether it is
    // coming to the front now.
    bool seen_ = false;
    bool activating_ = false;
    // A settings write that failed is told once a run.
    bool settings_not_saved_told_ = false;
};

} // namespace forms
