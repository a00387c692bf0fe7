// The bytes an HTML parser reads, one at a time: from a file through a buffer
// in the import, from memory in tests and the fuzz targets.
#pragma once
#include <cstddef>

class ByteSource {
  public:
    // What Next returns when no byte is left.
    static const int kEnd = -1;

    virtual ~ByteSource() = default;
    // The next byte (0 to 255), or kEnd.
    virtual int Next() = 0;
};

// Reads a block of memory that outlives the source.
class MemoryByteSource : public ByteSource {
  public:
    MemoryByteSource(const void* data, size_t size)
        : data_(static_cast<const unsigned char*>(data)), size_(size) {}

    int Next() override { return position_ < size_ ? data_[position_++] : kEnd; }

  private:
    const unsigned char* data_;
    size_t size_;
    size_t position_ = 0;
};
