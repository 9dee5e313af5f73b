// GDI+ font, string-format and font-family objects, each the sole owner of one GDI+ object.
#include "controls/gdiplus_text_objects.h"

#include "skin/image_loading.h"

#include <cstdlib>
#include <cstring>

// GdipFont

GdipFont::~GdipFont() {
    GdipFont::Delete();
}

void GdipFont::Delete() noexcept {
    if (!font_) return;
    GdipDeleteFont(font_);
    font_ = nullptr;
}

GpStatus GdipFont::CreateFromName(const char* familyName, REAL size, INT style, INT unit) noexcept {
    GdipFontFamily family;
    family.CreateFromName(familyName);
    GpFont* font = nullptr;
    const GpStatus status =
        GdipCreateFont(family.GetHandle(), size, style, static_cast<Unit>(unit), &font);
    SetHandle(font);
    return status;
}

GpStatus GdipFont::CreateFromDC(HDC dc) noexcept {
    GpFont* font = nullptr;
    const GpStatus status = GdipCreateFontFromDC(dc, &font);
    SetHandle(font);
    return status;
}

GpFont* GdipFont::CreateFromWindow(HWND window) noexcept {
    return CreateFromHFont(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
}

GpFont* GdipFont::CreateFromHFont(HFONT gdiFont) noexcept {
    if (!gdiFont) return nullptr;
    // A handle that is no font leaves the description zero: an empty face, so no family, no font.
    LOGFONTA description{};
    GetObjectA(gdiFont, sizeof(description), &description);

    INT style = FontStyleRegular;
    // Only the two usual bold weights count; heavier weights stay regular.
    if (description.lfWeight == FW_SEMIBOLD || description.lfWeight == FW_BOLD) {
        style |= FontStyleBold;
    }
    if (description.lfItalic == 1) style |= FontStyleItalic;
    if (description.lfUnderline == 1) style |= FontStyleUnderline;
    if (description.lfStrikeOut == 1) style |= FontStyleStrikeout;

    // The face may fill all 32 bytes without a terminator.
    char face[sizeof(description.lfFaceName) + 1] = {};
    std::memcpy(face, description.lfFaceName, sizeof(description.lfFaceName));
    GdipFontFamily family;
    family.CreateFromName(face);

    // The GDI height is a character height when negative and a cell height when positive; either
    // way its number becomes the em size in pixels.
    const auto size = static_cast<REAL>(std::labs(description.lfHeight));
    GpFont* font = nullptr;
    GdipCreateFont(family.GetHandle(), size, style, UnitPixel, &font);
    SetHandle(font);
    return font;
}

GpFont* GdipFont::GetHandle() const noexcept {
    return font_;
}

void GdipFont::SetHandle(GpFont* font) noexcept {
    Delete();
    font_ = font;
}

GpStatus GdipFont::GetStyle(INT& style) const noexcept {
    return GdipGetFontStyle(font_, &style);
}

GpStatus GdipFont::GetSize(REAL& size) const noexcept {
    return GdipGetFontSize(font_, &size);
}

GpStatus GdipFont::GetUnit(INT& unit) const noexcept {
    Unit value = UnitWorld;
    const GpStatus status = GdipGetFontUnit(font_, &value);
    unit = static_cast<INT>(value);
    return status;
}

GpStatus GdipFont::GetHeight(const GpGraphics* graphics, REAL& height) const noexcept {
    return GdipGetFontHeight(font_, graphics, &height);
}

// GdipStringFormat

GdipStringFormat::~GdipStringFormat() {
    GdipStringFormat::Delete();
}

void GdipStringFormat::Delete() noexcept {
    if (!format_) return;
    GdipDeleteStringFormat(format_);
    format_ = nullptr;
}

void GdipStringFormat::Create(INT flags, LANGID language) noexcept {
    GpStringFormat* format = nullptr;
    GdipCreateStringFormat(flags, language, &format);
    SetHandle(format);
}

void GdipStringFormat::SetAlign(StringAlignment alignment) noexcept {
    GdipSetStringFormatAlign(format_, alignment);
}

void GdipStringFormat::SetLineAlign(StringAlignment alignment) noexcept {
    GdipSetStringFormatLineAlign(format_, alignment);
}

void GdipStringFormat::SetAligns(StringAlignment alignment,
                                 StringAlignment lineAlignment) noexcept {
    SetAlign(alignment);
    SetLineAlign(lineAlignment);
}

void GdipStringFormat::SetHandle(GpStringFormat* format) noexcept {
    Delete();
    format_ = format;
}

GpStringFormat* GdipStringFormat::GetHandle() const noexcept {
    return format_;
}

// GdipFontFamily

GdipFontFamily::~GdipFontFamily() {
    GdipFontFamily::Delete();
}

void GdipFontFamily::Delete() noexcept {
    if (!family_) return;
    GdipDeleteFontFamily(family_);
    family_ = nullptr;
}

GpStatus GdipFontFamily::CreateFromName(const char* faceName) noexcept {
    const ByteBuffer wide = ToWide(faceName);
    const auto* name = wide.IsEmpty() ? nullptr : reinterpret_cast<const WCHAR*>(wide.Data());
    GpFontFamily* family = nullptr;
    const GpStatus status = GdipCreateFontFamilyFromName(name, nullptr, &family);
    SetHandle(family);
    return status;
}

GpFontFamily* GdipFontFamily::GetHandle() const noexcept {
    return family_;
}

void GdipFontFamily::SetHandle(GpFontFamily* family) noexcept {
    Delete();
    family_ = family;
}
