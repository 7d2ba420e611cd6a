#pragma once

// The Access files of tests/data and whole runs over them, for the tests that convert every file.
#include "FixtureFiles.h"
#include "RecordingProgress.h"
#include "RunSettings.h"
#include "TempFolder.h"
#include "engine/SchemaDocument.h"
#include "source/SchemaScanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct Fixture {
    std::string relative; // under tests/data
    std::string password;
};

inline void PrintTo(const Fixture& fixture, std::ostream* out) {
    *out << fixture.relative;
}

// The passwords of the encrypted files, as tests/data/README.md gives them: a table row naming the
// file in its first cell and "password `...`" in its description.
inline std::map<std::string, std::string> readmePasswords() {
    std::map<std::string, std::string> passwords;
    std::ifstream readme(std::string(TABULON_TEST_DATA) + "/README.md");
    for (std::string line; std::getline(readme, line);) {
        const std::size_t cellEnd = line.find(" |", 2);
        const std::size_t password = line.find("password `");
        if (line.rfind("| ", 0) != 0 || cellEnd == std::string::npos || password == std::string::npos)
            continue;
        const std::size_t start = password + 10;
        passwords[line.substr(2, cellEnd - 2)] = line.substr(start, line.find('`', start) - start);
    }
    return passwords;
}

inline std::vector<Fixture> everyFixture() {
    std::vector<Fixture> fixtures;
    const std::filesystem::path root(TABULON_TEST_DATA);
    const auto passwords = readmePasswords();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string extension = entry.path().extension().string();
        const std::string relative = entry.path().lexically_relative(root).generic_string();
        // The damaged set is there to be refused (source tests), not converted.
        const bool damaged = entry.path().parent_path().filename() == "damaged";
        if (entry.is_regular_file() && !damaged && (extension == ".mdb" || extension == ".accdb"))
            fixtures.push_back({relative, passwords.count(relative) ? passwords.at(relative) : ""});
    }
    std::sort(fixtures.begin(), fixtures.end(),
              [](const Fixture& a, const Fixture& b) { return a.relative < b.relative; });
    return fixtures;
}

// One run of a whole database, every table and field selected, as the wizard would make it: into
// the dump file out.sql of its own folder, unless a test sets the settings for a direct transfer.
class FixtureRun {
public:
    FixtureRun(const std::string& file, const std::string& password)
        : temp(folder.path()), settings(file, folder.file("out.sql")) {
        schema = tabulon::ScanSourceDatabase(file, password, "", "", progress);
        tabulon::StringList selection;
        for (const pugi::xpath_node& table : schema->select_nodes("*/Tables/Table")) {
            const std::string name = tabulon::childText(table.node(), "Name");
            selection.push_back(name);
            for (const pugi::xml_node field : table.node().child("Fields").children("Field"))
                selection.push_back(name + "\\" + tabulon::childText(field, "Name"));
            tables.push_back(name);
        }
        settings.section().set("sourcepassword", password);
        settings.section().set("sourcetables", selection);
    }

    tabulon::RunResult run() {
        tabulon::ConversionContext context{
            progress, flags, schema.get(),
            [](const tabulon::SourceCredentials& credentials) { return tabulon::AccessDatabase::open(credentials); }};
        const tabulon::RunResult result = tabulon::MoveData2MySql(settings.settings(), report, context);
        if (std::filesystem::exists(folder.file("out.sql")))
            dump = readBytes(folder.file("out.sql"));
        return result;
    }

    TempFolder folder;
    fixture::ScopedTemp temp;
    RunSettings settings;
    RecordingProgress progress;
    tabulon::RunFlags flags;
    std::unique_ptr<pugi::xml_document> schema;
    std::vector<std::string> tables;
    std::string report, dump;
};

// A test name made of the file's path under tests/data.
inline std::string fixtureTestName(const ::testing::TestParamInfo<Fixture>& info) {
    std::string name = info.param.relative;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}
