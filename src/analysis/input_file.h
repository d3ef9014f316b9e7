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

// What tells one version of a file from another: where it lives, its size and the time it was
// last written, as the open file reports them. Equal stamps mean the same file, unchanged.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

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

    // Returns the name it was opened by.
    const std::string& Name() const { return name_; }
    ~InputFile();

    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads up to capacity bytes into buffer; returns 0 at the end of the file.
    // Throws AnalysisFailure(ReadError) when the system reports a failure or the read would wait,
    // or when the file ends short of the size it was opened with because it was cut meanwhile.
    std::size_t Read(unsigned char* buffer, std::size_t capacity);

    // Reads the size bytes from offset on into buffer, whatever the position of Read. Throws
    // AnalysisFailure(ReadError) as Read does, and when the file ends before them.
    void ReadAt(unsigned char* buffer, std::size_t size, std::uint64_t offset);

    // Throws AnalysisFailure(ReadError) when the file is now shorter than it was when opened.
    void CheckNotShortened() const;

    // Returns the open file's descriptor, for mapping it.
    int Descriptor() const { return fd_; }

    // Returns the stamp of the file as it was opened.
    const FileStamp& Stamp() const { return stamp_; }

private:
    int fd_ = -1;
    std::uint64_t position_ = 0;
    FileStamp stamp_;
    std::string name_;
};

// A block buffer aligned to a page: the system copies a read into it at full speed, where a
// destination a few bytes off a cache line can make the copy several times slower.
class BlockBuffer {
public:
    // With all its pages in place at once where every page will be used: one call to the system
    // in place of a page fault a page.
    enum class Pages { OnFirstUse, AllAtOnce };

    explicit BlockBuffer(std::size_t size, Pages pages = Pages::OnFirstUse);
    ~BlockBuffer();

    BlockBuffer(const BlockBuffer&) = delete;
    BlockBuffer& operator=(const BlockBuffer&) = delete;

    unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    unsigned char* data_;
    std::size_t size_;
    bool mapped_ = false;
};

// Reads fileName from start to end through one buffer of blockSize bytes, handing each block
// to sink; after each block asks observer (where given) whether to go on. Returns the stamp of
// the file read. Throws AnalysisFailure as InputFile does, and Cancelled when observer says stop.
FileStamp ReadInBlocks(const std::string& fileName, std::size_t blockSize, const BlockSink& sink,
                       const ReadObserver& observer = {});

// The same on a file already open, from where it stands to its end.
FileStamp ReadInBlocks(InputFile& file, std::size_t blockSize, const BlockSink& sink,
                       const ReadObserver& observer = {});

// Hands text held in memory to sink in blocks of blockSize bytes, exactly as ReadInBlocks hands
// a file holding it; after each block asks observer (where given) whether to go on.
// Throws AnalysisFailure(Cancelled) when observer says stop.
void ReadTextInBlocks(std::string_view text, std::size_t blockSize, const BlockSink& sink,
                      const ReadObserver& observer = {});

} // namespace tallivo
