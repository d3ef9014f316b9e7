#include "input_file.h"

#include "analysis_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tallivo {

namespace {

AnalysisError OpenErrorKind(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return AnalysisError::AccessDenied;
    case ENXIO: // a socket, or a device with nothing behind it
    case ENODEV:
        return AnalysisError::NotRegularFile;
    case ENAMETOOLONG:
        return AnalysisError::NameTooLong;
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
        return AnalysisError::FileNotFound;
    default:
        return AnalysisError::ReadError;
    }
}

// Throws the failure of kind for fileName with the system's text of error.
[[noreturn]] void Fail(AnalysisError kind, const std::string& fileName, int error) {
    throw AnalysisFailure(kind, fileName + ": " + std::strerror(error));
}

} // namespace

InputFile::InputFile(const std::string& fileName)
    : name_(fileName) {
    if (fileName.empty() || fileName.find('\0') != std::string::npos) {
        throw AnalysisFailure(AnalysisError::FileNotFound, fileName);
    }
    // The type is checked before opening: opening a FIFO would release a writer waiting on it.
    struct stat info {};
    if (::stat(fileName.c_str(), &info) != 0) {
        Fail(OpenErrorKind(errno), fileName, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        throw AnalysisFailure(AnalysisError::NotRegularFile, fileName);
    }
    fd_ = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) {
        Fail(OpenErrorKind(errno), fileName, errno);
    }
    // Checked again on what was opened, in case the name was swapped in between.
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = errno;
        ::close(fd_);
        if (S_ISREG(info.st_mode)) {
            Fail(AnalysisError::ReadError, fileName, error);
        }
        throw AnalysisFailure(AnalysisError::NotRegularFile, fileName);
    }
    stamp_ = {std::uint64_t(info.st_dev), std::uint64_t(info.st_ino), std::uint64_t(info.st_size),
              std::int64_t(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

InputFile::~InputFile() {
    ::close(fd_);
}

std::size_t InputFile::Read(unsigned char* buffer, std::size_t capacity) {
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, capacity);
        if (got > 0) {
            position_ += std::uint64_t(got);
            return static_cast<std::size_t>(got);
        }
        if (got == 0) {
            if (position_ < stamp_.size) {
                CheckNotShortened();
            }
            return 0;
        }
        if (errno != EINTR) {
            Fail(AnalysisError::ReadError, name_, errno);
        }
    }
}

void InputFile::ReadAt(unsigned char* buffer, std::size_t size, std::uint64_t offset) {
    while (size > 0) {
        const ssize_t got = ::pread(fd_, buffer, size, off_t(offset));
        if (got > 0) {
            buffer += got;
            size -= std::size_t(got);
            offset += std::uint64_t(got);
        } else if (got == 0) {
            throw AnalysisFailure(AnalysisError::ReadError, name_ + ": cut shorter while read");
        } else if (errno != EINTR) {
            Fail(AnalysisError::ReadError, name_, errno);
        }
    }
}

void InputFile::CheckNotShortened() const {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        Fail(AnalysisError::ReadError, name_, errno);
    }
    if (std::uint64_t(info.st_size) < stamp_.size) {
        throw AnalysisFailure(AnalysisError::ReadError, name_ + ": cut shorter while read");
    }
}

} // namespace tallivo

namespace tallivo {

namespace {

constexpr std::align_val_t kPageAlignment{4096};

} // namespace

BlockBuffer::BlockBuffer(std::size_t size, Pages pages)
    : data_(nullptr)
    , size_(size) {
#ifdef MAP_POPULATE
    if (pages == Pages::AllAtOnce) {
        void* const mapped = ::mmap(nullptr, size, PROT_READ | PROT_WRITE,
                                    MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (mapped == MAP_FAILED) {
            throw std::bad_alloc();
        }
        data_ = static_cast<unsigned char*>(mapped);
        mapped_ = true;
        return;
    }
#endif
    (void)pages;
    data_ = static_cast<unsigned char*>(::operator new(size, kPageAlignment));
}

BlockBuffer::~BlockBuffer() {
    if (mapped_) {
        ::munmap(data_, size_);
    } else {
        ::operator delete(data_, kPageAlignment);
    }
}

FileStamp ReadInBlocks(const std::string& fileName, std::size_t blockSize, const BlockSink& sink,
                       const ReadObserver& observer) {
    InputFile file(fileName);
    return ReadInBlocks(file, blockSize, sink, observer);
}

FileStamp ReadInBlocks(InputFile& file, std::size_t blockSize, const BlockSink& sink,
                       const ReadObserver& observer) {
    const BlockBuffer buffer(blockSize);
    std::uint64_t bytesRead = 0;
    while (const std::size_t got = file.Read(buffer.data(), blockSize)) {
        sink(buffer.data(), got);
        bytesRead += got;
        if (observer && !observer(bytesRead)) {
            throw AnalysisFailure(AnalysisError::Cancelled, file.Name());
        }
    }
    return file.Stamp();
}

void ReadTextInBlocks(std::string_view text, std::size_t blockSize, const BlockSink& sink,
                      const ReadObserver& observer) {
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t done = 0; done < text.size();) {
        const std::size_t size = std::min(blockSize, text.size() - done);
        sink(data + done, size);
        done += size;
        if (observer && !observer(done)) {
            throw AnalysisFailure(AnalysisError::Cancelled, "text in memory");
        }
    }
}

} // namespace tallivo
