#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tallivo {

// Told after every block how many bytes have been read so far; returns false to stop the read.
using ReadObserver = std::function<bool(std::uint64_t bytesRead)>;

// Receives each block of a file as it is read.
using BlockSink = std::function<void(const unsigned char* data, std::size_t size)>;

// A regular file opened read-only for reading in blocks; closed when the object goes.
// Anything that is not a regular file (directory, FIFO, socket, device) is refused before it
// is opened, so a pick such as /dev/zero or a FIFO with a waiting writer is left alone. The file
// stays non-blocking: a "regular" file whose read would wait (such as /proc/kmsg) is a read
// error instead of a hang.
class InputFile {
public:
    // Opens fileName; throws AnalysisFailure (FileNotFound, AccessDenied, NotRegularFile,
    // ReadError) when it cannot.
    explicit InputFile(const std::string& fileName);
    ~InputFile();

    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads up to capacity bytes into buffer; returns 0 at the end of the file.
    // Throws AnalysisFailure(ReadError) when the system reports a failure or the read would wait.
    std::size_t Read(unsigned char* buffer, std::size_t capacity);

private:
    int fd_ = -1;
    std::string name_;
};

// Reads fileName from start to end through one buffer of blockSize bytes, handing each block
// to sink; after each block asks observer (where given) whether to go on.
// Throws AnalysisFailure as InputFile does, and Cancelled when observer says stop.
void ReadInBlocks(const std::string& fileName, std::size_t blockSize, const BlockSink& sink,
                  const ReadObserver& observer = {});

// Hands text held in memory to sink in blocks of blockSize bytes, exactly as ReadInBlocks hands
// a file holding it; after each block asks observer (where given) whether to go on.
// Throws AnalysisFailure(Cancelled) when observer says stop.
void ReadTextInBlocks(std::string_view text, std::size_t blockSize, const BlockSink& sink,
                      const ReadObserver& observer = {});

} // namespace tallivo
