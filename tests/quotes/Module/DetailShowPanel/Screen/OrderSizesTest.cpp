#include "DetailScreenFixture.h"

namespace detailscreen {
namespace {

using Degree = TigerSubDetailView::Degree;

// A server's order-size rates past the whole and below zero travel from the loopback server
// through the detail data to the "龙虎盘" tab: each side is held to the whole there, so no slice
// runs backwards and no share or volume turns negative.
TEST_F(DetailScreenTest, HostileOrderSizeRatesReachTheRingHeldToTheWhole) {
    // Buy medium, large, extra-large past the whole and below zero; sell summing past it.
    quotes.setOrderSizeRates(peers::QuoteServer::OrderSizeRates{30000, -5, 20000, 6000, 6000, 0});
    readyWithoutAccount();
    auto screen = open("SH600000");
    RightStockDetailPanel *panel = screen->rightStockDetailPanel();
    ASSERT_TRUE(panel);
    panel->slideMenuViewTop().SetSelectedItemIndex(1);
    panel->ReturnSelectedIndex(1, panel->slideMenuViewTop());
    app.advance(2);
    app.render();

    TigerSubDetailView &ring = panel->tigerSubDetailView();
    ASSERT_TRUE(ring.stockInfo());
    EXPECT_EQ(ring.stockInfo()->buyZDRate, 30000) << "the record holds what the server sent";
    EXPECT_EQ(ring.stockInfo()->buyDDRate, -5);
    // Buy: extra-large and medium half each, drawn from the bottom clockwise; sell: medium and
    // large half each.
    EXPECT_EQ(ring.redDegreeArray(), (TigerSubDetailView::Degrees{Degree{270, 360}, Degree{360, 360},
                                                                  Degree{360, 450}, Degree{450, 450}}));
    EXPECT_EQ(ring.greenDegreeArray(), (TigerSubDetailView::Degrees{Degree{90, 90}, Degree{90, 180},
                                                                    Degree{180, 270}, Degree{270, 270}}));
    const char *shares[2][4] = {{"0.00%", "50.00%", "0.00%", "50.00%"},
                                {"0.00%", "50.00%", "50.00%", "0.00%"}};
    for (int section = 0; section < 2; ++section)
        for (int row = 0; row < 4; ++row) {
            SCOPED_TRACE(testing::Message() << "section " << section << " row " << row);
            base::Ref<ui::TableCell> shown = ring.valueTableView().cellForRow({section, row});
            auto *cell = dynamic_cast<TigerDetailCell *>(shown.get());
            ASSERT_TRUE(cell);
            EXPECT_EQ(cell->valueLabel2().text(), shares[section][row]);
            EXPECT_EQ(cell->valueLabel1().text().find('-'), std::string::npos) << cell->valueLabel1().text();
        }
}

} // namespace
} // namespace detailscreen
