#pragma once

#include "ui/ViewController.h"

#include <string>
#include <vector>

// The breaking-news list of the shared breaking-news popover. It shows the texts it is given; the
// back-fill of older items from the quote server belongs to the news screens and is not here yet,
// so it never waits for a request of its own.
class BreakNewsViewController : public ui::ViewController {
public:
    static constexpr gfx::Size kContentSize{320, 400};
    static constexpr const char *kTitle = "实时解盘";

    BreakNewsViewController();

    // Replaces the list, newest first, leaving out empty texts.
    void SetNewsArray(const std::vector<std::string> &news);
    const std::vector<std::string> &newsArray() const { return m_newsArray; }
    bool isRequestingBreakNews() const { return false; }

private:
    std::vector<std::string> m_newsArray;
};
