#pragma once

#include "engine/DumpDestination.h"
#include "engine/DumpFile.h"
#include "lib/Error.h"

#include <memory>
#include <string>

// A dump destination that accepts `limit` bytes and then fails like a full disk.
class FailingSink : public tabulon::ByteSink {
public:
    FailingSink(std::size_t limit, std::string* written) : m_limit(limit), m_written(written) {}

    void write(const char* data, std::size_t size) override {
        const std::size_t room = m_limit - std::min(m_limit, m_written->size());
        m_written->append(data, std::min(room, size));
        if (size > room)
            throw tabulon::Error(tabulon::errc::DiskFull, "FailingSink", "Disk full after " + std::to_string(m_limit));
    }
    void close() override {}

    static std::unique_ptr<tabulon::DumpDestination> dump(std::size_t limit, std::string* written) {
        return std::make_unique<tabulon::DumpDestination>(
            std::make_unique<tabulon::DumpFile>(std::make_unique<FailingSink>(limit, written), "failing.sql"));
    }

private:
    std::size_t m_limit;
    std::string* m_written;
};
