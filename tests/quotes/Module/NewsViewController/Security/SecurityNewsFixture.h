#pragma once

#include "NewsBusFixture.h"

#include "DataBase/DataBase.h"

#include "host/Offscreen.h"
#include "peers/QuoteServer.h"

#include <functional>
#include <string>
#include <vector>

namespace newsbus {

// The news bus against nginx serving our news documents, the offscreen window, and on demand a
// coordinator logged in to the loopback quote server, whose trading day the information-mine
// screens ask for. Every stock document and article a request names is noted, without the host.
class SecurityNewsTest : public NewsBusTest {
protected:
    SecurityNewsTest();
    ~SecurityNewsTest() override;

    // Logs in without an account to a quote server standing at the day, and makes that coordinator
    // the shared one: its server date is then known.
    void loggedInOn(int32_t date);
    // A coordinator that has not logged in yet: the server date is still 0.
    void notLoggedIn();
    // Disconnects and forgets the coordinator and the quote server.
    void leaveQuoteServer();
    // The news host named by the bundle: ours, or a port where nothing listens.
    void newsHostDown();

    void tap(ui::View &view, gfx::Rect area);
    void tap(ui::View &view) { tap(view, view.bounds()); }
    // The requests asked since `from`.
    std::vector<std::string> since(size_t from) const;

    // Whether the tested screen is done loading; a derived test sets it and clears it when it goes.
    std::function<bool()> screenQuiet;
    // One line per security or article request: "mines SH600036 20121207", "news SH600036" or an
    // article's address.
    std::vector<std::string> asked;
    host::TestApp app{&sharedClock()};

private:
    base::Ref<base::Object> observer_ = base::make<base::Object>();
    std::unique_ptr<peers::QuoteServer> quotes_;
    base::Ref<DataBase> db_;
};

} // namespace newsbus
