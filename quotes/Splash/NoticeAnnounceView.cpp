#include "NoticeAnnounceView.h"

#include "Common/MakerInfo.h"
#include "gfx/Font.h"
#include "ui/Application.h"
#include "ui/ImageView.h"

NoticeAnnounceView::NoticeAnnounceView(gfx::Rect frame) : ui::View(frame) {}

std::string NoticeAnnounceView::noticeText() {
    const std::string maker = MakerInfo::Name;
    return maker +
           "提醒您全面了解使用移动互联网设备炒股的风险，如果您继续使用该业务，表明您已经完全了解并"
           "同意承担可能存在的全部风险。 风险提醒：\n\n\n"
           "1、 由于可能受到通信状况、服务系统繁忙或故障、用户使用移动互联网设备的性能及故障、黑客攻击"
           "， 以及互联网上其他不可预测的因素的影响，有可能造成行情信息的延迟、中断、错误的风险。 "
           "在此情况下，建议您利用其他方式获取行情信息及进行交易。\n\n"
           "2、" +
           maker +
           "提供的所有文字、数据，仅作为您的参考之用，不构成任何的投资建议，用户据此操作造成的"
           "任何风险和后果，均由用户自行负责。\n\n"
           "3、使用" +
           maker + "软件，要产生GPRS上网流量费，该费用为电信运营商收取，与" + maker +
           "公司无关。\n\n"
           "4、 在使用" +
           maker +
           "软件进行委托交易时，请注意交易密码的安全，并请妥善保管好自己所使用的移动互"
           "联网设备、 个人信息以及密码，以防被他人盗用。凡密码 正确的情况下进行的交易行为，证券公司均视"
           "其为有效行为，用户对其负全权责任。 " +
           maker +
           "对用户使用移动互联网设备炒股存在的风险及其由此造成"
           "的任何损失不承担任何法律责任。 "
           "若您在使用软件过程中遇到任何的问题，敬请拨打" +
           maker + "客服热线：" + MakerInfo::ServicePhone + "。";
}

void NoticeAnnounceView::setUp() {
    ui::View::setUp();
    float w = bounds().width(), h = bounds().height();
    setBackgroundColor(gfx::Color::black());

    gfx::Rect titleFrame{0, 0, w, 47};
    addSubview(base::make<ui::ImageView>(titleFrame, gfx::Image::named("notice_title_bg.png")));
    auto title = base::make<ui::Label>(titleFrame);
    title->setFont(gfx::Font::boldSystem(25));
    title->setTextColor(gfx::Color::white());
    title->setTextAlignment(gfx::Align::Center);
    title->setBackgroundColor(gfx::Color::clear());
    title->setText("免责声明");
    addSubview(title);

    body_ = base::make<ui::Label>(gfx::Rect{100, 47, w - 200, h - 280});
    body_->setTextColor(gfx::Color::white());
    body_->setBackgroundColor(gfx::Color::clear());
    body_->setNumberOfLines(0);
    body_->setText(noticeText());
    addSubview(body_);

    refuse_ = ui::Button::custom({20, h - 67, 80, 30});
    refuse_->tag = RefuseTag;
    refuse_->setTitle("不接受");
    accept_ = ui::Button::custom({w - 100, h - 67, 80, 30});
    accept_->tag = AcceptTag;
    accept_->setTitle("接受");
    base::Weak<NoticeAnnounceView> weak = weakSelf<NoticeAnnounceView>();
    for (const base::Ref<ui::Button> &button : {refuse_, accept_}) {
        button->setBackgroundImage(gfx::Image::named("login_button.png"));
        int tag = button->tag;
        button->addTarget(base::Action("noticeAction:",
                                       [weak, tag](base::Object *) {
                                           if (auto alive = weak.lock())
                                               alive->noticeAction(tag);
                                       }),
                          ui::TouchUpInside);
        addSubview(button);
    }
}

void NoticeAnnounceView::noticeAction(int tag) {
    if (tag == RefuseTag) {
        ui::Application::shared().terminate(0);
    } else if (tag == AcceptTag) {
        if (auto listener = delegate.lock())
            listener->IsAcceptNotice(*this);
    }
}
