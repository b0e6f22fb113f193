#pragma once

#include "DataBase/NetData/StkMinLineItem.h"
#include "DataBase/NetData/StockQuoteInf.h"
#include "Module/CommonControls/MinLine/BaseClass/MinLineClassBase.h"
#include "gfx/Context.h"
#include "gfx/Image.h"
#include "gfx/Surface.h"

#include <cmath>
#include <functional>
#include <string>

// Quotes and trading days for the intraday chart tests: Shanghai and Shenzhen sessions,
// 09:30–11:30 and 13:00–15:00, 242 minutes.
namespace intraday {

inline base::Ref<StockQuoteInf> quote(const std::string &code, const std::string &name, int32_t close,
                                      int type = 1) {
    auto info = base::make<StockQuoteInf>();
    info->code = code;
    info->name = name;
    info->type = int8_t(type);
    info->decimal = 2;
    info->closeprice = close;
    info->openprice = close;
    info->highprice = close;
    info->lowprice = close;
    return info;
}

// HHMM of trading minute i of the day.
inline int32_t minuteTime(int i) {
    int minutes = i < 121 ? 9 * 60 + 30 + i : 13 * 60 + (i - 121);
    return minutes / 60 * 100 + minutes % 60;
}

// The first `count` minutes of a day, the price of minute i from `price`; the average follows
// the price halfway, the volume swings. The snapshot's last price, high and low take in every
// minute.
inline base::Ref<MinLineList> day(StockQuoteInf &info, int count, const std::function<int32_t(int)> &price) {
    auto list = base::make<MinLineList>();
    int64_t sum = 0;
    for (int i = 0; i < count; ++i) {
        auto item = base::make<StkMinLineItem>();
        item->time = minuteTime(i);
        item->price = price(i);
        sum += item->price;
        item->ave = int32_t((sum / (i + 1) + item->price) / 2);
        item->vol = 200 + (i * 37) % 900;
        list->push_back(item);
        if (item->price > 0) {
            info.newprice = item->price;
            info.highprice = std::max(info.highprice, item->price);
            info.lowprice = std::min(info.lowprice, item->price);
        }
    }
    return list;
}

// A gently waving day around the previous close.
inline base::Ref<MinLineList> wavingDay(StockQuoteInf &info, int count) {
    int32_t close = info.closeprice;
    return day(info, count, [close](int i) {
        return close +
               int32_t(float(close) * 0.012f * std::sin(float(i) / 30.0f) + float(close) * 0.00005f * i);
    });
}

// A view's drawing as the screen shows it: over the black of the screens behind.
inline gfx::Surface onBlack(const gfx::Surface &content) {
    gfx::Surface out(content.width(), content.height());
    gfx::Context context(out);
    context.setFill(*gfx::Color::black());
    context.fillRect({0, 0, float(content.width()), float(content.height())});
    gfx::Image image(content);
    context.drawImage({0, 0, float(content.width()), float(content.height())}, image);
    return out;
}

struct Canvas {
    gfx::Surface pixels;
    gfx::Context context;
    Canvas(int w, int h) : pixels(w, h), context(pixels) {}
    gfx::Rgba8 at(int x, int y) const { return pixels.pixel(x, y); }
    bool inked(int x, int y) const { return at(x, y).a > 0; }
};

} // namespace intraday
