// Scope-bound owners of the Windows and GDI+ handles that a routine creates and must release before it returns.
#pragma once

#include "skin/gdiplus_flat.h"

#include <utility>

// One owner template: non-copyable, movable, releasing its handle (if any) when it goes out of scope.
template <typename Traits>
class ScopedHandle {
public:
    using Handle = typename Traits::Handle;

    ScopedHandle() noexcept = default;
    explicit ScopedHandle(Handle handle) noexcept : handle_(handle) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }
    // Gives up ownership without releasing.
    Handle release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Handle handle = Traits::Invalid()) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (old != Traits::Invalid()) Traits::Close(old);
    }
    // For functions that return a new handle through an out-parameter.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::Invalid();
};

// Traits for handles whose "none" value is null and that one function releases.
template <typename HandleType, auto CloseFunction>
struct NullIsNoneTraits {
    using Handle = HandleType;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { CloseFunction(handle); }
};

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { CloseHandle(handle); }
};

inline void DeleteGdiObject(HGDIOBJ object) noexcept { DeleteObject(object); }

// Kernel and GDI.
using ScopedFile = ScopedHandle<FileHandleTraits>;
using ScopedKernelHandle = ScopedHandle<NullIsNoneTraits<HANDLE, &CloseHandle>>;
using ScopedGlobalMemory = ScopedHandle<NullIsNoneTraits<HGLOBAL, &GlobalFree>>;
using ScopedDc = ScopedHandle<NullIsNoneTraits<HDC, &DeleteDC>>;  // memory DCs
using ScopedBitmap = ScopedHandle<NullIsNoneTraits<HBITMAP, &DeleteGdiObject>>;
using ScopedBrush = ScopedHandle<NullIsNoneTraits<HBRUSH, &DeleteGdiObject>>;
using ScopedPen = ScopedHandle<NullIsNoneTraits<HPEN, &DeleteGdiObject>>;
using ScopedFont = ScopedHandle<NullIsNoneTraits<HFONT, &DeleteGdiObject>>;
using ScopedRegion = ScopedHandle<NullIsNoneTraits<HRGN, &DeleteGdiObject>>;

// GDI+.
using ScopedGpGraphics = ScopedHandle<NullIsNoneTraits<GpGraphics*, &GdipDeleteGraphics>>;
using ScopedGpImage = ScopedHandle<NullIsNoneTraits<GpImage*, &GdipDisposeImage>>;
using ScopedGpBrush = ScopedHandle<NullIsNoneTraits<GpBrush*, &GdipDeleteBrush>>;
using ScopedGpSolidFill = ScopedHandle<NullIsNoneTraits<GpSolidFill*, &GdipDeleteBrush>>;
using ScopedGpPen = ScopedHandle<NullIsNoneTraits<GpPen*, &GdipDeletePen>>;

// A DC of a window, given back with ReleaseDC.
class ScopedWindowDc {
public:
    explicit ScopedWindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~ScopedWindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;  // we don't own it
    HDC dc_;
};

// The DC of a whole window, non-client area included (GetWindowDC), given back with ReleaseDC.
class ScopedWholeWindowDc {
public:
    explicit ScopedWholeWindowDc(HWND window) noexcept : window_(window), dc_(GetWindowDC(window)) {}
    ~ScopedWholeWindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    ScopedWholeWindowDc(const ScopedWholeWindowDc&) = delete;
    ScopedWholeWindowDc& operator=(const ScopedWholeWindowDc&) = delete;
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;  // we don't own it
    HDC dc_;
};

// BeginPaint ... EndPaint.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~ScopedPaint() { EndPaint(window_, &paint_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    HDC get() const noexcept { return dc_; }
    const PAINTSTRUCT& paint() const noexcept { return paint_; }

private:
    HWND window_;  // we don't own it
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// SelectObject into a DC, putting the previous object back at the end of the scope.
class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelection() {
        if (previous_) SelectObject(dc_, previous_);
    }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};
