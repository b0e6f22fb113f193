#pragma once

#include "SmallMinLineClass.h"

#include "Components/CMWaitingAlertView.h"
#include "ui/View.h"

// The small intraday chart of an index banner: a spinner until the first data, then the chart
// drawn into the view's bounds on every draw pass. The banner hands the quote snapshot and
// minutes in. Main thread only.
class SmallMinLineView : public ui::View {
public:
    // The spinner's box, and the room its position leaves.
    static constexpr float SpinnerSize = 50, SpinnerMarginW = 90, SpinnerMarginH = 50;

    explicit SmallMinLineView(gfx::Rect frame);

    // Stops and removes the spinner (for good), passes the data to the chart and redraws.
    void Update(base::Ref<StockQuoteInf> basicInf, base::Ref<MinLineList> mlineList);
    void SetChartBackgroundColor(base::Ref<gfx::Color> color);
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

    SmallMinLineClass &mobj() { return *m_mobj; }
    // None once the first data came.
    const base::Ref<CMWaitingAlertView> &waitingAlert() const { return m_waitingAlert; }

private:
    gfx::Point spinnerPoint() const;

    base::Ref<SmallMinLineClass> m_mobj;
    base::Ref<CMWaitingAlertView> m_waitingAlert;
};
