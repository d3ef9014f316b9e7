#include "file_mapping.h"

#include <algorithm>

#include <sys/mman.h>

namespace tallivo {

FileMapping::FileMapping(int descriptor, std::size_t size) {
    if (size == 0) {
        return;
    }
    void* const mapped = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, descriptor, 0);
    if (mapped == MAP_FAILED) {
        return;
    }
    data_ = static_cast<const unsigned char*>(mapped);
    size_ = size;
}

void FileMapping::Release(std::size_t offset, std::size_t size) {
    if (data_ != nullptr && offset < size_) {
        ::madvise(const_cast<unsigned char*>(data_) + offset, std::min(size, size_ - offset),
                  MADV_DONTNEED);
    }
}

FileMapping::~FileMapping() {
    if (data_ != nullptr) {
        ::munmap(const_cast<unsigned char*>(data_), size_);
    }
}

} // namespace tallivo
