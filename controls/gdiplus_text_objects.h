// GDI+ font, string-format and font-family objects, each the sole owner of one GDI+ object.
#pragma once

#include "skin/gdiplus_flat.h"

// Each object owns its handle (none when empty): Delete and destruction delete it, SetHandle
// deletes it before taking the new one, and GetHandle lends it. The objects are never copied.

class GdipFont final {
  public:
    GdipFont() noexcept = default;
    virtual ~GdipFont();
    GdipFont(const GdipFont&) = delete;
    GdipFont& operator=(const GdipFont&) = delete;

    virtual void Delete() noexcept;
    // A font of an installed family; the previous font is deleted whatever the creation returned.
    virtual GpStatus CreateFromName(const char* familyName, REAL size, INT style,
                                    INT unit) noexcept;
    virtual GpStatus CreateFromDC(HDC dc) noexcept;
    // The font the window uses itself (WM_GETFONT); 0 (object unchanged) when it answers 0.
    virtual GpFont* CreateFromWindow(HWND window) noexcept;
    // The GDI font's face, bold for weights 600 and 700, italic, underline and strikeout flags of
    // 1, and |lfHeight| pixels; 0 (object unchanged) for no font.
    virtual GpFont* CreateFromHFont(HFONT font) noexcept;
    virtual GpFont* GetHandle() const noexcept;
    virtual void SetHandle(GpFont* font) noexcept;
    virtual GpStatus GetStyle(INT& style) const noexcept;
    virtual GpStatus GetSize(REAL& size) const noexcept;
    virtual GpStatus GetUnit(INT& unit) const noexcept;
    // The line spacing on that graphics.
    virtual GpStatus GetHeight(const GpGraphics* graphics, REAL& height) const noexcept;

  private:
    GpFont* font_ = nullptr;
};

class GdipStringFormat final {
  public:
    GdipStringFormat() noexcept = default;
    virtual ~GdipStringFormat();
    GdipStringFormat(const GdipStringFormat&) = delete;
    GdipStringFormat& operator=(const GdipStringFormat&) = delete;

    virtual void Delete() noexcept;
    // A failed creation leaves the object empty.
    virtual void Create(INT flags = 0, LANGID language = 0) noexcept;
    virtual void SetAlign(StringAlignment alignment) noexcept;
    virtual void SetLineAlign(StringAlignment alignment) noexcept;
    virtual void SetAligns(StringAlignment alignment, StringAlignment lineAlignment) noexcept;
    virtual void SetHandle(GpStringFormat* format) noexcept;
    virtual GpStringFormat* GetHandle() const noexcept;

  private:
    GpStringFormat* format_ = nullptr;
};

class GdipFontFamily final {
  public:
    GdipFontFamily() noexcept = default;
    virtual ~GdipFontFamily();
    GdipFontFamily(const GdipFontFamily&) = delete;
    GdipFontFamily& operator=(const GdipFontFamily&) = delete;

    virtual void Delete() noexcept;
    // An installed family by its ANSI face name; the previous family is deleted in any case.
    virtual GpStatus CreateFromName(const char* faceName) noexcept;
    virtual GpFontFamily* GetHandle() const noexcept;
    virtual void SetHandle(GpFontFamily* family) noexcept;

  private:
    GpFontFamily* family_ = nullptr;
};
