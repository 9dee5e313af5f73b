// Test doubles for OLE drag and drop: a data object holding a shell file list or text, a no-op target.
#include "tests/gui/drop_data_support.h"

#include <shlobj.h>

#include <cstring>

TestDataObject TestDataObject::FileList(const std::vector<std::string>& paths) {
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = FALSE;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    for (const std::string& path : paths) bytes += path + '\0';
    bytes += '\0';
    return TestDataObject(CF_HDROP, bytes);
}

TestDataObject TestDataObject::Text(const std::string& text) {
    return TestDataObject(CF_TEXT, text + '\0');
}

TestDataObject::~TestDataObject() = default;
TestDataObject::TestDataObject(TestDataObject&& other) noexcept
    : format_(other.format_), bytes_(std::move(other.bytes_)) {}

HRESULT TestDataObject::QueryInterface(REFIID id, void** object) {
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDataObject)) {
        *object = static_cast<IDataObject*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT TestDataObject::QueryGetData(FORMATETC* format) {
    return format && format->cfFormat == format_ && (format->tymed & TYMED_HGLOBAL) ? S_OK
                                                                                    : DV_E_FORMATETC;
}

HRESULT TestDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes_.size());
    std::memcpy(GlobalLock(memory), bytes_.data(), bytes_.size());
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT TestDropTarget::QueryInterface(REFIID id, void** object) {
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT TestDropTarget::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) {
    *effect = DROPEFFECT_NONE;
    return S_OK;
}
HRESULT TestDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    *effect = DROPEFFECT_NONE;
    return S_OK;
}
HRESULT TestDropTarget::Drop(IDataObject*, DWORD, POINTL, DWORD* effect) {
    *effect = DROPEFFECT_NONE;
    return S_OK;
}

DWORD DropFileList(IDropTarget& target, const std::vector<std::string>& paths) {
    TestDataObject data = TestDataObject::FileList(paths);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    target.DragEnter(&data, MK_LBUTTON, {0, 0}, &effect);
    target.DragOver(MK_LBUTTON, {0, 0}, &effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    target.Drop(&data, 0, {0, 0}, &effect);
    return effect;
}
