#pragma once

#include "Module/NewsDataBaseMgnt/NewsData/NewsData.h"

#include "ui/ActivityIndicator.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <string>

// Today's information mines of one security: the list screen of a 320 × 340 popover, opened from
// a quote row's information button and from the mark on the detail screen's intraday chart. The
// opener makes a new screen for each opening, sets the security and shows the screen as the root
// of a navigation controller in the popover; the screen pushes the article screen onto it.
//
// The mines are asked once, when the security is set, for the quote server's trading day
// (`IO_ServerDate`: 0 before the server has told its time, which lists nothing); they are never
// refreshed. Rows read "1. title", "2. title", … in the document's order on alternating dark
// blues. A single mine opens its article at once; a tapped row opens its own. A failed request
// only stops the indicator: the list stays as it was.
class InfoBombViewController : public ui::ViewController, public NewsDataDelegate {
public:
    static constexpr gfx::Size kContentSize{320, 340};
    static constexpr float kRowHeight = 50, kFontSize = 15;
    static constexpr const char *kTitle = "信息地雷";
    static constexpr const char *kDetailTitle = "信息地雷正文";
    static constexpr const char *kCellIdentifier = "InfoBombCell";

    void setUp() override;
    void viewDidLoad() override;

    // Asks the security's mines of the trading day and titles the screen with its name.
    void setStockCode(const std::string &code, const std::string &name);

    base::Opt<void> updateTodayInfoBombArray(const Headlines &items) override;
    base::Opt<void> updateTodayInfoBombArrayError(const std::string &failMsg) override;

    // Pushes the article screen of the row's mine and asks its article.
    void showDetailVC(ui::IndexPath path);

    // For the opener and tests.
    const std::string &stockCode() const { return stockCode_; }
    ui::TableView *tableView() const { return tv_.get(); }
    ui::ActivityIndicator *indicator() const { return indView_.get(); }
    const Headlines &dataArray() const { return dataArray_; }
    NewsData &newsData() const { return *newsData_; }

private:
    struct Rows;
    struct Taps;

    base::Ref<ui::TableView> tv_;
    base::Ref<ui::ActivityIndicator> indView_;
    base::Ref<Rows> rows_;
    base::Ref<Taps> taps_;
    Headlines dataArray_;
    base::Ref<NewsData> newsData_;
    std::string stockCode_;
};
