#pragma once
// Move-only owners for Win32 handles. Each owner stores everything it needs to undo its work
// and counts the GDI objects it holds, so that tests can prove that a life of drawing ends
// with as many live objects as it started with (GetGuiResources is 0 under Wine).
#include <windows.h>

#include <atomic>
#include <utility>

namespace tv {

// GDI objects (pens, brushes, bitmaps, fonts, regions, memory DCs) held by owners right now.
long LiveGdiObjects();

namespace detail {
extern std::atomic<long> liveGdiObjects;

struct DeleteGdiObject {
    static void Close(HGDIOBJ h) { DeleteObject(h); }
    static constexpr bool counted = true;
};
struct DeleteMemoryDc {
    static void Close(HDC h) { DeleteDC(h); }
    static constexpr bool counted = true;
};
struct CloseKernelHandle {
    static void Close(HANDLE h) { CloseHandle(h); }
    static constexpr bool counted = false;
};
struct CloseRegistryKey {
    static void Close(HKEY h) { RegCloseKey(h); }
    static constexpr bool counted = false;
};
struct CloseFind {
    static void Close(HANDLE h) { FindClose(h); }
    static constexpr bool counted = false;
};
struct DestroyIconHandle {
    static void Close(HICON h) { DestroyIcon(h); }
    static constexpr bool counted = false;
};
} // namespace detail

template <typename Handle, typename Traits> class Unique {
  public:
    Unique() = default;
    explicit Unique(Handle h) : handle_(h) { Count(+1); }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : handle_(other.release()) { Count(+1); }
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~Unique() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    void reset(Handle h = nullptr) {
        if (handle_) {
            Traits::Close(handle_);
            Count(-1);
        }
        handle_ = h;
        Count(+1);
    }
    // Hands the handle to someone else (SetWindowRgn takes its region, for example).
    Handle release() {
        Count(-1);
        return std::exchange(handle_, nullptr);
    }

  private:
    void Count(long delta) const {
        if constexpr (Traits::counted)
            if (handle_)
                detail::liveGdiObjects += delta;
    }
    Handle handle_ = nullptr;
};

using UniqueGdiObject = Unique<HGDIOBJ, detail::DeleteGdiObject>;
using UniqueBrush = Unique<HBRUSH, detail::DeleteGdiObject>;
using UniquePen = Unique<HPEN, detail::DeleteGdiObject>;
using UniqueBitmap = Unique<HBITMAP, detail::DeleteGdiObject>;
using UniqueFont = Unique<HFONT, detail::DeleteGdiObject>;
using UniqueRegion = Unique<HRGN, detail::DeleteGdiObject>;
using UniqueMemoryDc = Unique<HDC, detail::DeleteMemoryDc>;
using UniqueHandle = Unique<HANDLE, detail::CloseKernelHandle>;
using UniqueKey = Unique<HKEY, detail::CloseRegistryKey>;
using UniqueIcon = Unique<HICON, detail::DestroyIconHandle>;
// A FindFirstFileW search; give it nullptr, not INVALID_HANDLE_VALUE, when none was opened.
using UniqueFind = Unique<HANDLE, detail::CloseFind>;

// A handle that someone else owns: a signature or a field that takes one says by its type
// that it will not delete it. Made from a raw handle or from its owner; passes as the raw
// handle to the system's calls.
template <typename Handle> class Borrowed {
  public:
    Borrowed() = default;
    Borrowed(Handle handle) : handle_(handle) {}
    template <typename Traits>
    Borrowed(const Unique<Handle, Traits>& owner) : handle_(owner.get()) {}
    Handle get() const { return handle_; }
    operator Handle() const { return handle_; }

  private:
    Handle handle_ = nullptr;
};

using BorrowedDc = Borrowed<HDC>;
using BorrowedBitmap = Borrowed<HBITMAP>;
using BorrowedBrush = Borrowed<HBRUSH>;
using BorrowedFont = Borrowed<HFONT>;
using BorrowedRegion = Borrowed<HRGN>;
using BorrowedKey = Borrowed<HKEY>;

// A window's DC from GetDC, released on scope exit.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// SelectObject for one scope: puts the previous object back when it ends.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() {
        if (previous_)
            SelectObject(dc_, previous_);
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace tv
