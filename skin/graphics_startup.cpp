// The skin module's start-up: GDI+, the time frame dimension GUID and the loading-dialog class.
#include "skin/graphics_startup.h"

#include "skin/gdiplus_flat.h"
#include "skin/image_loading.h"
#include "skin/loading_dialog.h"

#include <cstring>

ULONG_PTR gdiplusToken = 0;
ByteBuffer frameDimensionTime;

namespace {

// GDI+'s FrameDimensionTime.
constexpr const char* kFrameDimensionTimeText = "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}";

}  // namespace

void InitSkinModule() noexcept {
    GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    GdiplusStartup(&gdiplusToken, &input, nullptr);

    if (frameDimensionTime.Allocate(static_cast<std::int32_t>(sizeof(GUID)))) {
        std::memset(frameDimensionTime.Data(), 0, sizeof(GUID));
        const ByteBuffer text = ToWide(kFrameDimensionTimeText);
        if (!text.IsEmpty()) {
            CLSIDFromString(reinterpret_cast<LPCOLESTR>(text.Data()),
                            reinterpret_cast<CLSID*>(frameDimensionTime.Data()));
        }
    }

    RegisterLoadingDialogClass();
}
