#pragma once

#include "lib/Error.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tabulon {

// Where the bytes of a dump go: the file, or in tests a sink that fails on purpose.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Writes all bytes or raises an Error naming the file and the reason (disk full, I/O error).
    virtual void write(const char* data, std::size_t size) = 0;
    virtual void close() = 0;
};

// Creates (or empties) the file at `path`. Raises 76 when its folder does not exist, 70 when access
// is denied, 75 for any other reason; the description names the path.
std::unique_ptr<ByteSink> createFileSink(const std::string& path);

// The dump script: lines of UTF-8 text, each ended by CR LF, no byte-order mark. Writes are
// buffered; the first failing write raises, and so does every later write and `close`, so a dump
// cut short is never reported as complete.
class DumpFile {
public:
    DumpFile(std::unique_ptr<ByteSink> sink, std::string path);
    ~DumpFile();
    DumpFile(const DumpFile&) = delete;
    DumpFile& operator=(const DumpFile&) = delete;

    static std::unique_ptr<DumpFile> create(const std::string& path);

    const std::string& path() const { return m_path; }
    // One line: the text (which may itself hold CR LF) and CR LF.
    void writeLine(std::string_view text);
    // The batch separator "GO" and an empty line.
    void writeGo();
    // A statement of a long run, such as a table's INSERTs: after every kStatementsPerBatch of them
    // since the last separator, whichever table they belong to, a separator follows. SQL Server compiles
    // a batch whole and refuses one over 256 MiB.
    void writeBatchedStatement(std::string_view statement);
    static constexpr std::size_t kStatementsPerBatch = 1000;
    // Writes what is buffered and closes; raises the first write failure. Later calls do nothing.
    void close();

private:
    void flush();

    std::unique_ptr<ByteSink> m_sink;
    std::string m_path;
    std::string m_buffer;
    std::optional<Error> m_failure;
    std::size_t m_batchedSinceGo = 0;
    bool m_closed = false;
};

} // namespace tabulon
