#include "Module/NavToolBarModule/BreakNewsViewController/BreakNewsViewController.h"

#include "DataBase/DataBase.h"

namespace {

const base::Ref<gfx::Color> &backgroundColour() {
    static const base::Ref<gfx::Color> colour = gfx::Color::rgba(225 / 255.f, 228 / 255.f, 233 / 255.f);
    return colour;
}

NetDataCenter *quoteLayer() {
    return DataBase::sharedDataBase()->IO_NetDataCenter().get();
}

RealNews *record() {
    NetDataCenter *layer = quoteLayer();
    return layer ? layer->IO_RealNewsJP.get() : nullptr;
}

} // namespace

struct BreakNewsViewController::Table : ui::TableDataSource, ui::TableDelegate {
    base::Weak<BreakNewsViewController> list;

    int numberOfRows(ui::TableView &, int) override {
        auto l = list.lock();
        return l ? int(l->m_newsArray.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto cell = std::dynamic_pointer_cast<BreakingNewsCell>(
            table.dequeueReusableCell(BreakingNewsCell::kIdentifier));
        if (!cell)
            cell = base::make<BreakingNewsCell>(
                gfx::Rect{0, 0, table.bounds().width(), BreakingNewsCell::kRowHeight});
        auto l = list.lock();
        if (!l)
            return cell;
        const int count = int(l->m_newsArray.size());
        cell->SetCellBgColor(path.row % 2 == 0 ? backgroundColour() : gfx::Color::white());
        cell->SNLabel().setText(FormatSerialNumberVertical(count - path.row));
        cell->newsLabel().setText(l->m_newsArray.at(size_t(path.row)));
        return cell;
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override {
        return BreakingNewsCell::kRowHeight;
    }
};

BreakNewsViewController::~BreakNewsViewController() {
    base::NotificationCenter::shared().removeObserver(this);
}

void BreakNewsViewController::setUp() {
    ui::ViewController::setUp();
    initData();
}

void BreakNewsViewController::initData() {
    base::Weak<BreakNewsViewController> weak = weakSelf<BreakNewsViewController>();
    base::NotificationCenter &centre = base::NotificationCenter::shared();
    centre.addObserver(weak, kObserverName, [weak](const base::Notification &n) {
        if (auto alive = weak.lock())
            alive->BreakNewsViewControllerNotify(n);
    });
    centre.addObserver(weak, DataBase::CommonNotify, [weak](const base::Notification &n) {
        if (auto alive = weak.lock())
            alive->linkChanged(n);
    });
    m_isRequestingBreakNews = false;
    m_reqTimes = 0;
    setTitle(kTitle);
    setContentSizeInPopover(kContentSize);
    m_newsArray.reserve(kInitialCapacity);
}

void BreakNewsViewController::viewDidLoad() {
    initUI();
    reqDataFirst();
}

void BreakNewsViewController::initUI() {
    view().setBackgroundColor(backgroundColour());
    setContentSizeInPopover(kContentSize);
    m_tableView = base::make<ui::TableView>(gfx::Rect{0, 0, kContentSize.w, kContentSize.h});
    m_tableView->setBackgroundColor(gfx::Color::clear());
    m_tableView->rowHeight = BreakingNewsCell::kRowHeight;
    m_tableView->sectionHeaderHeight = 0;
    m_table = base::make<Table>();
    m_table->list = weakSelf<BreakNewsViewController>();
    m_tableView->dataSource = m_table;
    m_tableView->delegate = m_table;
    view().addSubview(m_tableView);
}

void BreakNewsViewController::viewDidAppear(bool) {
    m_reqTimes = 0;
}

void BreakNewsViewController::SetNewsArray(const std::vector<std::string> &news) {
    m_newsArray.clear();
    for (auto it = news.rbegin(); it != news.rend(); ++it)
        if (!it->empty())
            m_newsArray.push_back(*it);
    if (m_tableView)
        m_tableView->reloadData();
}

bool BreakNewsViewController::isRequestingBreakNews() {
    // A request sent on a link that has gone since gets no reply.
    if (m_isRequestingBreakNews && !DataBase::sharedDataBase()->isHQConnected())
        m_isRequestingBreakNews = false;
    return m_isRequestingBreakNews;
}

void BreakNewsViewController::request(int reqid) {
    NetDataCenter *layer = quoteLayer();
    if (!layer)
        return;
    m_isRequestingBreakNews = true;
    layer->RequestRealInformation(std::string(kObserverName), reqid);
}

void BreakNewsViewController::reqDataFirst() {
    RealNews *news = record();
    if (news && news->lastid > 0)
        reqFrontBreakNews();
    else
        request(0);
}

void BreakNewsViewController::reqFrontBreakNews() {
    RealNews *news = record();
    if (!news || news->firstid < 2 || m_reqTimes >= kMaxReqTimes)
        return;
    ++m_reqTimes;
    request(news->firstid);
}

void BreakNewsViewController::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &) {
    if (reqType != kReplyType)
        return;
    m_isRequestingBreakNews = false;
    RealNews *news = record();
    if (!news || news->currentid == 0)
        return;
    SetNewsArray(news->array);
    if (news->currentid > 0)
        reqFrontBreakNews();
}

void BreakNewsViewController::BreakNewsViewControllerNotify(const base::Notification &notification) {
    DataBase::ProcRecvNotify(notification, *this);
}

void BreakNewsViewController::linkChanged(const base::Notification &notification) {
    if (!notification.userInfo.get("HQConnectStatus").boolValue() || !m_isRequestingBreakNews)
        return;
    // The outstanding request went with the old link: carry on where it left off.
    m_isRequestingBreakNews = false;
    if (RealNews *news = record(); news && news->lastid > 0)
        reqFrontBreakNews();
}

std::string BreakNewsViewController::FormatSerialNumberVertical(int number) {
    std::string vertical;
    for (char digit : std::to_string(number)) {
        vertical += digit;
        vertical += '\n';
    }
    return vertical;
}
