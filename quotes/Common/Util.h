#pragma once

#include "base/Value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace gfx {
class Image;
}
namespace ui {
class Button;
}

// Shared display rules of the market screens: prices, changes, percentages, volumes, amounts
// and market values in the Chinese market style. Class operations only; never instantiated.
//
// Integers are converted to single precision before any division, and decimals are printed
// with the C library's rounding. Decimal counts are taken within 0..10 whatever the data says.
class Util {
public:
    Util() = delete;

    // The value with `dig` decimals, its fraction cut (not rounded again) so that the text fits
    // `len` characters; the integer part is never cut. "--" for 0.
    static std::string FormatDStr(float value, unsigned len, int dig);
    // The value truncated toward zero, or its "%f" text cut to `len` characters when the
    // whole number leaves room for a fraction.
    static std::string FormatFloatClip(float value, int len);
    // Axis text with an automatic unit: 亿 from 10^8, 万 from 10^6.
    static std::string FormatFloatWithUnit(float value, int digits);
    // The decimal digits of the number, each followed by a line break, so that a row number reads
    // top to bottom in the narrow serial strip of list rows (12 gives "1\n2\n").
    static std::string FormatSerialNumberVertical(int number);
    // Writes the decimal text of the value and a terminating NUL into `c`, which must hold
    // 12 characters.
    static void itoa(int value, char *c);

    // Price scaled by 10^dig, shown with `displayDig` decimals; "--" for 0.
    static std::string FormatPrice(float price, int dig, int displayDig);
    static std::string FormatPrice(int price, int dig);
    // Change against the reference price, without a "+" for rises.
    static std::string FormatZDString(int price, int closeprice, int dot);
    // Rise in percent against the reference price, with a "+" for rises.
    static std::string FormatZAFString(int price, int closeprice, bool unit);
    // Amplitude: |first − high| / first in percent.
    static std::string FormatZEFString(int price, int highprice, bool unit);
    // (value / comparePrice − 1) in percent with `dig` decimals and "%".
    static std::string FormatRange(int value, int comparePrice, int dig);

    static std::string FormatPer(float ratio, bool unit);
    static std::string FormatPercent(float ratio, int dig, bool unit = true);
    // value / radix, not multiplied by 100.
    static std::string FormatDivisionRate(int value, int radix, bool unit, int dig = 2);
    static std::string FormatDivisionValue(int value, int radix, int dig);
    // Big-order indicator stored × 1000.
    static std::string getDDXString(int value);
    static std::string FormatFloat(float value, int digit);
    static std::string FormatIntValue(int value);
    static std::string FormatIntValue(int value, std::string_view unit);

    // Volumes in 手 with 万 above 9,999 and 亿 above 99,999,999; negative volumes printed whole.
    static std::string FormatVolume(int volume, int len, int dig);
    static std::string FormatVolumeByLength(int volume, int len);
    // Volumes with 万 from 10,000 and 亿 from 100,000,000; "--" for 0 or less.
    static std::string FormatVolume(int volume, int dig);
    // Order-book volumes: K and M for Hong Kong codes.
    static std::string FormatBuySellPanVolume(int volume, std::string_view stockCode, int stockType);
    // Fund shares in units of 万.
    static std::string FormatFundSharesByLength(int value, int len);
    static std::string FormatFundShares(int value, int dig);
    // Amounts in units of 万.
    static std::string FormatAmount(int amount, int dig);
    // Market values in units of 亿.
    static std::string FormatMarketValue(int value, int dig);

    // Divisor and decimals of a volume axis whose largest value is `volume`.
    static void getFormatVolumeMultiple(int volume, int &multiple, int &dig);
    static std::string getFormatVolumeUnit(int volume);
    static std::string FormatVolumeByMultiple(int volume, int multiple, int dig);

    static std::string getDDType(int type);
    // A packed wide number: 29-bit magnitude or 30-bit negative, times 16^k.
    static int64_t convertVal(uint32_t word);

    // Dates are yyyymmdd integers, session times HHMM and tick times HHMMSS.
    static std::string FormatDate(int date);
    // "2012-03-05" with the separator "-"; "-" for no date.
    static std::string formatDate(int date, std::string_view flag);
    // "9:30" for HHMM; " 9:30:05" for HHMMSS, or only ":05" when the seconds alone are asked for.
    static std::string FormatTime(int time, bool isShowSecond);
    // "12-3-5" for day, week and month candles (yyyymmdd); for minute candles the packed bar time
    // as "12-3-5 9:35", or "3-5 9:35" without the full text.
    static std::string FormatKLineTime(int time, int ktype, bool showFullText);
    static std::string getKTypeName(int ktype);
    // Trading minutes from start to end (HHMM), both ends counted; an end before the start is on
    // the next day.
    static int getMinCount(int start, int endtime);
    // The two yyyymmdd dates packed in a validity word of the account rights; 0 for a half with
    // an empty field.
    static void formatPowerDate(uint32_t word, int &pbeginDate, int &pendDate);
    static void parsePowerDate(uint32_t word, int &byear, int &bmonth, int &bday, int &eyear, int &emonth,
                               int &eday);
    // Whether right number `index` is granted; NO for an index outside 0..63.
    static bool isValidPower(uint64_t mask, int index);

    // Security codes are a two-letter market prefix and the exchange code: "SH600000".
    // The market prefix: the first two characters, "" for a shorter code.
    static std::string getMarketCode(std::string_view code);
    // The code without its prefix, and its last two characters; "" for 2 characters or fewer.
    static std::string getNumCode(std::string_view code);
    static std::string getNumCodeLast2(std::string_view code);
    // Shanghai or Shenzhen; also YES when there is no code at all.
    static bool isSHSZCode(std::optional<std::string_view> code);
    static bool belongToMarket(std::string_view market, std::optional<std::string_view> code);
    // Futures security types.
    static bool isQHType(int type);

    static bool isEmptyStr(std::string_view str);
    // Equal texts; an empty text and no text count as the same.
    static bool isSameStr(std::string_view str, std::string_view str2);
    static std::string getNotNilStr(std::optional<std::string_view> str);
    // The dictionary's value for the key, or "" when it has none.
    static base::Value objectForKey(const std::string &key, const base::Dict &dic);
    // Whether a string element of the array equals the text; NO for no text.
    static bool strInArray(std::optional<std::string_view> str, const base::Array &array);

    // Truncation toward zero held within the 32-bit range, 0 for not a number: for scales computed
    // in floating point from prices that come over the network.
    static int32_t truncToInt(double value);

    // Value ↔ pixel mappings of the chart axes. Values outside min..max stick to the edges; a
    // flat range (max equal to min) maps to the bottom or left edge.
    static float mappingAsixYValue(float max, float min, float v, float top, float bottom);
    static float mappingValueByAsixY(float max, float min, float y, float top, float bottom);
    static float mappingAsixXValue(float max, float min, float v, float left, float right);

    // The installation id: the prefix and 16 hexadecimal digits, made once and kept in
    // "uuid.plist" of the documents directory.
    static std::string getUUID(std::string_view prefix);
    // No memory probe on this platform: always 0.
    static double getAvailableMemory();

    // Alerts and button set-ups for the screens; they live in the quotes_common_ui library.
    // A modal alert with the title, the message and the one button "关闭"; nobody hears the answer.
    static void ShowInfoBox(const std::string &message, const std::string &title = "提示");
    // The transient message box over the main view, gone after 2.5 s.
    static void ShowTipBox(const std::string &message);
    // A clear background and, when there is one, the image of the normal state.
    static void setImgBtnProp(ui::Button &btn, const base::Ref<gfx::Image> &img);
    static void setImgBgBtnProp(ui::Button &btn, const std::string &title,
                                const base::Ref<gfx::Image> &imgBG);
    static void setHorzBtnProp(ui::Button &btn, const base::Ref<gfx::Image> &imgBG, const std::string &title);
    // A drop-down look: the title in a label tagged 66 left of the arrow of "selbox.png". A button
    // without a width or height gets the frame (0, 0, width, height).
    static void setSelBoxBtnProp(ui::Button &btn, const std::string &title, float width, float height);
    static void setSelBoxTitle(ui::Button &btn, const std::string &title);
    // The title written top to bottom, one character per line from 4 characters on.
    static void setVertBtnProp(ui::Button &btn, const base::Ref<gfx::Image> &imgBG, const std::string &title);
};
