#include "input_file.h"

#include "analysis_error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
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
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return AnalysisError::FileNotFound;
    default:
        return AnalysisError::ReadError;
    }
}

} // namespace

InputFile::InputFile(const std::string& fileName)
    : name_(fileName) {
    if (fileName.empty() || fileName.find('\0') != std::string::npos) {
        throw AnalysisFailure(AnalysisError::FileNotFound, fileName);
    }
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused just below.
    fd_ = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) {
        throw AnalysisFailure(OpenErrorKind(errno), fileName + ": " + std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        const int error = errno;
        ::close(fd_);
        throw AnalysisFailure(AnalysisError::ReadError, fileName + ": " + std::strerror(error));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd_);
        throw AnalysisFailure(AnalysisError::NotRegularFile, fileName);
    }
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
    }
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

InputFile::~InputFile() {
    ::close(fd_);
}

std::size_t InputFile::Read(unsigned char* buffer, std::size_t capacity) {
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, capacity);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            throw AnalysisFailure(AnalysisError::ReadError, name_ + ": " + std::strerror(errno));
        }
    }
}

} // namespace tallivo
