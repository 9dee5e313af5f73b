// Reading a whole file, and writing a whole file so that a failure never damages the target.
#include "app/file_operations.h"

#include "skin/scoped_handles.h"

#include <algorithm>
#include <string>

namespace {

// ReadFile and WriteFile take 32-bit counts; large files go in pieces.
constexpr DWORD transferChunk = 64 * 1024 * 1024;

std::string FullPathOf(const char* path) {
    const DWORD needed = GetFullPathNameA(path, 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::string full(needed, '\0');
    const DWORD length = GetFullPathNameA(path, needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    return full;
}

std::string FolderOf(const std::string& fullPath) {
    const size_t separator = fullPath.find_last_of("\\/");
    return separator == std::string::npos ? std::string(".") : fullPath.substr(0, separator + 1);
}

// A target that exists must be a writable file that no one holds open against writing. Windows
// refuses to rename over a read-only file but Wine does not, so the attribute is checked here.
bool ExistingTargetIsWritable(const std::string& target) {
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    ScopedFile probe(CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(probe);
}

bool WriteAll(HANDLE file, const ByteBuffer& bytes) {
    const std::uint8_t* next = bytes.Data();
    std::int64_t left = bytes.Length();
    while (left > 0) {
        const DWORD piece = static_cast<DWORD>(std::min<std::int64_t>(left, transferChunk));
        DWORD written = 0;
        if (!WriteFile(file, next, piece, &written, nullptr) || written != piece) return false;
        next += written;
        left -= written;
    }
    return FlushFileBuffers(file) != FALSE;
}

// Deletes the temporary file unless it has been moved into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) DeleteFileA(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

}  // namespace

ByteBuffer ReadWholeFile(const char* path) {
    ByteBuffer content;
    if (!path || !*path) return content;
    ScopedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return content;
    LARGE_INTEGER size{};
    // A ByteBuffer counts in signed 32 bits: 2 GiB and more cannot be held.
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > INT32_MAX)
        return content;
    if (!content.Allocate(static_cast<std::int32_t>(size.QuadPart))) return content;

    std::int32_t total = 0;
    while (total < content.Length()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::int64_t>(content.Length() - total, transferChunk));
        DWORD read = 0;
        if (!ReadFile(file.get(), content.Data() + total, piece, &read, nullptr)) {
            content.Free();
            return content;
        }
        if (read == 0) break;  // the file became shorter than its length said
        total += static_cast<std::int32_t>(read);
    }
    content.Truncate(total);
    return content;
}

bool WriteWholeFile(const char* path, const ByteBuffer& bytes) {
    if (!path || !*path) return false;
    // The replace step works on absolute paths only.
    const std::string target = FullPathOf(path);
    if (target.empty() || !ExistingTargetIsWritable(target)) return false;

    char temporaryPath[MAX_PATH + 1] = {};
    if (!GetTempFileNameA(FolderOf(target).c_str(), "kst", 0, temporaryPath)) return false;
    TemporaryFile temporary(temporaryPath);
    {
        ScopedFile file(CreateFileA(temporary.Path().c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !WriteAll(file.get(), bytes)) return false;
    }
    if (!MoveFileExA(temporary.Path().c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    temporary.Keep();
    return true;
}
