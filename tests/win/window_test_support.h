// What the in-process window tests share: the settings and version files beside the test
// program (where the windows look for them) and a stand-in for the main window.
#pragma once

#include <windows.h>

#include <string>

namespace window_tests {

std::string program_folder();
std::string settings_path();
std::string version_path();

void write_file(const std::string& path, const std::string& content);
std::string read_file(const std::string& path); // "" when missing

// Runs the messages waiting for this thread's windows.
void pump();

// A plain visible top-level window in the place of the main window.
HWND make_main_window();

std::wstring text(HWND window);
bool checked(HWND box);
// Presses a button as the user does, and lets what it set off run.
void click(HWND button);
// The top-level windows of this thread with the class.
int count_windows(const wchar_t* class_name);

} // namespace window_tests
