#include "Module/NavToolBarModule/BreakNewsViewController/BreakNewsViewController.h"

BreakNewsViewController::BreakNewsViewController() {
    setTitle(kTitle);
    setContentSizeInPopover(kContentSize);
}

void BreakNewsViewController::SetNewsArray(const std::vector<std::string> &news) {
    m_newsArray.clear();
    for (const std::string &text : news)
        if (!text.empty())
            m_newsArray.push_back(text);
}
