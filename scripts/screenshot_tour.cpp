// Opens every window of the program in turn so scripts/screenshots.sh can picture each one.
// For each picture it writes "<name> <left> <top> <width> <height>" to the request file named on
// the command line and waits until the script has removed it.
#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "alarm.h"
#include "driver.h"

namespace {

using namespace e2e;

std::wstring request_file;

void picture(const std::string& name, RECT rect) {
    // Written aside and moved in, so the script never reads half a request.
    std::wstring part = request_file + L".part";
    if (FILE* request = _wfopen(part.c_str(), L"w")) {
        std::fprintf(request, "%s %ld %ld %ld %ld\n", name.c_str(), rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top);
        std::fclose(request);
    }
    if (!MoveFileExW(part.c_str(), request_file.c_str(), MOVEFILE_REPLACE_EXISTING))
        throw std::runtime_error("cannot write the screenshot request");
    if (!wait_until([] { return GetFileAttributesW(request_file.c_str()) == INVALID_FILE_ATTRIBUTES; }, 60s))
        throw std::runtime_error("the screenshot script did not answer");
}

void picture(const std::string& name, HWND window) {
    // Let the window finish painting first.
    wait_until([] { return false; }, 700ms);
    picture(name, window_rect(window));
}

void tour() {
    program_folder folder(L"tour");
    folder.write_settings("[OPTIONS]\r\nLCTOS=1\r\nMTST=1\r\n[TOCSINET]\r\nX=1200\r\nY=900\r\n"
                          "[MUSIC]\r\nDEFAULT PATH=C:\\e2e\\tour\r\n[STATS]\r\nLOADS=41\r\nALARMS=7\r\n");
    folder.write_file(L"wake up.mp3", "");
    folder.write_file(L"morning.wav", "");
    program app = program::launch(folder);
    set_text(app.control(forms::id_alarm_file), folder.file(L"wake up.mp3"));
    set_trackbar_position(app.control(forms::id_volume), 70);
    click(app.control(forms::id_alarm));
    wait_until([&] { return app.status_text(0) == L"Alarm - Active"; });
    picture("main-window", app.window());

    click(app.control(forms::id_browse));
    if (HWND picker = app.wait_for_window(L"TocsinetBrowseForm", 10s)) {
        picture("alarm-file-picker", picker);
        click_button(picker, L"Cancel");
        wait_until([&] { return !IsWindow(picker); });
    }

    PostMessageW(app.window(), WM_COMMAND, forms::id_mnuoptions, 0);
    if (HWND options = app.wait_for_window(L"TocsinetOptions", 10s)) {
        picture("options", options);
        if (HWND browse = find_child(options, L"Button", L"...")) {
            click(browse);
            if (HWND folders = app.wait_for_window(L"TocsinetBrowseDir", 10s)) {
                picture("folder-picker", folders);
                click_button(folders, L"Cancel");
                wait_until([&] { return !IsWindow(folders); });
            }
        }
        click_button(options, L"Cancel");
        wait_until([&] { return !IsWindow(options); });
    }

    PostMessageW(app.window(), WM_COMMAND, forms::id_mnuabout, 0);
    if (HWND about = app.wait_for_window(L"TocsinetAbout", 10s)) {
        picture("about", about);
        click_button(about, L"OK");
        wait_until([&] { return !IsWindow(about); });
    }

    // The notification area of the task bar, with the program's icon in it.
    PostMessageW(app.window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    wait_until([&] { return !is_visible(app.window()); }, 10s);
    if (HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr)) {
        wait_until([] { return false; }, 700ms);
        RECT corner = window_rect(taskbar);
        corner.left = corner.right - 160;
        picture("tray-icon", corner);
    }
    app.close();
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: screenshot_tour <request file>\n", stderr);
        return 2;
    }
    request_file = argv[1];
    try {
        tour();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "screenshot tour: %s\n", error.what());
        return 1;
    }
    return 0;
}
