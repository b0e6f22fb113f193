#pragma once

#include "Class/Module/ToolBarView/TradeBaseView/TradeBaseView.h"
#include "Class/Module/ToolBarView/TradeView/AccountSelViewController.h"
#include "DataBase/NetData/StockQuoteInf.h"
#include "DataBase/TradeDataBase/TradeDataBase.h"
#include "Module/DetailShowPanel/BuySellPanelView.h"
#include "Module/DetailShowPanel/SearchStockListController.h"

#include "base/Timer.h"
#include "ui/Alert.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/Popover.h"
#include "ui/TextField.h"

#include <cstdint>
#include <string>
#include <string_view>

// The order panel the tool bar opens as "买入" (type 0) or "卖出" (type 1). The user enters a
// security by its six-digit code or pinyin initials (the search popover lists at most 70 matches
// of the first 200, the text as typed), or the detail screen and the holdings hand one over; the
// gateway's security reply (11102) fills name, five-level book, limits and price. The panel shows
// the available funds (11104) and the volume that can be bought (11110) or sold (11146), checks
// the form, confirms, and sends the order (11116); the confirmation clears the form at once, and
// the reply only reports the entrust number. Replies come under "TradeViewNotify".
//
// An order goes out only for the security whose data the panel shows: a typed code not yet loaded
// is asked for first, and until its reply the order button answers "股票信息未就绪，请稍后再下单。".
// The panel registers with the trade message centre while it lives; its order timer, its popovers
// and its observation end with it, so that a late reply or firing reaches nobody.
class TradeView : public TradeBaseView,
                  public TradeDataDelegate,
                  public SearchStockListControllerDelegate,
                  public BuySellPanelViewDelegate,
                  public AccountSelViewControllerDelegate {
public:
    enum TradeType : uint16_t { kBuy = 0, kSell = 1 };
    static constexpr const char *kObserverName = "TradeViewNotify";
    static constexpr size_t kCodeLength = 6;
    static constexpr int kVolumeStep = 100;
    static constexpr double kOrderTimeout = 15;
    static constexpr int kConfirmTag = 1001;
    static constexpr int kCodeTag = 231, kPriceTag = 232, kVolumeTag = 233, kFundsLineTag = 234,
                         kVolumeLineTag = 235, kOrderTag = 236, kSubTag = 100, kAddTag = 101;
    static constexpr const char *kNotReady = "股票信息未就绪，请稍后再下单。";

    explicit TradeView(gfx::Rect frame);
    ~TradeView() override;

    // A gateway price ("2.01") in thousandths, digit by digit: a fourth decimal rounds half up;
    // text that is no number is 0.
    static int32_t PriceThousandths(std::string_view text);

    void SetTradeType(uint16_t type);
    uint16_t buySellType() const { return m_buySellType; }
    // A six-digit code from the detail screen: shown and loaded.
    virtual void SetTradeProdCode(const std::string &code);
    // A holding handed over by the tool bar: code, name and price shown, then the code loaded; the
    // volume is not used.
    void SetTradeCode(const std::string &code, const std::string &name, const std::string &price,
                      const std::string &vol);
    // A complete code not yet shown is asked for; anything else forgets the shown security.
    void changeStockCode(const std::string &code);

    // The controls' actions.
    void codeTextChanged();
    void codeEditingEnded();
    void accountAction();
    void volumeStepAction(int tag);
    void tradeAction();
    void confirmed();

    base::Opt<void> OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rspData,
                                   const std::optional<base::Dict> &params) override;
    base::Opt<void> ReturnSelectedStock(const std::string &code) override;
    base::Opt<void> ReturnSelBuySellValue(const std::string &price) override;
    base::Opt<void> ReturnSelectedValueDict(const base::Dict &row, int index) override;

    ui::Button &accountButton() { return *m_accountBtn; }
    ui::TextField &codeField() { return *m_codeField; }
    ui::Label &nameLabel() { return *m_nameLabel; }
    ui::TextField &priceField() { return *m_priceField; }
    ui::Label &volumeLine() { return *m_volumeLine; }
    ui::TextField &volumeField() { return *m_volumeField; }
    ui::Button &subButton() { return *m_subBtn; }
    ui::Button &addButton() { return *m_addBtn; }
    ui::Label &fundsLine() { return *m_fundsLine; }
    ui::Button &tradeButton() { return *m_tradeBtn; }
    ui::Label &upLimitLabel() { return *m_upLimitLabel; }
    ui::Label &downLimitLabel() { return *m_downLimitLabel; }
    BuySellPanelView &buySellPanelView() { return *m_buySellPanelView; }

    const base::Ref<StockBasicInf> &curStockInf() const { return m_curStockInf; }
    const std::string &curInputCode() const { return m_curInputCode; }
    int curAccountType() const { return m_curAccountType; }
    int curExchangeNum() const { return m_curExchangeNum; }
    const std::string &accountStr() const { return m_accountStr; }
    int cruSelAccount() const { return m_cruSelAccount; }
    const std::optional<std::string> &curAvailableMoney() const { return m_curAvailableMoney; }
    const base::Array &searchResultArray() const { return m_searchResultArray; }
    const base::Ref<ui::Popover> &searchPopover() const { return m_searchPopover; }
    const base::Ref<ui::Popover> &accountPopover() const { return m_accountPopover; }
    bool isOrderTimerRunning() const { return m_WT_Timer != nullptr; }

protected:
    void initData() override;
    void initUI(gfx::Rect frame) override;

private:
    struct FieldRelay;
    struct PopoverRelay;
    struct AlertRelay;

    void buildForm();
    void chooseAccount(int index);
    void forgetSecurity();
    void clearForm();
    void showSecurity(const base::Dict &row);
    void pickAccountFor(int accountType);
    void requestVolume();
    void showFunds(const TradeRspData &rsp);
    void showVolume(const std::string &volume);
    void orderAnswered(TradeRspData &rsp);
    void orderTimedOut();
    void stopOrderTimer();
    void popoverClosed(ui::Popover &popover);
    void closeSearchPopover();
    std::string priceText(int32_t thousandths) const;
    std::string confirmationText() const;
    static base::Ref<TradeNetDataCenter> netData();

    uint16_t m_buySellType = kBuy;
    base::Array m_accountArray;
    int m_cruSelAccount = -1;
    std::string m_accountStr;
    int m_curAccountType = -1;
    int m_curExchangeNum = -1;
    std::string m_curInputCode;
    // The code whose reply the panel shows; empty while none does.
    std::string m_shownCode;
    base::Ref<StockBasicInf> m_curStockInf;
    std::optional<std::string> m_curAvailableMoney;
    base::Array m_searchResultArray;
    base::Ref<base::Timer> m_WT_Timer;

    base::Ref<ui::Button> m_accountBtn, m_subBtn, m_addBtn, m_tradeBtn;
    base::Ref<ui::TextField> m_codeField, m_priceField, m_volumeField;
    base::Ref<ui::Label> m_nameLabel, m_volumeLine, m_fundsLine, m_upLimitLabel, m_downLimitLabel;
    base::Ref<BuySellPanelView> m_buySellPanelView;
    base::Ref<FieldRelay> m_fieldRelay;
    base::Ref<PopoverRelay> m_popoverRelay;
    base::Ref<AlertRelay> m_alertRelay;
    base::Ref<ui::Popover> m_searchPopover, m_accountPopover;
    base::Ref<SearchStockListController> m_searchList;
};
