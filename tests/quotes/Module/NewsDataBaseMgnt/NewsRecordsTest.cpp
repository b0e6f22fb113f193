#include "Module/NewsDataBaseMgnt/NewsData/NewsListInfo.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsSummaryInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(NewsSummaryInfo, MinuteOfTheDayOfATimeText) {
    const std::pair<std::optional<std::string>, int> cases[] = {{std::nullopt, -1},
                                                                {"2012-05-08 09:3", -1},
                                                                {"2012-05-08 09:31", 931},
                                                                {"2012-05-08 14:05:00", 1405}};
    for (const auto &[text, minute] : cases)
        EXPECT_EQ(NewsSummaryInfo::getNumMinuteFromOTime(text), minute) << text.value_or("(absent)");
}

base::Ref<NewsListInfo> page(int from, int count, const std::string &next) {
    auto list = base::make<NewsListInfo>();
    list->first = "index.json";
    list->next = next;
    list->last = "index_3.json";
    for (int i = from; i < from + count; ++i) {
        auto item = base::make<NewsListItemInfo>();
        item->title = std::to_string(i);
        list->addNewsListItem(item);
    }
    return list;
}

std::vector<std::string> titles(const NewsListInfo &list) {
    std::vector<std::string> out;
    for (const auto &item : list.items())
        out.push_back(item->title.value_or("?"));
    return out;
}

TEST(NewsListInfo, MergingAppendsInOrderAndTakesTheLinks) {
    auto list = page(0, 20, "index_2.json");
    list->mergeWithAnother(*page(20, 20, "index_3.json"));
    ASSERT_EQ(list->items().size(), 40u);
    std::vector<std::string> expected;
    for (int i = 0; i < 40; ++i)
        expected.push_back(std::to_string(i));
    EXPECT_EQ(titles(*list), expected);
    EXPECT_EQ(list->next, "index_3.json");

    list->removeAllNewsListItems();
    EXPECT_EQ(list->next, "index_3.json") << "emptying keeps the links";
    list->mergeWithAnother(*page(7, 2, "index_2.json"));
    EXPECT_EQ(titles(*list), (std::vector<std::string>{"7", "8"}));

    list->mergeWithAnother(*list);
    EXPECT_EQ(titles(*list), (std::vector<std::string>{"7", "8", "7", "8"})) << "a list merged into itself";

    NewsListInfo empty;
    list->mergeWithAnother(empty);
    EXPECT_FALSE(list->next.has_value()) << "a page without links leaves none";
}

} // namespace
