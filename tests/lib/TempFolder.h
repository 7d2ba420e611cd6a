#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

// A fresh folder for one test, removed with everything in it afterwards.
class TempFolder {
public:
    TempFolder() {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        const std::string name =
            std::string("tabulon-") + (info ? info->name() : "test") + "-" + std::to_string(std::random_device()());
        m_path = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, or a path inside it, as the UTF-8 text the library takes.
    std::string path(const std::string& relative = "") const {
        return relative.empty() ? m_path.string() : (m_path / relative).string();
    }

private:
    std::filesystem::path m_path;
};
