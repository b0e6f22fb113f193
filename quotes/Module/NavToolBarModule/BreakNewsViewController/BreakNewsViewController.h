#pragma once

#include "Module/NavToolBarModule/BreakNewsViewController/BreakingNewsCell.h"

#include "DataBase/NetData/NetDataCenter.h"
#include "base/NotificationCenter.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <string>
#include <vector>

// The "实时解盘" list of the breaking-news popover: every item of the day loaded so far, newest on
// top, each row numbered from 1 (the oldest) up, the number written one digit per line.
//
// The items live in the quote connection's breaking-news record (id n at index n - 1). The list
// fills back through the day by itself: each appearance may ask for up to 50 older items, one at a
// time, each asked once the previous one is in; new items arrive while it shows through the
// coordinator's poll, under the list's notification name, and go on top. Its own requests carry
// the same name, so every reply arrives the same way.
//
// One request at most is outstanding, and while it is the opener leaves the list alone. A reply
// that never comes (the link dropped under it) would block that for the rest of the run: the flag
// is given up when the link is found down and when it comes back, and the back-fill then resumes.
class BreakNewsViewController : public ui::ViewController, public DataPoolDelegate {
public:
    static constexpr gfx::Size kContentSize{320, 400};
    static constexpr const char *kTitle = "实时解盘";
    static constexpr const char *kObserverName = "BreakNewsViewControllerNotify";
    static constexpr int kMaxReqTimes = 50;
    static constexpr int32_t kReplyType = 2600;
    static constexpr size_t kInitialCapacity = 100;

    ~BreakNewsViewController() override;
    void setUp() override;

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    // Shows the non-empty texts of the record's array, last first.
    void SetNewsArray(const std::vector<std::string> &news);
    const std::vector<std::string> &newsArray() const { return m_newsArray; }
    // Whether one of its requests is still out (false once the link was lost or came back).
    bool isRequestingBreakNews();
    int reqTimes() const { return m_reqTimes; }
    ui::TableView &mTableView() { return *m_tableView; }

    void reqDataFirst();
    void reqFrontBreakNews();
    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;

    // "12" → "1\n2\n".
    static std::string FormatSerialNumberVertical(int number);

private:
    struct Table;
    void initData();
    void initUI();
    void BreakNewsViewControllerNotify(const base::Notification &notification);
    void linkChanged(const base::Notification &notification);
    void request(int reqid);

    std::vector<std::string> m_newsArray;
    base::Ref<ui::TableView> m_tableView;
    base::Ref<Table> m_table;
    int m_reqTimes = 0;
    bool m_isRequestingBreakNews = false;
};
