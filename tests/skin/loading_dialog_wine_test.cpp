// Tests of the loading-dialog class: what a window releases when destroyed, in which order, and
// the drag by its surface.
#include "skin/loading_dialog.h"

#include "skin/gdiplus_flat.h"
#include "skin/window_properties.h"
#include "tests/skin/skin_core_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using skin_core_test::EncodePng;
using skin_core_test::ScopedWindow;
using skin_core_test::SkinModuleTest;

// A stream that hands every call to an HGLOBAL stream and reports each release, so a test can see
// the moment GDI+ lets go of an image's stream (when the image is disposed).
class ObservedStream final : public IStream {
  public:
    ObservedStream(IStream* inner, std::function<void(ULONG)> onRelease)
        : inner_(inner), onRelease_(std::move(onRelease)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object) return E_POINTER;
        if (id == IID_IUnknown || id == IID_ISequentialStream || id == IID_IStream) {
            *object = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (onRelease_) onRelease_(left);
        if (left == 0) {
            inner_->Release();
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE Read(void* data, ULONG size, ULONG* read) override {
        return inner_->Read(data, size, read);
    }
    HRESULT STDMETHODCALLTYPE Write(const void* data, ULONG size, ULONG* written) override {
        return inner_->Write(data, size, written);
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                   ULARGE_INTEGER* position) override {
        return inner_->Seek(move, origin, position);
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override {
        return inner_->SetSize(size);
    }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER size, ULARGE_INTEGER* read,
                                     ULARGE_INTEGER* written) override {
        return inner_->CopyTo(target, size, read, written);
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override { return inner_->Commit(flags); }
    HRESULT STDMETHODCALLTYPE Revert() override { return inner_->Revert(); }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size,
                                         DWORD type) override {
        return inner_->LockRegion(offset, size, type);
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size,
                                           DWORD type) override {
        return inner_->UnlockRegion(offset, size, type);
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* statistics, DWORD flags) override {
        return inner_->Stat(statistics, flags);
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override { return inner_->Clone(clone); }

  private:
    ~ObservedStream() = default;
    ULONG references_ = 1;
    IStream* inner_;
    std::function<void(ULONG)> onRelease_;
};

DWORD WINAPI WaitForStop(void* stop) {
    WaitForSingleObject(static_cast<HANDLE>(stop), INFINITE);
    return 7;
}

// A worker that waits until it is told to end (or is terminated).
struct Worker {
    HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, WaitForStop, stop, 0, nullptr);

    Worker() = default;
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;
    ~Worker() { CloseHandle(stop); }  // the thread handle goes to whoever ends the thread
    bool Running() const { return WaitForSingleObject(thread, 0) == WAIT_TIMEOUT; }
};

bool IsLiveMoveableBlock(HGLOBAL memory) {
    return GlobalFlags(memory) != GMEM_INVALID_HANDLE;
}

// The window's resources: a worker, the PNG bytes in moveable memory and an image loaded from a
// stream over that memory.
struct LoadingResources {
    Worker worker;
    HGLOBAL memory = nullptr;
    GpImage* image = nullptr;
    bool imageLetGo = false;  // GDI+ released the stream: the image is gone
    bool workerEndedBeforeImage = false;
    bool memoryLiveAtImage = false;
    // Our own handle on the worker, still open after the window has closed its handle.
    HANDLE workerObserver = nullptr;

    LoadingResources() {
        DuplicateHandle(GetCurrentProcess(), worker.thread, GetCurrentProcess(), &workerObserver, 0,
                        FALSE, DUPLICATE_SAME_ACCESS);
        const ByteBuffer png = EncodePng(4, 4, std::vector<std::uint32_t>(16, 0xFF112233u));
        memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(png.Length()));
        std::memcpy(GlobalLock(memory), png.Data(), static_cast<std::size_t>(png.Length()));
        GlobalUnlock(memory);
        IStream* inner = nullptr;
        CreateStreamOnHGlobal(memory, FALSE, &inner);
        auto* stream = new ObservedStream(inner, [this](ULONG left) {
            if (left != 0 || !image) return;
            imageLetGo = true;
            workerEndedBeforeImage = WaitForSingleObject(workerObserver, 0) == WAIT_OBJECT_0;
            memoryLiveAtImage = IsLiveMoveableBlock(memory);
        });
        GdipLoadImageFromStream(stream, &image);
        stream->Release();  // from now on the image holds the only reference
    }
    LoadingResources(const LoadingResources&) = delete;
    LoadingResources& operator=(const LoadingResources&) = delete;
    ~LoadingResources() { CloseHandle(workerObserver); }
};

class LoadingDialogTest : public SkinModuleTest {
  protected:
    ScopedWindow CreateLoadingDialog(DWORD style = WS_POPUP) {
        return ScopedWindow(CreateWindowExA(0, kLoadingDialogClassName, "loading", style, 200, 200,
                                            100, 80, nullptr, nullptr, GetModuleHandleA(nullptr),
                                            nullptr));
    }
};

TEST_F(LoadingDialogTest, AWindowWithoutPropertiesReleasesNothing) {
    LoadingResources resources;
    ASSERT_NE(resources.image, nullptr);
    ScopedWindow dialog = CreateLoadingDialog();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(DestroyWindow(dialog.release()));

    EXPECT_TRUE(resources.worker.Running());
    EXPECT_TRUE(IsLiveMoveableBlock(resources.memory));
    EXPECT_FALSE(resources.imageLetGo);
    UINT width = 0;
    EXPECT_EQ(GdipGetImageWidth(resources.image, &width), Ok);
    EXPECT_EQ(width, 4u);

    SetEvent(resources.worker.stop);
    WaitForSingleObject(resources.worker.thread, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeThread(resources.worker.thread, &exitCode);
    EXPECT_EQ(exitCode, 7u) << "the worker ended by itself";
    CloseHandle(resources.worker.thread);
    GdipDisposeImage(resources.image);
    EXPECT_TRUE(resources.imageLetGo);
    GlobalFree(resources.memory);
}

TEST_F(LoadingDialogTest, DestructionEndsTheThreadThenDisposesTheImageThenFreesTheMemory) {
    LoadingResources resources;
    ASSERT_NE(resources.image, nullptr);
    ASSERT_TRUE(resources.worker.Running());
    ScopedWindow dialog = CreateLoadingDialog();
    ASSERT_TRUE(dialog);
    WriteHandleProperty(dialog.get(), kThreadKey, resources.worker.thread);
    WriteHandleProperty(dialog.get(), kImageKey, resources.image);
    WriteHandleProperty(dialog.get(), kStreamKey, resources.memory);
    ASSERT_TRUE(DestroyWindow(dialog.release()));

    EXPECT_EQ(WaitForSingleObject(resources.workerObserver, 0), WAIT_OBJECT_0);
    DWORD exitCode = 7;
    GetExitCodeThread(resources.workerObserver, &exitCode);
    EXPECT_EQ(exitCode, 0u) << "terminated with exit code 0";
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(resources.worker.thread, &flags)) << "the handle is closed";

    EXPECT_TRUE(resources.imageLetGo) << "the image is disposed";
    EXPECT_TRUE(resources.workerEndedBeforeImage);
    EXPECT_TRUE(resources.memoryLiveAtImage) << "the memory outlives the image";
    EXPECT_FALSE(IsLiveMoveableBlock(resources.memory)) << "the memory is freed";
}

void DispatchPending(HWND window) {
    MSG message;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// Presses the left button on the dialog at `from` with a move to `to` and the release already
// queued: the system's move loop, if the press starts one, takes them and returns. Returns the
// window's corner afterwards.
POINT PressAndDrag(HWND dialog, POINT from, POINT to) {
    SetCursorPos(from.x, from.y);
    // The move loop measures from the position of the last message taken from the queue.
    PostMessageA(dialog, WM_NULL, 0, 0);
    DispatchPending(dialog);
    SetCursorPos(to.x, to.y);
    RECT rect{};
    GetWindowRect(dialog, &rect);
    const LPARAM target = MAKELPARAM(to.x - rect.left, to.y - rect.top);
    PostMessageA(dialog, WM_MOUSEMOVE, MK_LBUTTON, target);
    PostMessageA(dialog, WM_LBUTTONUP, 0, target);
    SendMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(from.x - rect.left, from.y - rect.top));
    DispatchPending(dialog);  // what no move loop took
    GetWindowRect(dialog, &rect);
    return {rect.left, rect.top};
}

TEST_F(LoadingDialogTest, HitMoveOneLetsTheUserDragTheWindowBySurface) {
    struct {
        std::intptr_t hitMove;  // -1: no property
        bool moves;
    } cases[] = {{1, true}, {-1, false}, {0, false}, {2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hitMove);
        ScopedWindow dialog = CreateLoadingDialog(WS_POPUP | WS_VISIBLE);
        ASSERT_TRUE(dialog);
        if (c.hitMove != -1) WriteProperty(dialog.get(), kHitMoveKey, c.hitMove);
        const POINT corner = PressAndDrag(dialog.get(), {250, 240}, {290, 270});
        if (c.moves) {
            EXPECT_EQ(corner.x, 240);
            EXPECT_EQ(corner.y, 230);
        } else {
            EXPECT_EQ(corner.x, 200);
            EXPECT_EQ(corner.y, 200);
        }
    }
}

}  // namespace
