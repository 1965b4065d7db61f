// One owning wrapper for every kind of Win32 handle and COM pointer.
#pragma once

#include <windows.h>

#include <utility>

namespace platform {

// Kernel file and search handles signal failure with INVALID_HANDLE_VALUE, the others with null.
template <class Handle, auto Close, bool MinusOneIsInvalid = false> class unique_handle {
    static Handle invalid() {
        if constexpr (MinusOneIsInvalid)
            return reinterpret_cast<Handle>(static_cast<LONG_PTR>(-1));
        else
            return Handle{};
    }

  public:
    unique_handle() = default;
    explicit unique_handle(Handle handle) : handle_(handle) {}
    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;
    unique_handle(unique_handle&& other) noexcept : handle_(other.release()) {}
    unique_handle& operator=(unique_handle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~unique_handle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != invalid() && handle_ != Handle{}; }
    Handle release() { return std::exchange(handle_, invalid()); }
    // Empties the owner for a call that writes the handle through a pointer.
    Handle* put() {
        reset();
        return &handle_;
    }
    void reset(Handle handle = invalid()) {
        if (*this)
            Close(handle_);
        handle_ = handle;
    }

  private:
    Handle handle_ = invalid();
};

namespace detail {
inline void delete_gdi(HGDIOBJ object) { DeleteObject(object); }
inline void close_handle(HANDLE handle) { CloseHandle(handle); }
inline void close_find(HANDLE handle) { FindClose(handle); }
inline void destroy_icon(HICON icon) { DestroyIcon(icon); }
inline void destroy_menu(HMENU menu) { DestroyMenu(menu); }
template <class Interface> void release_com(Interface* object) { object->Release(); }
} // namespace detail

using unique_font = unique_handle<HFONT, detail::delete_gdi>;
using unique_brush = unique_handle<HBRUSH, detail::delete_gdi>;
using unique_pen = unique_handle<HPEN, detail::delete_gdi>;
using unique_bitmap = unique_handle<HBITMAP, detail::delete_gdi>;
using unique_icon = unique_handle<HICON, detail::destroy_icon>;
using unique_menu = unique_handle<HMENU, detail::destroy_menu>;
using unique_file = unique_handle<HANDLE, detail::close_handle, true>;
using unique_find = unique_handle<HANDLE, detail::close_find, true>;
using unique_kernel_handle = unique_handle<HANDLE, detail::close_handle>;
template <class Interface> using unique_com = unique_handle<Interface*, detail::release_com<Interface>>;

// Selects an object into a DC for one scope.
class scoped_select {
  public:
    scoped_select(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    scoped_select(const scoped_select&) = delete;
    scoped_select& operator=(const scoped_select&) = delete;
    ~scoped_select() { SelectObject(dc_, previous_); }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace platform
