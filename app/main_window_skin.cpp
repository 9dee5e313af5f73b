// The skin's share of the program's life: its objects, the skinning of the main window, its release.
#include "app/main_window_skin.h"

#include "app/main_form.h"
#include "assets/embedded_images.h"
#include "controls/image_button.h"
#include "controls/panel.h"
#include "skin/graphics_startup.h"
#include "skin/layered_window.h"

std::unique_ptr<SkinWindow> mainSkin;
std::unique_ptr<PngImageButton> closeButtonSkin;
std::unique_ptr<PngImageButton> modifyButtonSkin;
std::unique_ptr<PngPanel> boxSkin;

void CreateSkinObjects() {
    mainSkin = std::make_unique<SkinWindow>();
    closeButtonSkin = std::make_unique<PngImageButton>();
    modifyButtonSkin = std::make_unique<PngImageButton>();
    boxSkin = std::make_unique<PngPanel>();
}

void SkinMainWindow() {
    if (!mainSkin || !closeButtonSkin || !modifyButtonSkin || !boxSkin) return;
    // Nothing here needs a message to be processed: the window is not shown yet.
    mainSkin->Attach(MainWindow());
    mainSkin->SetBackImageFromBytes(backgroundImageBytes().ToByteBuffer());

    // The first attached control also hooks the main window (ParentHookProc).
    closeButtonSkin->AttachButton(CloseButton());
    const ByteBuffer closeNormal = closeNormalImageBytes().ToByteBuffer();
    const ByteBuffer closeHot = closeHotImageBytes().ToByteBuffer();
    // Hot and pressed get an image each, loaded separately from the same bytes.
    closeButtonSkin->SetStateImagesFromBytes(closeNormal, closeHot, closeHot);

    modifyButtonSkin->AttachButton(ModifyButton());
    const ByteBuffer modifyNormal = modifyNormalImageBytes().ToByteBuffer();
    const ByteBuffer modifyHot = modifyHotImageBytes().ToByteBuffer();
    const ByteBuffer modifyPressed = modifyPressedImageBytes().ToByteBuffer();
    modifyButtonSkin->SetStateImagesFromBytes(modifyNormal, modifyHot, modifyPressed);

    // One panel object takes the three boxes in turn; from then on their properties carry them.
    boxSkin->AttachPanel(PathBox());
    boxSkin->AttachPanel(PatternBox());
    boxSkin->AttachPanel(ReplacementBox());

    mainSkin->ApplySkin();
}

void ReleaseSkin() {
    if (!frameDimensionTime.IsEmpty()) frameDimensionTime.Free();
    // Each object's destructor does its Release work, which for these classes is nothing.
    mainSkin.reset();
    closeButtonSkin.reset();
    modifyButtonSkin.reset();
    boxSkin.reset();
}
