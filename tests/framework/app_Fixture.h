// A fresh data directory and application state for every test of the
// application state, removed afterwards.
#pragma once

#include "framework/app/CAppData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class AppDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "orb_app_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override {
        CAppData::Destroy();
        std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(m_dir);
    }

    CAppData& App() {
        if (CAppData::Instance() == nullptr) {
            CAppData::Create(m_dir.string());
        }
        return *CAppData::Instance();
    }
    // Destroys the state (saving its settings) and makes a new one over the
    // same directory, as a restart of the program does.
    CAppData& Restart() {
        CAppData::Destroy();
        return App();
    }

    std::filesystem::path PathOf(const std::string& name) const { return m_dir / name; }
    std::vector<uint8_t> ReadFile(const std::string& name) const {
        std::ifstream in(PathOf(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) const {
        std::ofstream out(PathOf(name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<std::string> FileNames() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    std::filesystem::path m_dir;
};
