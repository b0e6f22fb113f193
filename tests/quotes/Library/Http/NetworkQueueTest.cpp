#include "NetworkQueue.h"
#include "HttpTestSupport.h"
#include "peers/FaultPeer.h"
#include "peers/NginxSuite.h"

#include "base/FileManager.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class NetworkQueueTest : public peers::NginxSuite<> {
protected:
    void SetUp() override {
        NginxSuite::SetUp();
        nginx->writeFile("a.txt", "alpha");
        nginx->writeFile("c.txt", "gamma");
    }

    // Three requests run one at a time; the second cannot connect; the third asks `last`.
    void addBatch(NetworkQueue &queue, const std::string &last) {
        queue.setMaxConcurrent(1);
        queue.requestDidFinish = [this](HTTPRequest &r) { log.push_back("finished " + r.url().path()); };
        queue.requestDidFail = [this](HTTPRequest &r) {
            log.push_back("failed " + std::to_string(r.error() ? r.error()->code() : 0));
        };
        queue.queueDidFinish = [this](NetworkQueue &q) {
            log.push_back("queue finished " + std::to_string(q.requestsCount()));
        };
        for (std::string u :
             {nginx->url("/a.txt"), "http://127.0.0.1:" + std::to_string(peers::NginxPeer::freePort()) + "/b",
              last}) {
            requests.push_back(HTTPRequest::requestWithURL(url(u)));
            queue.add(requests.back());
        }
    }

    std::vector<std::string> log;
    std::vector<base::Ref<HTTPRequest>> requests;
};

TEST_F(NetworkQueueTest, AFailureCancelsTheRestOfTheBatch) {
    auto queue = NetworkQueue::queue();
    // The last request waits on a server that never answers, so only the cancel that follows the
    // second one's failure can end it, however fast the queue moves on.
    peers::FaultPeer silent({peers::FaultPeer::silence()});
    addBatch(*queue, silent.url("/c.txt"));
    EXPECT_EQ(queue->requestsCount(), 3);
    queue->go();
    ASSERT_TRUE(runMainUntil([&] { return log.size() >= 4; }));
    EXPECT_EQ(log, (std::vector<std::string>{"finished /a.txt", "failed 1", "failed 4", "queue finished 0"}));
}

TEST_F(NetworkQueueTest, WithoutCancelOnFailureTheOthersCarryOnAndProgressCountsWholeRequests) {
    struct Progress : HTTPProgressDelegate {
        std::vector<float> values;
        base::Opt<void> setProgress(float p) override {
            values.push_back(p);
            return {};
        }
    };
    auto download = std::make_shared<Progress>();
    auto queue = NetworkQueue::queue();
    queue->shouldCancelAllRequestsOnFailure = false;
    queue->setDownloadProgressDelegate(download);
    EXPECT_EQ(download->values, std::vector<float>{0.0f});
    addBatch(*queue, nginx->url("/c.txt"));
    EXPECT_EQ(queue->totalBytesToDownload(), 3u);
    EXPECT_EQ(queue->totalBytesToUpload(), 3u);
    queue->go();
    ASSERT_TRUE(runMainUntil([&] { return log.size() >= 4; }));
    EXPECT_EQ(log, (std::vector<std::string>{"finished /a.txt", "failed 1", "finished /c.txt",
                                             "queue finished 0"}));
    EXPECT_EQ(queue->bytesDownloadedSoFar(), 2u);
    ASSERT_FALSE(download->values.empty());
    EXPECT_FLOAT_EQ(download->values.back(), 2.0f / 3.0f);
}

TEST_F(NetworkQueueTest, HeadRequestsPrecedeGetsOnlyWhileTheQueueIsSuspended) {
    auto queue = NetworkQueue::queue();
    queue->showAccurateProgress = true;
    queue->setMaxConcurrent(1);
    std::vector<std::string> started;
    queue->requestDidFinish = [&](HTTPRequest &r) { started.push_back(r.requestMethod()); };
    auto first = HTTPRequest::requestWithURL(url(nginx->url("/a.txt")));
    queue->add(first);
    EXPECT_EQ(queue->count(), 2u);
    queue->go();
    ASSERT_TRUE(runMainUntil([&] { return started.size() == 1 && queue->count() == 0; }));
    auto second = HTTPRequest::requestWithURL(url(nginx->url("/c.txt")));
    queue->add(second);
    // A running queue starts the request at once, so it may already have finished.
    EXPECT_LE(queue->count(), 1u) << "no HEAD request goes first";
    ASSERT_TRUE(runMainUntil([&] { return started.size() == 2 && queue->count() == 0; }));
    EXPECT_EQ(started, (std::vector<std::string>{"GET", "GET"}));
    EXPECT_EQ(queue->requestsCount(), 0);
}

struct Progress : HTTPProgressDelegate {
    std::vector<float> values;
    base::Opt<void> setProgress(float p) override {
        values.push_back(p);
        return {};
    }
};

// Each upload counts once in the total, whether progress counts bytes or whole requests.
TEST_F(NetworkQueueTest, UploadsCountOnceSoProgressReachesTheWhole) {
    for (bool accurate : {true, false}) {
        SCOPED_TRACE(accurate ? "bytes" : "whole requests");
        auto upload = std::make_shared<Progress>();
        auto queue = NetworkQueue::queue();
        queue->showAccurateProgress = accurate;
        queue->setUploadProgressDelegate(upload);
        // An answer of known length: one without leaves the request counting whole requests.
        peers::FaultPeer server({peers::FaultPeer::send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"),
                                 peers::FaultPeer::close()});
        auto request = HTTPRequest::requestWithURL(url(server.url("/upload")));
        request->appendPostData(base::Data::fromString(std::string(1000, 'u')));
        queue->add(request);
        queue->go();
        ASSERT_TRUE(runMainUntil([&] { return request->isFinished() && queue->requestsCount() == 0; }));
        settle();
        EXPECT_FALSE(request->error());
        EXPECT_EQ(queue->totalBytesToUpload(), accurate ? 1000u : 1u);
        EXPECT_EQ(queue->bytesUploadedSoFar(), queue->totalBytesToUpload());
        ASSERT_FALSE(upload->values.empty());
        EXPECT_FLOAT_EQ(upload->values.back(), 1.0f);
    }
}

// The HEAD pre-request learns the size before the batch starts, tells it to its main request and
// the queue, and nobody hears of it otherwise.
TEST_F(NetworkQueueTest, TheHeadPreRequestServesItsMainRequestSilently) {
    nginx->writeFile("big.bin", std::string(3000, 'b'));
    auto request = HTTPRequest::requestWithURL(url(nginx->url("/big.bin")));
    const std::string destination = base::FileManager::uniqueTemporaryPath();
    request->setDownloadDestinationPath(destination);
    request->setTemporaryFileDownloadPath(destination + ".part");
    auto head = request->HEADRequest();
    EXPECT_EQ(head->requestMethod(), "HEAD");
    EXPECT_EQ(head->mainRequest(), request);
    EXPECT_TRUE(head->temporaryFileDownloadPath().empty());
    EXPECT_TRUE(head->downloadDestinationPath().empty());

    auto download = std::make_shared<Progress>();
    auto queue = NetworkQueue::queue();
    queue->showAccurateProgress = true;
    queue->setDownloadProgressDelegate(download);
    std::vector<std::string> started;
    uint64_t totalAtStart = 0;
    queue->requestDidStart = [&](HTTPRequest &r) {
        started.push_back(r.requestMethod());
        totalAtStart = queue->totalBytesToDownload();
    };
    auto delegate = std::make_shared<RecordingDelegate>();
    request->setDelegate(delegate);
    queue->add(request);
    queue->go();
    ASSERT_TRUE(runMainUntil([&] { return delegate->ended() && queue->count() == 0; }));
    settle();
    EXPECT_FALSE(request->error());
    EXPECT_EQ(delegate->log, (std::vector<std::string>{"started", "headers", "finished"}));
    EXPECT_EQ(started, std::vector<std::string>{"GET"});
    EXPECT_EQ(totalAtStart, 3000u) << "the size is known when the GET starts";
    EXPECT_EQ(queue->totalBytesToDownload(), 3000u) << "counted once";
    EXPECT_EQ(queue->bytesDownloadedSoFar(), 3000u);
    ASSERT_FALSE(download->values.empty());
    EXPECT_FLOAT_EQ(download->values.back(), 1.0f);
    EXPECT_EQ(std::filesystem::file_size(destination), 3000u);
    std::filesystem::remove(destination);

    // A pre-request that fails fails its main request, which is the one reported.
    auto refused = HTTPRequest::requestWithURL(
        url("http://127.0.0.1:" + std::to_string(peers::NginxPeer::freePort()) + "/x.bin"));
    auto failing = NetworkQueue::queue();
    failing->showAccurateProgress = true;
    failing->requestDidFail = [this](HTTPRequest &r) {
        log.push_back("failed " + r.requestMethod() + " " +
                      std::to_string(r.error() ? r.error()->code() : 0));
    };
    failing->add(refused);
    failing->go();
    ASSERT_TRUE(runMainUntil([&] { return refused->isFinished() && failing->count() == 0; }));
    settle();
    EXPECT_EQ(log, std::vector<std::string>{"failed GET 1"});
}

TEST_F(NetworkQueueTest, AddingAnythingButARequestIsRefused) {
    auto queue = NetworkQueue::queue();
    EXPECT_THROW(queue->add(base::make<base::Operation>()), std::logic_error);
    EXPECT_EQ(queue->requestsCount(), 0);
}

} // namespace
