// The base of the skinned child controls, the hook on their parent and the helpers they share.
#include "controls/png_control.h"

#include "skin/control_painter.h"
#include "skin/gdiplus_flat.h"
#include "skin/scoped_handles.h"
#include "skin/window_bounds.h"

#include <commctrl.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

HWND toolTipWindow = nullptr;

namespace {

// The tool record is TTTOOLINFOA up to and including lParam, without the trailing reserved
// pointer: the size every comctl32 version accepts. That is 44 bytes on 32-bit Windows and 64 on
// 64-bit (the same fields, pointer-wide).
constexpr UINT kToolRecordSize = offsetof(TTTOOLINFOA, lParam) + sizeof(LPARAM);
static_assert(sizeof(void*) != 4 || kToolRecordSize == 44);
static_assert(sizeof(void*) != 8 || kToolRecordSize == 64);

constexpr LPARAM kMaximumTipWidth = 1024;

bool ChangeLong(HWND window, int index, DWORD clearBits, DWORD setBits,
                UINT extraPositionFlags) noexcept {
    const auto old = static_cast<DWORD>(GetWindowLongA(window, index));
    const DWORD changed = (old & ~clearBits) | setBits;
    if (changed == old) return false;
    SetWindowLongA(window, index, static_cast<LONG>(changed));
    if (extraPositionFlags != 0) {
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | extraPositionFlags);
    }
    return true;
}

void OnParentNotify(LPARAM lParam) noexcept {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr || header->code != static_cast<UINT>(NM_CUSTOMDRAW)) return;
    if (ReadCodeProperty<ControlType>(header->hwndFrom, kTypeKey) == ControlType::ImageButton) {
        RepaintFromCache(header->hwndFrom);
    }
}

void OnParentCommand(WPARAM wParam, LPARAM lParam) noexcept {
    const auto sender = reinterpret_cast<HWND>(lParam);
    if (ReadCodeProperty<ControlType>(sender, kTypeKey) != ControlType::Panel) return;
    const WORD code = HIWORD(wParam);
    // Text that changed or scrolled leaves stale pixels behind: the panel repaints from its cache.
    if (code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE) {
        InvalidateRect(sender, nullptr, TRUE);
    }
}

// A skinned control draws its text over its parent's pixels: no background brush, transparent
// text background and, for a panel, its own text colour. None for an unskinned control.
std::optional<LRESULT> OnParentControlColor(WPARAM wParam, LPARAM lParam) noexcept {
    const auto control = reinterpret_cast<HWND>(lParam);
    const auto type = ReadCodeProperty<ControlType>(control, kTypeKey);
    if (type == ControlType::None) return std::nullopt;
    const auto dc = reinterpret_cast<HDC>(wParam);
    if (type == ControlType::Panel) {
        SetTextColor(dc, static_cast<COLORREF>(ReadInt32Property(control, kTextColorKey)));
    }
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

// Tooltips live in the common controls: their classes exist once these are initialised.
void CreateToolTipWindow() noexcept {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    toolTipWindow = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, "", 0, 0, 0, 0, 0, nullptr,
                                    nullptr, nullptr, nullptr);
    // Tips wrap at 1024 pixels, so a text may hold several lines.
    SendMessageA(toolTipWindow, TTM_SETMAXTIPWIDTH, 0, kMaximumTipWidth);
}

std::unique_ptr<char[]> CopyText(const char* text) noexcept {
    if (text == nullptr) text = "";
    const std::size_t size = std::strlen(text) + 1;
    std::unique_ptr<char[]> copy(new (std::nothrow) char[size]);
    if (copy) std::memcpy(copy.get(), text, size);
    return copy;
}

}  // namespace

void HookWindowProc(HWND window, WNDPROC procedure) noexcept {
    if (ReadHandleProperty<WNDPROC>(window, kSavedProcKey) != nullptr) return;
    const auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    WriteHandleProperty(window, kSavedProcKey, previous);
}

LRESULT CallSavedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    const auto saved = ReadHandleProperty<WNDPROC>(window, kSavedProcKey);
    if (saved == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(saved, window, message, wParam, lParam);
}

bool ChangeStyle(HWND window, DWORD clearBits, DWORD setBits, UINT extraPositionFlags) noexcept {
    return ChangeLong(window, GWL_STYLE, clearBits, setBits, extraPositionFlags);
}

bool ChangeExStyle(HWND window, DWORD clearBits, DWORD setBits, UINT extraPositionFlags) noexcept {
    return ChangeLong(window, GWL_EXSTYLE, clearBits, setBits, extraPositionFlags);
}

LRESULT CALLBACK ParentHookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_NOTIFY:
            // The button is repainted before the parent's own procedure sees the notification.
            OnParentNotify(lParam);
            break;
        case WM_COMMAND:
            OnParentCommand(wParam, lParam);
            break;
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
            // WM_CTLCOLORSCROLLBAR is not among them: scroll bars keep their own colours.
            if (const auto brush = OnParentControlColor(wParam, lParam)) return *brush;
            break;
        default:
            break;
    }
    return CallSavedProc(window, message, wParam, lParam);
}

void RepaintFromCache(HWND control, HDC dc) noexcept {
    const auto cache = ReadHandleProperty<HBITMAP>(control, kCacheBitmapKey);
    if (cache == nullptr) return;
    RECT bounds{};
    GetWindowRect(control, &bounds);
    const std::int32_t width = bounds.right - bounds.left;
    const std::int32_t height = bounds.bottom - bounds.top;

    std::optional<ScopedWholeWindowDc> windowDc;
    HDC target = dc;
    if (target == nullptr) {
        windowDc.emplace(control);
        target = windowDc->get();
    }

    // Everything is drawn off screen first and copied in one blit, so the control never shows
    // the bare background between the two steps.
    ScopedDc memory(CreateCompatibleDC(target));
    ScopedBitmap bitmap(CreateCompatibleBitmap(target, width, height));
    ScopedSelection selection(memory.get(), bitmap.get());
    {
        ScopedGpGraphics graphics;
        GdipCreateFromHDC(memory.get(), graphics.put());
        GpBitmap* background = nullptr;
        GdipCreateBitmapFromHBITMAP(cache, nullptr, &background);
        ScopedGpImage backgroundOwner(background);
        if (background != nullptr) {
            GdipDrawImageRect(graphics.get(), background, 0, 0, static_cast<REAL>(width),
                              static_cast<REAL>(height));
        }
        if (GpImage* image =
                StateImage(control, ReadCodeProperty<DrawState>(control, kDrawStateKey))) {
            DrawImagePlaced(graphics.get(), image, 0, 0, width, height,
                            ReadCodeProperty<BackType>(control, kBackTypeKey));
        }
        // The graphics goes before the blit, so that all it drew has reached the bitmap.
    }
    BitBlt(target, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

PngControl::~PngControl() = default;

bool PngControl::Attach(HWND control) noexcept {
    if (!IsWindow(control)) return false;
    const HWND parent = GetParent(control);
    // A parent that is a skinned control itself is served by its own procedure.
    if (ReadCodeProperty<ControlType>(parent, kTypeKey) == ControlType::None) {
        HookWindowProc(parent, ParentHookProc);
    }
    // The control is drawn over its parent's pixels, so neither may clip the other away.
    ChangeStyle(control, WS_CLIPSIBLINGS);
    ChangeExStyle(control, 0, WS_EX_TRANSPARENT);
    ChangeStyle(parent, WS_CLIPCHILDREN);
    window_ = control;
    return true;
}

HWND PngControl::GetHandle() const noexcept {
    return window_;
}

bool PngControl::SetProperty(const char* name, std::intptr_t value) noexcept {
    return WriteProperty(window_, name, value);
}

std::intptr_t PngControl::GetProperty(const char* name) const noexcept {
    return ReadProperty(window_, name);
}

LRESULT PngControl::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return ::SendMessageA(window_, message, wParam, lParam);
}

void PngControl::SetToolTip(const char* text, std::optional<std::int32_t> nearPointer) noexcept {
    // The tooltip keeps its own copy of the text; ours only has to outlive the message.
    const std::unique_ptr<char[]> copy = CopyText(text);
    if (!copy) return;
    if (toolTipWindow == nullptr) CreateToolTipWindow();

    TTTOOLINFOA tool{};
    tool.cbSize = kToolRecordSize;
    tool.hwnd = window_;
    tool.uId = 0;
    tool.lpszText = copy.get();
    if (GetProperty(kToolTipsKey) == 0) {
        SetProperty(kToolTipsKey, 1);
        tool.uFlags = TTF_SUBCLASS;
        if ((nearPointer.value_or(1) & 1) == 0) tool.uFlags |= TTF_CENTERTIP;
        GetClientRect(window_, &tool.rect);
        ::SendMessageA(toolTipWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    } else {
        // The rectangle and the flags stay as they were when the tool was added.
        ::SendMessageA(toolTipWindow, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void PngControl::SetBounds(std::optional<std::int32_t> x, std::optional<std::int32_t> y,
                           std::optional<std::int32_t> width, std::optional<std::int32_t> height,
                           bool noRedraw) noexcept {
    RECT bounds{};
    GetWindowRect(window_, &bounds);
    const UINT flags = SetBoundsFlags(x, y, width, height, noRedraw);
    // SetWindowPos places a child in its parent's client coordinates and any other window in
    // screen coordinates (GetParent of a pop-up is its owner, whose coordinates do not apply).
    POINT corner{bounds.left, bounds.top};
    if ((GetWindowLongA(window_, GWL_STYLE) & WS_CHILD) != 0) {
        ScreenToClient(GetParent(window_), &corner);
    }
    SetWindowPos(window_, nullptr, x.value_or(corner.x), y.value_or(corner.y),
                 width.value_or(bounds.right - bounds.left),
                 height.value_or(bounds.bottom - bounds.top), flags);
}

HWND PngControl::GetHwnd() const noexcept {
    return GetHandle();
}

bool PngControl::IsValid() const noexcept {
    return IsWindow(window_) == TRUE;
}

void PngControl::Invalidate() noexcept {
    if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
}

LRESULT PngControl::SendMsg(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return SendMessage(message, wParam, lParam);
}
