#include "file_system.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "folder_tree.h"

namespace {

// A fresh folder of its own under the temporary folder, removed afterwards.
class temporary_folder {
  public:
    explicit temporary_folder(const std::wstring& name) {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path_ = std::wstring(base) + name;
        remove(path_);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    temporary_folder(const temporary_folder&) = delete;
    temporary_folder& operator=(const temporary_folder&) = delete;
    ~temporary_folder() { remove(path_); }

    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const {
        std::wstring full = tocsinet::child_path(path_, name);
        HANDLE handle = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
        EXPECT_NE(handle, INVALID_HANDLE_VALUE) << "cannot create a test file";
        CloseHandle(handle);
        return full;
    }
    std::wstring folder(const std::wstring& name, DWORD attributes = 0) const {
        std::wstring full = tocsinet::child_path(path_, name);
        CreateDirectoryW(full.c_str(), nullptr);
        if (attributes)
            SetFileAttributesW(full.c_str(), attributes);
        return full;
    }

  private:
    static void remove(const std::wstring& path) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = found.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                std::wstring full = path + L"\\" + name;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    remove(full);
                else
                    DeleteFileW(full.c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(path.c_str());
    }

    std::wstring path_;
};

std::vector<std::wstring> sorted(std::vector<std::wstring> names) {
    tocsinet::sort_names(names);
    return names;
}

TEST(ReadFolder, ListsOrdinaryFilesAndFoldersOnly) {
    temporary_folder folder(L"tocsinet-read-folder");
    folder.file(L"wake.mp3");
    folder.file(L"LOUD.MP3");
    folder.file(L"notes.txt");
    folder.file(L"\u266b morning.wav");
    folder.file(L"hidden.mp3", FILE_ATTRIBUTE_HIDDEN);
    folder.file(L"system.wav", FILE_ATTRIBUTE_SYSTEM);
    folder.folder(L"Rock");
    folder.folder(L"secret", FILE_ATTRIBUTE_HIDDEN);

    auto contents = platform::read_folder(folder.path());
    ASSERT_TRUE(contents);
    EXPECT_EQ(sorted(contents->files), (std::vector<std::wstring>{L"LOUD.MP3", L"notes.txt", L"wake.mp3", L"\u266b morning.wav"}));
    EXPECT_EQ(contents->folders, std::vector<std::wstring>{L"Rock"});
    // A trailing backslash names the same folder.
    auto again = platform::read_folder(folder.path() + L"\\");
    ASSERT_TRUE(again);
    EXPECT_EQ(sorted(again->files), sorted(contents->files));
}

TEST(ReadFolder, AFolderThatIsGoneCannotBeRead) {
    EXPECT_FALSE(platform::read_folder(L"C:\\no such folder here\\at all"));
    EXPECT_FALSE(platform::read_folder(L"Q:\\"));
}

TEST(ReadFolder, PathsLongerThanTheClassicLimitAreRead) {
    temporary_folder folder(L"tocsinet-long-path");
    std::wstring deep = L"\\\\?\\" + folder.path();
    for (int level = 0; deep.size() < MAX_PATH + 40; ++level) {
        deep += L"\\a folder with a rather long name " + std::to_wstring(level);
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr)) << "cannot build the deep folder";
    }
    std::wstring file = deep + L"\\deep.mp3";
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    CloseHandle(handle);

    auto contents = platform::read_folder(deep.substr(4));
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->files, std::vector<std::wstring>{L"deep.mp3"});
}

TEST(Drives, TheSystemDriveIsListedAndHasACurrentFolder) {
    std::vector<std::wstring> roots = platform::drive_roots();
    EXPECT_NE(std::find(roots.begin(), roots.end(), L"C:\\"), roots.end());
    std::wstring current = platform::current_folder_of_drive(L"C:\\");
    EXPECT_EQ(current.substr(0, 3), L"C:\\");
    EXPECT_FALSE(platform::current_directory().empty());
}

} // namespace
