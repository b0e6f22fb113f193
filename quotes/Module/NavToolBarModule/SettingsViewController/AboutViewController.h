#pragma once

#include "ui/TextView.h"
#include "ui/ViewController.h"

#include <string>

// The about page ("关于") and the risk warning ("风险提示") of the settings popover: one read-only
// text on the settings screens' grey. The type is set before the view loads; any other type shows
// no text.
class AboutViewController : public ui::ViewController {
public:
    enum Type { About = 1, RiskWarning = 2 };
    static inline const gfx::Rect kTextFrame{20, 20, 280, 460};

    AboutViewController();
    void viewDidLoad() override;

    // The texts of the two pages.
    static std::string aboutText();
    static std::string riskText();

    int aboutType = About;
    ui::TextView *textView() const { return m_textView.get(); }

private:
    base::Ref<ui::TextView> m_textView;
};
