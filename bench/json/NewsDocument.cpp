#include "NewsDocument.h"

#include <cstdint>
#include <cstdio>

namespace {

const char *const subjects[] = {"沪深两市", "创业板指", "北向资金", "券商板块", "新能源汽车", "半导体",
                                "贵州茅台", "央行",     "证监会",   "科创50",   "银行股",     "光伏产业链"};
const char *const events[] = {"早盘高开",     "午后跳水",       "全天震荡走高",
                              "尾盘拉升",     "成交额突破万亿", "净流入超百亿",
                              "发布重要公告", "召开新闻发布会", "维持稳健基调"};
const char *const details[] = {"机构认为后市仍有结构性机会", "市场情绪明显回暖", "短期或将延续分化格局",
                               "投资者需关注政策落地节奏", "多只个股涨停"};
const char *const sources[] = {"证券时报", "上海证券报", "中国证券报", "财新网", "第一财经"};
const char *const stocks[][2] = {{"SH600519", "贵州茅台"},
                                 {"SZ000001", "平安银行"},
                                 {"SZ300750", "宁德时代"},
                                 {"SH601318", "中国平安"},
                                 {"SZ002594", "比亚迪"}};

// A fixed pseudo-random sequence, so every run measures the same document.
struct Sequence {
    uint32_t state = 12345;
    uint32_t next(uint32_t bound) {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % bound;
    }
};

template <size_t N> const char *pick(Sequence &r, const char *const (&list)[N]) {
    return list[r.next(N)];
}

} // namespace

std::string newsDocument(int items) {
    Sequence r;
    std::string out = R"({"code":0,"message":"成功","data":{"total":)" + std::to_string(items) +
                      R"(,"page":1,"updated":"2026-12-10 15:00:00","list":[)";
    char buffer[512];
    for (int i = 0; i < items; ++i) {
        const auto *stock = stocks[r.next(5)];
        std::snprintf(
            buffer, sizeof buffer,
            R"(%s{"id":%u,"title":"%s%s，%s","summary":"%s%s。%s，%s。",)"
            R"("url":"/wap/data/ipad/news/ssxw/2026/1210/%u.html","otime":"2026-12-10 %02u:%02u:%02u",)"
            R"("source":"%s","clicks":%u,"score":%u.%02u,"top":%s,"image":null,)",
            i ? "," : "", 8000000 + i, pick(r, subjects), pick(r, events), pick(r, details),
            pick(r, subjects), pick(r, events), pick(r, details), pick(r, details), 8000000 + i,
            9 + r.next(7), r.next(60), r.next(60), pick(r, sources), r.next(100000), r.next(5), r.next(100),
            r.next(10) == 0 ? "true" : "false");
        out += buffer;
        std::snprintf(
            buffer, sizeof buffer,
            R"("tags":["%s","%s"],"stocks":[{"code":"%s","name":"%s","price":%u.%02u,"change":-%u.%02u,)"
            R"("volume":%u}]})",
            pick(r, subjects), pick(r, sources), stock[0], stock[1], 5 + r.next(2000), r.next(100),
            r.next(10), r.next(100), r.next(100000000));
        out += buffer;
    }
    return out + "]}}";
}
