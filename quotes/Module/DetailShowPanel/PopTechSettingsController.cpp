#include "PopTechSettingsController.h"

#include "Common/FileFunc.h"
#include "Common/Util.h"
#include "Module/StockDataBaseMgnt/Common/TechLine/TechIndex.h"
#include "base/Bundle.h"
#include "base/FileManager.h"
#include "base/PropertyList.h"
#include "gfx/Image.h"
#include "ui/Label.h"

#include <algorithm>

namespace {

constexpr gfx::Size TechButtonSize{75, 28};
constexpr int ButtonsPerRow = 4;
constexpr float ButtonRowStep = 30, ButtonTop = 2, BarTop = 128, BarHeight = 22;
const gfx::Rect PickerFrame{0, 0, 300, 108};
constexpr float PickerScaleX = 0.8f, PickerScaleY = 0.6f, PickerLift = 10;
constexpr float LabelLeft = 15, LabelHeight = 20;

base::Array readList(const std::string &path) {
    std::optional<base::Value> list = base::PropertyList::read(path);
    return list && list->array() ? list->array()->deepCopy() : base::Array();
}

const base::Array *paramsOf(const base::Value &record) {
    const base::Dict *dict = record.dict();
    const base::Value *params = dict ? dict->find("Params") : nullptr;
    return params ? params->array() : nullptr;
}

} // namespace

struct PopTechSettingsController::Wheels : ui::PickerDataSource {
    base::Weak<PopTechSettingsController> screen;

    int numberOfComponents(ui::PickerView &) override {
        auto s = screen.lock();
        return s ? s->componentCount_ : 0;
    }
    int numberOfRows(ui::PickerView &, int) override { return MaxParameter - MinParameter + 1; }
};

struct PopTechSettingsController::Turns : ui::PickerDelegate {
    base::Weak<PopTechSettingsController> screen;

    base::Opt<float> rowHeight(ui::PickerView &, int) override { return RowHeight; }
    base::Opt<float> width(ui::PickerView &, int) override {
        auto s = screen.lock();
        return s ? s->rowWidth_ : Width;
    }
    base::Opt<std::string> title(ui::PickerView &, int row, int) override {
        return std::to_string(row + MinParameter);
    }
    base::Opt<void> didSelect(ui::PickerView &, int row, int component) override {
        if (auto s = screen.lock())
            s->didSelectRow(row, component);
        return {};
    }
};

PopTechSettingsController::PopTechSettingsController() {
    initData();
}

void PopTechSettingsController::initData() {
    std::optional<std::string> bundled = base::Bundle::main().pathFor(TechIndex::BundleSettingsName, "plist");
    defaultTechIndexArray_ = bundled ? readList(*bundled) : base::Array();
    const std::string user = FileFunc::getFilePath(TechIndex::UserSettingsFile);
    base::Array edited = base::FileManager::exists(user) ? readList(user) : base::Array();
    // An unreadable file counts as none.
    techIndexArray_ = edited.empty() ? defaultTechIndexArray_.deepCopy() : edited;
}

void PopTechSettingsController::viewDidLoad() {
    initUI();
}

void PopTechSettingsController::initUI() {
    setContentSizeInPopover(ContentSize);
    view().setBackgroundColor(gfx::Color::clear());
    paramSetBtn_ = makeBarButton("参数设置", {0, BarTop, 300, BarHeight},
                                 &PopTechSettingsController::paramSettingsAction);
    defaultBtn_ =
        makeBarButton("恢复默认", {0, BarTop, 150, BarHeight}, &PopTechSettingsController::resetDefault);
    applyBtn_ = makeBarButton("应用", {150, BarTop, 150, BarHeight}, &PopTechSettingsController::applyAction);
    defaultBtn_->setHidden(true);
    applyBtn_->setHidden(true);
    for (int i = 0; i < TechCount; ++i) {
        const float x = TechButtonSize.w * float(i % ButtonsPerRow);
        const float y = ButtonTop + ButtonRowStep * float(i / ButtonsPerRow);
        techButtons_[size_t(i)] = GenerateTechButton(TechTitles[size_t(i)], {{x, y}, TechButtonSize});
    }
    SetCurrentSelTech(currentIndex_);
}

base::Ref<ui::Button>
PopTechSettingsController::makeBarButton(const std::string &title, gfx::Rect frame,
                                         void (PopTechSettingsController::*action)(ui::Button *)) {
    auto button = ui::Button::custom(frame);
    button->setBackgroundImage(gfx::Image::named("pickerBtn_bg.png"));
    button->setTitle(title);
    button->addTarget(base::action(this, title, action), ui::TouchUpInside);
    view().addSubview(button);
    return button;
}

base::Ref<ui::Button> PopTechSettingsController::GenerateTechButton(const std::string &title,
                                                                    gfx::Rect frame) {
    auto button = ui::Button::custom(frame);
    button->setTitle(title);
    button->titleLabel().setFont(gfx::Font::system(14));
    button->setBackgroundImage(gfx::Image::named("techBtnSelBg.png"), ui::Disabled);
    button->tag = ++endTag_;
    button->addTarget(BASE_ACTION(this, techButtonAction), ui::TouchUpInside);
    view().addSubview(button);
    return button;
}

ui::Button *PopTechSettingsController::techButton(int index) const {
    return index >= 0 && index < TechCount ? techButtons_[size_t(index)].get() : nullptr;
}

void PopTechSettingsController::SetCurrentSelTech(int index) {
    currentIndex_ = std::clamp(index, 0, TechCount - 1);
    currTechSelIndex_ = BeginTag + currentIndex_ + 1;
    for (int i = 0; i < TechCount; ++i)
        if (ui::Button *button = techButton(i))
            button->setEnabled(i != currentIndex_);
}

void PopTechSettingsController::EnableButtons(bool show) {
    for (const auto &button : techButtons_)
        if (button)
            button->setHidden(!show);
}

void PopTechSettingsController::ResetCurrentSettings() {
    if (!isViewLoaded())
        return;
    EnableButtons(true);
    paramSetBtn_->setHidden(false);
    defaultBtn_->setHidden(true);
    applyBtn_->setHidden(true);
    if (paramPickerView_)
        paramPickerView_->setHidden(true);
    layoutTitleLabels(base::Array());
}

void PopTechSettingsController::techButtonAction(ui::Button *sender) {
    if (!sender)
        return;
    SetCurrentSelTech(sender->tag - BeginTag - 1);
    report();
}

void PopTechSettingsController::paramSettingsAction(ui::Button *) {
    EnableButtons(false);
    paramSetBtn_->setHidden(true);
    defaultBtn_->setHidden(false);
    applyBtn_->setHidden(false);
    if (!paramPickerView_) {
        paramPickerView_ = base::make<ui::PickerView>(PickerFrame);
        wheels_ = base::make<Wheels>();
        wheels_->screen = self<PopTechSettingsController>();
        turns_ = base::make<Turns>();
        turns_->screen = self<PopTechSettingsController>();
        paramPickerView_->dataSource = wheels_;
        paramPickerView_->delegate = turns_;
        paramPickerView_->setShowsSelectionIndicator(true);
        paramPickerView_->setTransform(gfx::Transform::scale(PickerScaleX, PickerScaleY));
        const gfx::Point c = paramPickerView_->center();
        paramPickerView_->setCenter({c.x, c.y - PickerLift});
        view().addSubview(paramPickerView_);
    }
    paramPickerView_->setHidden(false);
    SetSelectedTech(TechTitles[size_t(currentIndex_)]);
}

int PopTechSettingsController::recordIndex(const base::Array &list, const std::string &techName) {
    int found = -1;
    for (size_t i = 0; i < list.size(); ++i)
        if (const base::Dict *dict = list[i].dict(); dict && dict->get("TechName").stringValue() == techName)
            found = int(i);
    return found;
}

base::Value PopTechSettingsController::currentRecord() const {
    int i = recordIndex(techIndexArray_, TechTitles[size_t(currentIndex_)]);
    return i >= 0 ? techIndexArray_[size_t(i)] : base::Value();
}

int PopTechSettingsController::rowFor(int64_t parameter) {
    return int(std::clamp<int64_t>(parameter, MinParameter, MaxParameter) - MinParameter);
}

void PopTechSettingsController::SetSelectedTech(const std::string &techName) {
    const int i = recordIndex(techIndexArray_, techName);
    const base::Array *params = i >= 0 ? paramsOf(techIndexArray_[size_t(i)]) : nullptr;
    const base::Array none;
    const base::Array &list = params ? *params : none;
    componentCount_ = int(list.size());
    rowWidth_ = componentCount_ > 0 ? Width / float(componentCount_) : Width;
    paramPickerView_->reloadAllComponents();
    // The wheels turn within the rows they have been given room for.
    paramPickerView_->layoutIfNeeded();
    showParams(list, true);
    layoutTitleLabels(list);
}

void PopTechSettingsController::showParams(const base::Array &params, bool animated) {
    if (!paramPickerView_)
        return;
    for (int c = 0; c < std::min(int(params.size()), paramPickerView_->numberOfComponents()); ++c) {
        const base::Dict *param = params[size_t(c)].dict();
        paramPickerView_->selectRow(rowFor(param ? param->get("Parameter").intValue() : MinParameter), c,
                                    animated);
    }
}

void PopTechSettingsController::layoutTitleLabels(const base::Array &params) {
    for (int tag = LabelTagBase; tag < LabelTagBase + TechCount; ++tag)
        if (ui::View *label = view().viewWithTag(tag))
            label->removeFromSuperview();
    const float w = params.empty() ? Width : Width / float(params.size());
    for (size_t i = 0; i < params.size(); ++i) {
        auto label = base::make<ui::Label>(gfx::Rect{w * float(i) + LabelLeft, 0, w, LabelHeight});
        label->tag = LabelTagBase + int(i);
        const base::Dict *param = params[i].dict();
        label->setText(param ? param->get("ParamName").stringValue() : "");
        label->setFont(gfx::Font::boldSystem(16));
        label->setTextColor(gfx::Color::white());
        label->setTextAlignment(gfx::Align::Center);
        label->setShadowColor(gfx::Color::darkGray());
        label->setShadowOffset({1, 1});
        label->setBackgroundColor(gfx::Color::clear());
        view().addSubview(label);
    }
}

void PopTechSettingsController::didSelectRow(int, int) {
    const int i = recordIndex(techIndexArray_, TechTitles[size_t(currentIndex_)]);
    if (i < 0 || !paramPickerView_)
        return;
    const base::Dict *old = techIndexArray_[size_t(i)].dict();
    const base::Array *oldParams = paramsOf(techIndexArray_[size_t(i)]);
    base::Dict record = old->deepCopy();
    base::Array params;
    for (size_t c = 0; oldParams && c < oldParams->size(); ++c) {
        base::Dict param = (*oldParams)[c].dict() ? (*oldParams)[c].dict()->copy() : base::Dict();
        if (int(c) < paramPickerView_->numberOfComponents())
            param.set("Parameter", paramPickerView_->selectedRow(int(c)) + MinParameter);
        params.add(param);
    }
    record.set("Params", params);
    techIndexArray_[size_t(i)] = record;
}

void PopTechSettingsController::resetDefault(ui::Button *) {
    const std::string name = TechTitles[size_t(currentIndex_)];
    const int i = recordIndex(techIndexArray_, name), d = recordIndex(defaultTechIndexArray_, name);
    if (i < 0 || d < 0)
        return;
    techIndexArray_[size_t(i)] = defaultTechIndexArray_[size_t(d)].dict()->deepCopy();
    if (const base::Array *params = paramsOf(techIndexArray_[size_t(i)]))
        showParams(*params, true);
}

void PopTechSettingsController::applyAction(ui::Button *) {
    if (!base::PropertyList::write(techIndexArray_, FileFunc::getFilePath(TechIndex::UserSettingsFile)))
        Util::ShowTipBox(SaveFailedTip);
    ResetCurrentSettings();
    report();
}

void PopTechSettingsController::report() {
    auto host = delegate.lock();
    if (!host)
        return;
    const base::Value record = currentRecord();
    const base::Array *params = paramsOf(record);
    host->ReturnSelectedTechName(TechTitles[size_t(currentIndex_)], params ? params->copy() : base::Array());
}
