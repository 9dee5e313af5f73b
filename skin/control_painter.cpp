// Drawing of skinned child controls onto a layered window's composition surface, and its helpers.
#include "skin/control_painter.h"

#include "controls/gdiplus_text_objects.h"
#include "skin/color_and_placement.h"
#include "skin/image_loading.h"
#include "skin/scoped_handles.h"

#include <climits>
#include <memory>
#include <new>

namespace {

// The child's window rectangle (its own border included) in the top-level window's client
// coordinates, which are those of the composition surface.
struct ChildBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

ChildBox ChildBoxIn(HWND topLevel, HWND child) noexcept {
    RECT rect{};
    GetWindowRect(child, &rect);
    POINT corner{rect.left, rect.top};
    ScreenToClient(topLevel, &corner);
    return {corner.x, corner.y, rect.right - rect.left, rect.bottom - rect.top};
}

void FillPanel(GpGraphics* graphics, HWND panel, const ChildBox& box) noexcept {
    const std::int32_t color = ReadInt32Property(panel, kBackColorKey);
    if (color == kNoColor) return;
    ScopedGpSolidFill brush;
    GdipCreateSolidFill(ToArgb(color, ReadInt32Property(panel, kBackAlphaKey)), brush.put());
    GdipFillRectangle(graphics, brush.get(), static_cast<REAL>(box.x), static_cast<REAL>(box.y),
                      static_cast<REAL>(box.width), static_cast<REAL>(box.height));
}

// The outline's right and bottom lines lie on x + w and y + h: one pixel beyond the fill.
void DrawPanelBorder(GpGraphics* graphics, HWND panel, const ChildBox& box) noexcept {
    const std::int32_t color = ReadInt32Property(panel, kBorderColorKey);
    if (color == kNoColor) return;
    ScopedGpPen pen;
    GdipCreatePen1(ToArgb(color, ReadInt32Property(panel, kBorderAlphaKey)), 1.0f, UnitWorld,
                   pen.put());
    GdipDrawRectangle(graphics, pen.get(), static_cast<REAL>(box.x), static_cast<REAL>(box.y),
                      static_cast<REAL>(box.width), static_cast<REAL>(box.height));
}

// The window text exactly as held (edit styles such as ES_PASSWORD are not consulted), in the
// control's own font, left-aligned, vertically centred, never wrapped, always opaque.
void DrawPanelText(GpGraphics* graphics, HWND panel, const ChildBox& box) noexcept {
    const std::string text = ReadWindowText(panel);
    if (text.empty()) return;
    const ByteBuffer wide = ToWide(text.c_str());
    if (wide.IsEmpty()) return;
    const INT length = wide.Length() / 2 - 1;
    const RectF layout(static_cast<REAL>(box.x + 2), static_cast<REAL>(box.y + 2),
                       static_cast<REAL>(box.width - 4), static_cast<REAL>(box.height - 4));
    GdipFont font;
    font.CreateFromWindow(panel);
    GdipStringFormat format;
    format.Create(StringFormatFlagsNoWrap | StringFormatFlagsNoFitBlackBox, LANG_NEUTRAL);
    format.SetAligns(StringAlignmentNear, StringAlignmentCenter);
    ScopedGpSolidFill brush;
    GdipCreateSolidFill(ToArgb(ReadInt32Property(panel, kTextColorKey), 255), brush.put());
    GdipDrawString(graphics, reinterpret_cast<const WCHAR*>(wide.Data()), length, font.GetHandle(),
                   &layout, format.GetHandle(), brush.get());
}

}  // namespace

void DrawSkinnedChild(HWND topLevel, HWND child, GpGraphics* graphics) noexcept {
    const ChildBox box = ChildBoxIn(topLevel, child);
    const auto type = ReadCodeProperty<ControlType>(child, kTypeKey);
    const auto backType = ReadCodeProperty<BackType>(child, kBackTypeKey);

    GpImage* image = nullptr;
    switch (type) {
        case ControlType::Picture:
            image = ReadHandleProperty<GpImage*>(child, kBackImageKey);
            break;
        case ControlType::ImageButton:
            image = StateImage(child, ReadCodeProperty<DrawState>(child, kDrawStateKey));
            break;
        case ControlType::Panel:
            image = ReadHandleProperty<GpImage*>(child, kBackImageKey);
            FillPanel(graphics, child, box);  // the fill lies under the image
            break;
        default:
            return;
    }
    if (image) DrawImagePlaced(graphics, image, box.x, box.y, box.width, box.height, backType);
    if (type == ControlType::Panel) {
        DrawPanelBorder(graphics, child, box);
        DrawPanelText(graphics, child, box);
    }
}

void DrawImagePlaced(GpGraphics* graphics, GpImage* image, std::int32_t x, std::int32_t y,
                     std::int32_t width, std::int32_t height, BackType backType) noexcept {
    REAL imageWidth = 0;
    REAL imageHeight = 0;
    GdipGetImageDimension(image, &imageWidth, &imageHeight);
    auto left = static_cast<REAL>(x);
    auto top = static_cast<REAL>(y);
    auto drawnWidth = static_cast<REAL>(width);
    auto drawnHeight = static_cast<REAL>(height);
    switch (backType) {
        case BackType::Stretch:
            break;
        case BackType::Fit: {
            std::int32_t fitWidth = 0;
            std::int32_t fitHeight = 0;
            FitInBox(static_cast<std::int32_t>(imageWidth), static_cast<std::int32_t>(imageHeight),
                     width, height, fitWidth, fitHeight);
            // Truncated halves: an odd spare pixel goes to the right or the bottom.
            left = static_cast<REAL>(x + (width - fitWidth) / 2);
            top = static_cast<REAL>(y + (height - fitHeight) / 2);
            drawnWidth = static_cast<REAL>(fitWidth);
            drawnHeight = static_cast<REAL>(fitHeight);
            break;
        }
        default:
            // Natural: nothing may spill out of the control, so a larger image is cut to its
            // top-left control-sized part.
            if (static_cast<double>(imageWidth) - width > 0.0000001 ||
                static_cast<double>(imageHeight) - height > 0.0000001) {
                GdipDrawImagePointRect(graphics, image, left, top, 0, 0, drawnWidth, drawnHeight,
                                       UnitPixel);
                return;
            }
            drawnWidth = imageWidth;
            drawnHeight = imageHeight;
            break;
    }
    GdipDrawImageRect(graphics, image, left, top, drawnWidth, drawnHeight);
}

GpImage* StateImage(HWND control, DrawState state) noexcept {
    const char* key = nullptr;
    switch (state) {
        case DrawState::Hot:
            key = kHotImageKey;
            break;
        case DrawState::Pressed:
            key = kPressedImageKey;
            break;
        case DrawState::Disabled:
            key = kDisabledImageKey;
            break;
        default:
            break;
    }
    GpImage* image = key ? ReadHandleProperty<GpImage*>(control, key) : nullptr;
    return image ? image : ReadHandleProperty<GpImage*>(control, kNormalImageKey);
}

std::string ReadWindowText(HWND window) noexcept {
    const int length = GetWindowTextLengthA(window);
    if (length <= 0 || length == INT_MAX) return {};
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<std::size_t>(length) + 1]);
    if (!buffer) return {};
    buffer[0] = '\0';
    // The length may overestimate (double-byte texts): the text ends at its first zero byte.
    GetWindowTextA(window, buffer.get(), length + 1);
    try {
        return std::string(buffer.get());
    } catch (const std::bad_alloc&) {
        return {};
    }
}
