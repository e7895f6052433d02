#pragma once
// Little-endian fields read from and written to memory, the way every file of the game is laid
// out. The reader never reads past its end: a read that does not fit returns zeros, leaves the
// position where it was and marks the reader short, so a format can read all its fields and
// check once at the end.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace tessaly {

class ByteReader {
  public:
    ByteReader() = default;
    ByteReader(const void* data, size_t size)
        : data_(static_cast<const unsigned char*>(data)), size_(data ? size : 0) {}
    explicit ByteReader(std::span<const unsigned char> bytes)
        : ByteReader(bytes.data(), bytes.size()) {}

    uint8_t u8() {
        const unsigned char* p = claim(1);
        return p ? p[0] : 0;
    }
    uint16_t u16() {
        const unsigned char* p = claim(2);
        return p ? static_cast<uint16_t>(p[0] | p[1] << 8) : 0;
    }
    uint32_t u32() {
        const unsigned char* p = claim(4);
        if (!p) return 0;
        return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
               static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    }
    int32_t i32() { return static_cast<int32_t>(u32()); }
    float f32() {
        const uint32_t bits = u32();
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    // Copies n bytes into out; when fewer remain, out is zero-filled and the reader is short.
    bool bytes(void* out, size_t n) {
        const unsigned char* p = claim(n);
        if (!p) {
            if (n) std::memset(out, 0, n);
            return false;
        }
        if (n) std::memcpy(out, p, n);
        return true;
    }
    // The next n bytes in place; an empty span (and a short reader) when fewer remain.
    std::span<const unsigned char> view(size_t n) {
        const unsigned char* p = claim(n);
        return p ? std::span<const unsigned char>(p, n) : std::span<const unsigned char>();
    }
    bool skip(size_t n) { return claim(n) != nullptr || n == 0; }
    // Moves to an absolute position; one past the end is allowed, further marks the reader short.
    bool seek(size_t position) {
        if (position > size_) {
            short_ = true;
            return false;
        }
        pos_ = position;
        return true;
    }

    size_t position() const { return pos_; }
    size_t size() const { return size_; }
    size_t remaining() const { return size_ - pos_; }
    // False once any read did not fit.
    bool ok() const { return !short_; }
    bool ran_short() const { return short_; }

  private:
    const unsigned char* claim(size_t n) {
        if (n > size_ - pos_) {
            short_ = true;
            return nullptr;
        }
        const unsigned char* p = data_ + pos_;
        pos_ += n;
        return p;
    }

    const unsigned char* data_ = nullptr;
    size_t size_ = 0;
    size_t pos_ = 0;
    bool short_ = false;
};

// Writes little-endian fields either into a growing buffer or into a fixed span. A fixed span
// that fills up keeps what fitted, takes nothing more and remembers that it overflowed.
class ByteWriter {
  public:
    explicit ByteWriter(std::vector<unsigned char>& grow) : grow_(&grow) {}
    explicit ByteWriter(std::span<unsigned char> fixed) : fixed_(fixed) {}

    void u8(uint8_t v) { put(&v, 1); }
    void u16(uint16_t v) {
        const unsigned char b[2] = {static_cast<unsigned char>(v),
                                    static_cast<unsigned char>(v >> 8)};
        put(b, 2);
    }
    void u32(uint32_t v) {
        const unsigned char b[4] = {
            static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
            static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
        put(b, 4);
    }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void f32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(bits);
    }
    void bytes(const void* data, size_t n) { put(static_cast<const unsigned char*>(data), n); }

    // Bytes written so far (into the span, or appended to the buffer by this writer).
    size_t size() const { return written_; }
    // False once a fixed span could not take a field.
    bool ok() const { return !overflow_; }

  private:
    void put(const unsigned char* p, size_t n) {
        if (n == 0) return;
        if (grow_) {
            grow_->insert(grow_->end(), p, p + n);
        } else {
            if (overflow_ || n > fixed_.size() - written_) {
                overflow_ = true;
                return;
            }
            std::memcpy(fixed_.data() + written_, p, n);
        }
        written_ += n;
    }

    std::vector<unsigned char>* grow_ = nullptr;
    std::span<unsigned char> fixed_;
    size_t written_ = 0;
    bool overflow_ = false;
};

}  // namespace tessaly
