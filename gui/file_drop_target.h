// The file-drop target: an OLE IDropTarget that accepts shell file lists (CF_HDROP) on one window.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

using FilesDroppedHandler = void (*)(const std::string& paths);

// Lives as long as the program (it is a member of the application's state), so its reference count
// only tracks OLE's references and never deletes it.
class FileDropTarget final : public IDropTarget {
public:
    explicit FileDropTarget(FilesDroppedHandler onFilesDropped) : onFilesDropped_(onFilesDropped) {}
    FileDropTarget(const FileDropTarget&) = delete;
    FileDropTarget& operator=(const FileDropTarget&) = delete;

    // Registers the target on a window with OLE; a target registers at most once.
    bool Register(HWND window);
    HWND RegisteredWindow() const { return window_; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDropTarget
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                   DWORD* effect) override;

private:
    FilesDroppedHandler onFilesDropped_;
    HWND window_ = nullptr;  // we don't own it
    LONG references_ = 0;
    bool acceptsCurrentDrag_ = false;
};

// The full paths of a shell file list, in the order DragQueryFileA lists them.
std::vector<std::string> DroppedPaths(HDROP drop);

// One path alone; several each followed by CR LF.
std::string JoinDroppedPaths(const std::vector<std::string>& paths);
