#include "Module/NavToolBarModule/SettingsViewController/AboutViewController.h"

#include "Module/NavToolBarModule/SettingsViewController/SettingsTableController.h"

#include "Common/MakerInfo.h"

#include "base/Str.h"
#include "gfx/Font.h"

namespace {

constexpr const char *kVersion = "V3.00";

} // namespace

AboutViewController::AboutViewController() {
    setContentSizeInPopover(SettingsTableController::kContentSize);
}

std::string AboutViewController::aboutText() {
    return base::str::format("%@ %@\n\n", MakerInfo::ProductName, kVersion) +
           base::str::format("感谢您使用%@！更多资讯与服务，请访问手机网站 %@ 或网站 %@。\n\n",
                             MakerInfo::ProductName, MakerInfo::MobileAddress, MakerInfo::WebAddress) +
           base::str::format("客服热线：%@\n合作热线：%@\n公司地址：%@\n邮政编码：%@\n\n",
                             MakerInfo::ServicePhone, MakerInfo::PartnerPhone, MakerInfo::PostalAddress,
                             MakerInfo::Postcode) +
           base::str::format("%@ 版权所有 2010-2012", MakerInfo::Name);
}

std::string AboutViewController::riskText() {
    return base::str::format("%@提醒您：通过手机等移动互联网设备进行股票交易存在风险，继续使用本软件即表示"
                             "您已了解并接受这些风险。\n\n",
                             MakerInfo::Name) +
           "风险提醒：\n"
           "1. 由于网络、服务或设备故障以及遭受攻击等原因，行情可能出现延迟、中断或错误，此时请通过其他渠道"
           "获取行情或进行交易。\n"
           "2. 本软件提供的所有文字与数据仅供参考，不构成任何投资建议。\n"
           "3. 使用本软件会产生手机上网流量费用，由运营商收取。\n" +
           base::str::format(
               "4. 请妥善保管您的交易密码，凡使用正确密码进行的委托均视为有效，%@不承担由此引起的"
               "任何责任；如有问题，请拨打客服热线 %@。",
               MakerInfo::Name, MakerInfo::ServicePhone);
}

void AboutViewController::viewDidLoad() {
    view().setBackgroundColor(gfx::Color::rgba(225 / 255.f, 228 / 255.f, 233 / 255.f));
    setTitle(aboutType == About ? "关于" : aboutType == RiskWarning ? "风险提示" : "");
    m_textView = base::make<ui::TextView>(kTextFrame);
    m_textView->editable = false;
    m_textView->setFont(gfx::Font::system(16));
    m_textView->setBackgroundColor(gfx::Color::clear());
    m_textView->setText(aboutType == About ? aboutText() : aboutType == RiskWarning ? riskText() : "");
    view().addSubview(m_textView);
}
