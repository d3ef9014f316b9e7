#pragma once

#include <cstddef>
#include <string>

namespace tallivo {

// A regular file opened read-only for reading in blocks; closed when the object goes.
// Anything that is not a regular file (directory, FIFO, socket, device) is refused before
// a single byte is read, so a pick such as /dev/zero cannot hang the program.
class InputFile {
public:
    // Opens fileName; throws AnalysisFailure (FileNotFound, AccessDenied, NotRegularFile,
    // ReadError) when it cannot.
    explicit InputFile(const std::string& fileName);
    ~InputFile();

    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads up to capacity bytes into buffer; returns 0 at the end of the file.
    // Throws AnalysisFailure(ReadError) when the system reports a failure.
    std::size_t Read(unsigned char* buffer, std::size_t capacity);

private:
    int fd_ = -1;
    std::string name_;
};

} // namespace tallivo
