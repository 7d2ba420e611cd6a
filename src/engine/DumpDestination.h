#pragma once

#include "Destination.h"
#include "DumpFile.h"

#include <memory>
#include <string>
#include <vector>

namespace tabulon {

// A dump file: the statements as a script for sqlcmd or Management Studio, in batches ended by "GO",
// with a header that lists the options of the run and comments that say what follows.
class DumpDestination : public Destination {
public:
    // The file at `path`, created by `open`, whose header lists `options` ("key=value").
    DumpDestination(std::string path, std::vector<std::string> options, bool unitTestMode);
    // An open dump over a file of the caller's (tests give one that fails on purpose); `open` writes
    // the header into it.
    explicit DumpDestination(std::unique_ptr<DumpFile> file, std::vector<std::string> options = {},
                             bool unitTestMode = true);

    std::string summary() const override;
    std::string openingPhase() const override;
    void open() override;
    OpenFailure openFailure() const override;
    bool runsStatements() const override { return false; }

    void execute(std::string_view statement) override;
    void executeRepeated(std::string_view statement) override;
    void endBatch() override;
    long long queryNumber(std::string_view query) override;

    void heading(std::string_view title, const std::vector<std::string>& lines = {}) override;
    void comment(std::string_view text) override;
    void space() override;
    void close() override;

private:
    void writeHeader();

    std::string m_path;
    std::vector<std::string> m_options;
    bool m_unitTestMode = false;
    std::unique_ptr<DumpFile> m_file;
};

} // namespace tabulon
