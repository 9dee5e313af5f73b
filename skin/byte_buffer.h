// ByteBuffer: the program's counted byte sequence (file contents, patch operands, image bytes, UTF-16 text).
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

// Its length is a signed 32-bit count, so a buffer holds less than 2 GiB. It never throws: an
// allocation that fails leaves the buffer empty and is reported by the call that allocates.
// Move-only, because the buffers it carries may be as large as a whole file.
class ByteBuffer {
public:
    ByteBuffer() = default;
    ByteBuffer(ByteBuffer&& other) noexcept { *this = std::move(other); }
    ByteBuffer& operator=(ByteBuffer&& other) noexcept {
        bytes_ = std::move(other.bytes_);
        length_ = other.length_;
        other.length_ = 0;
        return *this;
    }
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    // Replaces the content by `length` uninitialised bytes; false (and empty) if memory is short.
    bool Allocate(std::int32_t length) noexcept {
        Free();
        if (length <= 0) return length == 0;
        bytes_.reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(length)]);
        if (!bytes_) return false;
        length_ = length;
        return true;
    }

    // Replaces the content by a copy of the given bytes; false (and empty) if memory is short.
    bool Assign(const void* data, std::int32_t length) noexcept {
        if (!Allocate(length)) return false;
        if (length > 0) std::memcpy(bytes_.get(), data, static_cast<std::size_t>(length));
        return true;
    }

    // Shortens the buffer to its first `length` bytes (a read that returned fewer bytes than asked).
    void Truncate(std::int32_t length) noexcept {
        if (length <= 0) {
            Free();
        } else if (length < length_) {
            length_ = length;
        }
    }

    void Free() noexcept {
        bytes_.reset();
        length_ = 0;
    }

    std::int32_t Length() const noexcept { return length_; }
    bool IsEmpty() const noexcept { return length_ == 0; }
    const std::uint8_t* Data() const noexcept { return bytes_.get(); }
    std::uint8_t* Data() noexcept { return bytes_.get(); }
    std::string_view View() const noexcept {
        return {reinterpret_cast<const char*>(bytes_.get()), static_cast<std::size_t>(length_)};
    }

    static ByteBuffer FromText(std::string_view text) noexcept {
        ByteBuffer buffer;
        buffer.Assign(text.data(), static_cast<std::int32_t>(text.size()));
        return buffer;
    }

private:
    std::unique_ptr<std::uint8_t[]> bytes_;
    std::int32_t length_ = 0;
};
