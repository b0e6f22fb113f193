#include "NetworkQueue.h"
#include "HttpTestSupport.h"
#include "peers/FaultPeer.h"
#include "peers/NginxSuite.h"

#include <gtest/gtest.h>

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

TEST_F(NetworkQueueTest, AddingAnythingButARequestIsRefused) {
    auto queue = NetworkQueue::queue();
    EXPECT_THROW(queue->add(base::make<base::Operation>()), std::logic_error);
    EXPECT_EQ(queue->requestsCount(), 0);
}

} // namespace
