// Message boxes, through a presenter that tests may replace.
#include "gui/message_box.h"

namespace {
MessageBoxPresenter& InstalledPresenter() {
    static MessageBoxPresenter presenter;
    return presenter;
}
}  // namespace

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
    if (const MessageBoxPresenter& presenter = InstalledPresenter())
        return presenter(owner, text, caption, style);
    return MessageBoxA(owner, text, caption, style);
}

void SetMessageBoxPresenter(MessageBoxPresenter presenter) { InstalledPresenter() = std::move(presenter); }
