#pragma once

#include "Module/StockDataBaseMgnt/DataManager.h"

#include "base/FileManager.h"
#include "base/NotificationCenter.h"
#include "base/Paths.h"
#include "base/PropertyList.h"
#include "host/Offscreen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// A throw-away application home, an offscreen application whose window hosts the tips, and the
// shared DataManager loaded afresh from that home. Posts of "MyStockSwitchCenter" are recorded.
class UserFiles : public ::testing::Test {
protected:
    struct Listener : base::Object {
        std::vector<base::Dict> posts;
    };

    void SetUp() override {
        home_ = base::FileManager::uniqueTemporaryPath();
        ::setenv("QV_HOME", home_.c_str(), 1);
        base::NotificationCenter::shared().addObserver(listener_, DataManager::MyStockSwitchCenter,
                                                       [this](const base::Notification &n) {
                                                           EXPECT_EQ(n.object.get(), &dm);
                                                           listener_->posts.push_back(n.userInfo);
                                                       });
        dm.msgboxParentHandle = app.window().weakSelf<ui::View>();
        dm.initData();
    }

    void TearDown() override {
        base::NotificationCenter::shared().removeObserver(listener_.get());
        dm.msgboxParentHandle.reset();
        std::filesystem::remove_all(home_);
    }

    std::string path(const std::string &name) const { return dm.dataFilePath(name); }
    // The stored property list; null when it is missing or unreadable.
    base::Value stored(const std::string &name) const {
        return base::PropertyList::read(path(name)).value_or(base::Value());
    }
    void store(const std::string &name, const base::Value &value) {
        ASSERT_TRUE(base::PropertyList::write(value, path(name)));
    }
    void storeBytes(const std::string &name, const std::string &bytes) {
        ASSERT_TRUE(base::FileManager::writeAtomically(path(name), base::Data::fromString(bytes)));
    }
    // From here on nothing can be written: the documents directory is replaced by a file.
    void breakDocuments() {
        const std::string documents = base::Paths::documents();
        std::filesystem::remove_all(documents);
        ASSERT_TRUE(base::FileManager::writeAtomically(documents, base::Data::fromString("x")));
    }
    std::vector<std::string> toastTexts() const {
        std::vector<std::string> texts;
        for (const auto &toast : app.toasts())
            texts.push_back(toast.text);
        return texts;
    }
    const std::vector<base::Dict> &posts() const { return listener_->posts; }

    static base::Dict stock(const std::string &code, const std::string &name) {
        return {{"MarketCode", code}, {"StockName", name}};
    }

    host::TestApp app;
    DataManager &dm = DataManager::sharedDataManager();
    base::Ref<Listener> listener_ = base::make<Listener>();
    std::string home_;
};
