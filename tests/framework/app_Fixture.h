// A fresh data directory and application state for every test of the
// application state, removed afterwards.
#pragma once

#include "framework/app/CAppData.h"
#include "support/CTempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

class AppDataTest : public ::testing::Test {
protected:
    void TearDown() override { CAppData::Destroy(); }

    CAppData& App() {
        if (CAppData::Instance() == nullptr)
            CAppData::Create(m_dir.string());
        return *CAppData::Instance();
    }
    // Destroys the state (saving its settings) and makes a new one over the
    // same directory, as a restart of the program does.
    CAppData& Restart() {
        CAppData::Destroy();
        return App();
    }

    std::vector<uint8_t> ReadFile(const std::string& name) const { return m_temp.ReadBytes(name); }
    void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) const { m_temp.WriteBytes(name, bytes); }

    CTempDir m_temp{"orb_app"};
    const std::filesystem::path m_dir = m_temp.Path();
};
