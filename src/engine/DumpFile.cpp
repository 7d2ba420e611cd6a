#include "DumpFile.h"

#include "Platform.h"
#include "lib/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace tabulon {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
const char* const kSource = "Verdix.modMySql.DumpFile";

class FileSink : public ByteSink {
public:
    FileSink(std::FILE* file, std::string path) : m_file(file), m_path(std::move(path)) {}
    ~FileSink() override {
        if (m_file)
            std::fclose(m_file);
    }

    void write(const char* data, std::size_t size) override {
        if (std::fwrite(data, 1, size, m_file) != size)
            raise(errno);
    }

    void close() override {
        std::FILE* file = m_file;
        m_file = nullptr;
        if (file && std::fclose(file) != 0)
            raise(errno);
    }

private:
    [[noreturn]] void raise(int error) const {
        const long number = error == ENOSPC ? errc::DiskFull : errc::DeviceIO;
        throw Error(number, kSource,
                    "Cannot write the dump file '" + m_path + "': " + std::strerror(error) +
                        ". The dump is incomplete.");
    }

    std::FILE* m_file;
    std::string m_path;
};

} // namespace

std::unique_ptr<ByteSink> createFileSink(const std::string& path) {
    std::FILE* file = openFile(path, "wb");
    if (!file)
        throw fileSystemError(std::error_code(errno, std::generic_category()), path, errc::PathNotFound);
    // The dump buffers whole blocks itself; a second buffer in stdio would only copy them again.
    std::setvbuf(file, nullptr, _IONBF, 0);
    return std::make_unique<FileSink>(file, path);
}

DumpFile::DumpFile(std::unique_ptr<ByteSink> sink, std::string path)
    : m_sink(std::move(sink)), m_path(std::move(path)) {
    m_buffer.reserve(kBufferSize + 4096);
}

DumpFile::~DumpFile() {
    try {
        close();
    } catch (const Error&) {
        // Whoever ends a run early has reported its error already.
    }
}

std::unique_ptr<DumpFile> DumpFile::create(const std::string& path) {
    return std::make_unique<DumpFile>(createFileSink(path), path);
}

void DumpFile::writeLine(std::string_view text) {
    if (m_failure)
        throw *m_failure;
    m_buffer.append(text);
    m_buffer.append("\r\n");
    if (m_buffer.size() >= kBufferSize)
        flush();
}

void DumpFile::writeGo() {
    writeLine("GO");
    writeLine("");
    m_batchedSinceGo = 0;
}

void DumpFile::writeBatchedStatement(std::string_view statement) {
    writeLine(statement);
    if (++m_batchedSinceGo == kStatementsPerBatch)
        writeGo();
}

void DumpFile::flush() {
    if (m_buffer.empty())
        return;
    try {
        m_sink->write(m_buffer.data(), m_buffer.size());
    } catch (const Error& e) {
        m_failure = e;
        throw;
    }
    m_buffer.clear();
}

void DumpFile::close() {
    if (m_closed)
        return;
    m_closed = true;
    if (!m_failure) {
        try {
            flush();
            m_sink->close();
            return;
        } catch (const Error& e) {
            m_failure = e;
        }
    }
    try {
        m_sink->close();
    } catch (const Error&) {
        // The first failure is the one to report.
    }
    throw *m_failure;
}

} // namespace tabulon
