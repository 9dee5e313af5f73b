// The file-drop target: an OLE IDropTarget that accepts shell file lists (CF_HDROP) on one window.
#include "gui/file_drop_target.h"

namespace {

FORMATETC FileListFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

bool OffersFileList(IDataObject* data) {
    FORMATETC format = FileListFormat();
    return data && data->QueryGetData(&format) == S_OK;
}

}  // namespace

std::vector<std::string> DroppedPaths(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        const UINT length = DragQueryFileA(drop, index, nullptr, 0);
        std::string path(length + 1, '\0');
        const UINT copied = DragQueryFileA(drop, index, path.data(), length + 1);
        path.resize(copied);
        paths.push_back(std::move(path));
    }
    return paths;
}

std::string JoinDroppedPaths(const std::vector<std::string>& paths) {
    if (paths.size() == 1) return paths.front();
    std::string text;
    for (const std::string& path : paths) text += path + "\r\n";
    return text;
}

bool FileDropTarget::Register(HWND window) {
    if (window_ || !window) return false;
    if (FAILED(RegisterDragDrop(window, this))) return false;
    window_ = window;
    return true;
}

HRESULT FileDropTarget::QueryInterface(REFIID id, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FileDropTarget::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
ULONG FileDropTarget::Release() { return static_cast<ULONG>(InterlockedDecrement(&references_)); }

HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    acceptsCurrentDrag_ = OffersFileList(data);
    if (effect) *effect = acceptsCurrentDrag_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    if (effect) *effect = acceptsCurrentDrag_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
    acceptsCurrentDrag_ = false;
    return S_OK;
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    acceptsCurrentDrag_ = false;
    if (effect) *effect = DROPEFFECT_NONE;
    FORMATETC format = FileListFormat();
    STGMEDIUM medium{};
    if (!data || data->GetData(&format, &medium) != S_OK) return S_OK;
    std::vector<std::string> paths = DroppedPaths(static_cast<HDROP>(medium.hGlobal));
    ReleaseStgMedium(&medium);
    if (paths.empty()) return S_OK;
    if (effect) *effect = DROPEFFECT_COPY;
    // The handler runs on this thread (OLE calls the target on the thread that registered it); no
    // exception may travel back into OLE.
    try {
        if (onFilesDropped_) onFilesDropped_(JoinDroppedPaths(paths));
    } catch (...) {
    }
    return S_OK;
}
