#pragma once

#include "Module/StockDataBaseMgnt/LocalFileFunc/LocalFileFunc.h"

#include "Common/FileFunc.h"
#include "base/FileManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

// Each test gets a documents directory of its own.
class CacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        home_ = base::FileManager::uniqueTemporaryPath();
        ::setenv("QV_HOME", home_.c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(home_); }

    static std::optional<base::Data> fileAt(const std::string &relative) {
        return base::FileManager::read(FileFunc::getFilePath(relative));
    }
    static void writeAt(const std::string &relative, const base::Data &bytes) {
        std::filesystem::path path = FileFunc::getFilePath(relative);
        std::filesystem::create_directories(path.parent_path());
        ASSERT_TRUE(base::FileManager::writeAtomically(path, bytes));
    }
    static base::Data ints(std::initializer_list<int32_t> words) {
        base::Data bytes;
        for (int32_t word : words)
            ComAPI::WriteInt(bytes, word);
        return bytes;
    }

    std::string home_;
};
