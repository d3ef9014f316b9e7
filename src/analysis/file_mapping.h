#pragma once

#include <cstddef>

namespace tallivo {

// The first bytes of an open file mapped read-only into memory, unmapped when the object goes.
// A read of them faults (SIGBUS) where the file has been cut shorter meanwhile: read them
// through RunGuarded.
class FileMapping {
public:
    // Maps the first size bytes of the open file descriptor; leaves the mapping empty (data()
    // null) where the system will not map them, as for many special files, or size is 0.
    FileMapping(int descriptor, std::size_t size);
    ~FileMapping();

    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;

    const unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }

    // Lets the system drop its page tables for size bytes from offset (on a page), read for the
    // last time: the next read of them faults again, the file stays in the page cache, and what
    // the count costs the system is paid as it goes, not all at the end.
    void Release(std::size_t offset, std::size_t size);

private:
    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace tallivo
