#pragma once

#include "CoordinatorFixture.h"

#include "DataBase/ComAPI.h"
#include "ui/View.h"

#include <vector>

namespace freefront {

// A list request (2955 by class) as the server received it.
struct ListRequest {
    int classID, flags, sortField, order, start, count;
    bool operator==(const ListRequest &) const = default;
};

// A finished free login on the loopback quote server as the process-wide coordinator, the virtual
// clock well past the quotes' date 0, and the list requests the server has received.
class PanelTest : public coordinator::CoordinatorTest {
protected:
    PanelTest() {
        DataBase::setSharedDataBase(db);
        readyWithoutAccount();
    }
    ~PanelTest() override {
        settle();
        DataBase::setSharedDataBase(nullptr);
    }

    static gfx::Point centre(gfx::Rect r) { return {r.midX(), r.y() + r.height() / 2}; }
    static gfx::Point centre(const ui::View &view) { return centre(view.convert(view.bounds(), nullptr)); }

    std::vector<ListRequest> listRequests() const {
        std::vector<ListRequest> requests;
        for (const peers::ReceivedFrame &frame : quotes.received(peers::QuoteServer::QuoteListType)) {
            ByteView body = frame.bytes();
            uint32_t pos = 0;
            ListRequest r{};
            r.classID = ComAPI::ReadShort(body, pos);
            r.flags = ComAPI::ReadShort(body, pos);
            r.sortField = uint8_t(ComAPI::ReadByte(body, pos));
            r.order = uint8_t(ComAPI::ReadByte(body, pos));
            r.start = ComAPI::ReadShort(body, pos);
            r.count = ComAPI::ReadShort(body, pos);
            requests.push_back(r);
        }
        return requests;
    }
};

} // namespace freefront
