// Time per frame of composing and pushing the skinned main window's surface, of pushing a ready
// composite, and of the caret blink's re-push, under Wine on a real layered window.
#include "assets/embedded_images.h"
#include "skin/graphics_startup.h"
#include "skin/image_loading.h"
#include "skin/layered_window.h"
#include "skin/scoped_handles.h"
#include "skin/window_properties.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kWarmUpFrames = 20;
constexpr int kFrames = 300;

struct Timing {
    double meanMs = 0;
    double medianMs = 0;
};

// Every frame timed on its own, so that the median shows what a typical frame costs.
Timing TimeFrames(const std::function<void(int)>& frame) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < kWarmUpFrames; ++i) frame(i);
    std::vector<double> times;
    times.reserve(kFrames);
    for (int i = 0; i < kFrames; ++i) {
        LARGE_INTEGER start{}, end{};
        QueryPerformanceCounter(&start);
        frame(i);
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * double(end.QuadPart - start.QuadPart) /
                        double(frequency.QuadPart));
    }
    Timing timing;
    for (double time : times) timing.meanMs += time;
    timing.meanMs /= kFrames;
    std::sort(times.begin(), times.end());
    timing.medianMs = times[kFrames / 2];
    return timing;
}

void Report(const char* what, const Timing& timing) {
    std::printf("%-58s mean %7.3f ms  median %7.3f ms\n", what, timing.meanMs, timing.medianMs);
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateMainWindow() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KestruneComposeBenchmark";
    RegisterClassExA(&windowClass);
    // The main window's place and size on a 1024 x 768 screen.
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "compose benchmark", WS_POPUP, 232,
                                  176, 560, 416, nullptr, nullptr, windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

HWND CreateImageButton(HWND parent, int x, int y, int width, int height, EmbeddedImage normal) {
    HWND button =
        CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, y, width, height,
                        parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    WriteCodeProperty(button, kTypeKey, ControlType::ImageButton);
    WriteHandleProperty(button, kNormalImageKey, LoadImageFromBytes(normal.ToByteBuffer()));
    return button;
}

// A text box as the program skins it: white fill, grey border, black text in bold 14-pixel 宋体.
HWND CreateTextBox(HWND parent, int y, HFONT font, const char* text) {
    HWND box = CreateWindowExA(0, "EDIT", text, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 201, y, 215,
                               30, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    WriteCodeProperty(box, kTypeKey, ControlType::Panel);
    WriteProperty(box, kBackColorKey, 0x00FFFFFF);
    WriteProperty(box, kBackAlphaKey, 255);
    WriteProperty(box, kBorderColorKey, 0x007B8084);
    WriteProperty(box, kBorderAlphaKey, 255);
    WriteProperty(box, kTextColorKey, 0);
    return box;
}

HFONT CreateTextBoxFont() {
    LOGFONTA description{};
    description.lfHeight = -14;
    description.lfWeight = 700;
    description.lfCharSet = 134;
    description.lfOutPrecision = 3;
    description.lfClipPrecision = 2;
    description.lfQuality = 1;
    description.lfPitchAndFamily = 2;
    lstrcpyA(description.lfFaceName, "宋体");
    return CreateFontIndirectA(&description);
}

// Composes without pushing, with only the children of the given kinds skinned.
Timing TimeComposeOnly(HWND window, const std::vector<HWND>& skinned,
                       const std::vector<HWND>& all) {
    std::vector<std::intptr_t> types;
    for (HWND child : all) types.push_back(ReadProperty(child, kTypeKey));
    for (HWND child : all) {
        if (std::find(skinned.begin(), skinned.end(), child) == skinned.end()) {
            RemovePropA(child, kTypeKey);
        }
    }
    const Timing timing = TimeFrames([&](int) {
        GpImage* composite = nullptr;
        ComposeSkin(window, &composite, true);
        GdipDisposeImage(composite);
    });
    for (std::size_t i = 0; i < all.size(); ++i) WriteProperty(all[i], kTypeKey, types[i]);
    return timing;
}

// The steps of a push, taken apart: the DCs and the DIB section, the GDI+ drawing of the
// composite onto it, and UpdateLayeredWindow of a surface that is ready.
void ReportPushParts(HWND window, GpImage* composite) {
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = 560;
    header.bmiHeader.biHeight = 416;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biSizeImage = 560 * 416 * 4;
    const auto freshSurface = [&](bool draw) {
        return TimeFrames([&](int) {
            ScopedWholeWindowDc windowDc(window);
            ScopedDc memoryDc(CreateCompatibleDC(windowDc.get()));
            ScopedBitmap surface(
                CreateDIBSection(memoryDc.get(), &header, DIB_RGB_COLORS, nullptr, nullptr, 0));
            ScopedSelection selection(memoryDc.get(), surface.get());
            if (!draw) return;
            ScopedGpGraphics graphics;
            GdipCreateFromHDC(memoryDc.get(), graphics.put());
            GdipDrawImageRect(graphics.get(), composite, 0, 0, 560, 416);
        });
    };
    Report("  DCs + DIB section, made and freed", freshSurface(false));
    Report("  + GDI+ graphics on it, drawing the composite", freshSurface(true));
    ScopedWholeWindowDc windowDc(window);
    ScopedDc memoryDc(CreateCompatibleDC(windowDc.get()));
    ScopedBitmap surface(
        CreateDIBSection(memoryDc.get(), &header, DIB_RGB_COLORS, nullptr, nullptr, 0));
    ScopedSelection selection(memoryDc.get(), surface.get());
    {
        ScopedGpGraphics graphics;
        GdipCreateFromHDC(memoryDc.get(), graphics.put());
        GdipDrawImageRect(graphics.get(), composite, 0, 0, 560, 416);
    }
    Report("  UpdateLayeredWindow of a ready surface", TimeFrames([&](int) {
               SIZE extent{560, 416};
               POINT source{0, 0};
               BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
               UpdateLayeredWindow(window, windowDc.get(), nullptr, &extent, memoryDc.get(),
                                   &source, 0, &blend, ULW_ALPHA);
           }));
}

// The first steps of a composition: the composite and its graphics, and the background drawn
// stretched (567 x 425 into 560 x 416) or at its own size.
void ReportBackgroundParts(GpImage* background) {
    const auto compose = [&](bool draw, REAL width, REAL height) {
        return TimeFrames([&](int) {
            GpBitmap* bitmap = nullptr;
            GdipCreateBitmapFromScan0(560, 416, 0, PixelFormat32bppARGB, nullptr, &bitmap);
            ScopedGpImage composite(bitmap);
            ScopedGpGraphics graphics;
            GdipGetImageGraphicsContext(composite.get(), graphics.put());
            if (draw) GdipDrawImageRect(graphics.get(), background, 0, 0, width, height);
        });
    };
    Report("  new 560 x 416 composite and its graphics, nothing drawn", compose(false, 0, 0));
    Report("  + background stretched to 560 x 416", compose(true, 560, 416));
    Report("  + background at its own size 567 x 425 (for comparison)", compose(true, 567, 425));
}

}  // namespace

int main() {
    InitSkinModule();
    HWND window = CreateMainWindow();
    SkinWindow skin;
    skin.Attach(window);
    skin.SetBackImageFromBytes(backgroundImageBytes().ToByteBuffer());
    HFONT font = CreateTextBoxFont();
    const std::vector<HWND> buttons = {
        CreateImageButton(window, 458, 33, 61, 35, closeNormalImageBytes()),
        CreateImageButton(window, 296, 294, 141, 58, modifyNormalImageBytes()),
    };
    const std::vector<HWND> boxes = {
        CreateTextBox(window, 187, font, "C:\\Users\\kestrune\\Desktop\\target program.exe"),
        CreateTextBox(window, 227, font, "4D5A90000300000004000000FFFF"),
        CreateTextBox(window, 267, font, "4D5A90000300000004000000FFFE"),
    };
    std::vector<HWND> children = buttons;
    children.insert(children.end(), boxes.begin(), boxes.end());
    std::printf(
        "560 x 416 window: background 567 x 425, 2 image buttons, 3 text boxes with text; "
        "%d frames after %d warm-up frames\n",
        kFrames, kWarmUpFrames);

    // What every change of a child's look costs: a whole composition and its push.
    const Timing composeAndPush = TimeFrames([&](int) { ComposeSkin(window); });
    Report("ComposeSkin + push (not the focus window)", composeAndPush);

    // The push alone, of a composite that is ready.
    GpImage* ready = nullptr;
    ComposeSkin(window, &ready, true);
    const Timing pushAlone = TimeFrames([&](int) { PushLayered(window, ready, false); });
    Report("push alone of a ready composite", pushAlone);

    // The blink: the timer routine re-pushes the kept composite, with the caret every other tick.
    focusWindow = window;
    focusEdit = boxes[1];
    SetFocus(boxes[1]);
    ComposeSkin(window);
    const Timing blink =
        TimeFrames([&](int) { BlinkTimerProc(window, WM_TIMER, kBlinkTimerId, 0); });
    Report("blink re-push (BlinkTimerProc, caret on every other tick)", blink);
    const Timing composeFocus = TimeFrames([&](int) { ComposeSkin(window); });
    Report("ComposeSkin + push of the focus window (kept composite)", composeFocus);
    focusWindow = nullptr;
    focusEdit = nullptr;

    std::printf("ratio compose+push / push alone: %.2f (medians %.2f)\n",
                composeAndPush.meanMs / pushAlone.meanMs,
                composeAndPush.medianMs / pushAlone.medianMs);

    // Where a composition's time goes (composition only, nothing pushed).
    std::printf("breakdown of the composition alone:\n");
    Report("  background only", TimeComposeOnly(window, {}, children));
    Report("  background + 2 image buttons", TimeComposeOnly(window, buttons, children));
    Report("  background + 3 text boxes", TimeComposeOnly(window, boxes, children));
    Report("  everything", TimeComposeOnly(window, children, children));
    for (HWND box : boxes) SetWindowTextA(box, "");
    Report("  everything, text boxes empty", TimeComposeOnly(window, children, children));

    std::printf("breakdown of the background's share:\n");
    ReportBackgroundParts(ReadHandleProperty<GpImage*>(window, kBackImageKey));
    std::printf("breakdown of a push:\n");
    ReportPushParts(window, ready);

    GdipDisposeImage(ready);
    DestroyWindow(window);
    DeleteObject(font);
    return 0;
}
