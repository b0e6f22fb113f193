#include "FormDataRequest.h"
#include "HttpTestSupport.h"
#include "peers/NginxSuite.h"

#include "base/FileManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class FormDataRequestTest : public peers::NginxSuite<> {
protected:
    void TearDown() override {
        for (const auto &path : files)
            std::filesystem::remove(path);
    }

    std::string makeFile(const std::string &name, const std::string &contents) {
        std::string dir = base::FileManager::uniqueTemporaryPath();
        std::filesystem::create_directories(dir);
        std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary) << contents;
        files.push_back(path);
        files.push_back(dir);
        return path;
    }

    static base::Ref<FormDataRequest> echoRequest() {
        return FormDataRequest::requestWithURL(url(nginx->url("/echo/body")));
    }
    // Sends the request and answers the body nginx received.
    static std::string send(const base::Ref<FormDataRequest> &request) {
        auto delegate = runAsync(request);
        EXPECT_TRUE(delegate->ended());
        EXPECT_FALSE(request->error());
        auto data = request->responseData();
        return data ? data->toString() : "<none>";
    }
    static std::string contentType(const base::Ref<FormDataRequest> &request) {
        return request->requestHeaders().get("Content-Type").stringValue();
    }
    static std::string boundaryOf(const base::Ref<FormDataRequest> &request) {
        std::string type = contentType(request);
        auto at = type.find("boundary=");
        return at == std::string::npos ? "" : type.substr(at + 9);
    }

    std::vector<std::string> files;
};

TEST_F(FormDataRequestTest, UrlEncodedBodies) {
    struct Case {
        const char *name;
        std::function<void(FormDataRequest &)> fill;
        std::string body;
    };
    std::vector<Case> cases = {
        {"pairs joined without a trailing ampersand",
         [](FormDataRequest &r) {
             r.addPostValue("a b", "name");
             r.addPostValue("x&y", "q");
         },
         "name=a%20b&q=x%26y"},
        {"every reserved character and UTF-8 text escaped",
         [](FormDataRequest &r) { r.addPostValue(":/?#[]@!$ &'()*+,;=\"<>%{}|\\^~`-._", "k"); },
         "k=%3A%2F%3F%23%5B%5D%40%21%24%20%26%27%28%29%2A%2B%2C%3B%3D%22%3C%3E%25%7B%7D%7C%5C%5E%7E%60-._"},
        {"Chinese text in UTF-8", [](FormDataRequest &r) { r.addPostValue("沪指", "名"); },
         "%E5%90%8D=%E6%B2%AA%E6%8C%87"},
        {"numbers as their decimal text",
         [](FormDataRequest &r) {
             r.addPostValue(42, "n");
             r.addPostValue(1.5, "r");
         },
         "n=42&r=1.5"},
        {"add keeps duplicates in order",
         [](FormDataRequest &r) {
             r.addPostValue("1", "a");
             r.addPostValue("2", "b");
             r.addPostValue("3", "a");
         },
         "a=1&b=2&a=3"},
        {"set removes every earlier value of the key",
         [](FormDataRequest &r) {
             r.addPostValue("1", "a");
             r.addPostValue("2", "b");
             r.addPostValue("3", "a");
             r.setPostValue("4", "a");
         },
         "b=2&a=4"},
        {"an empty key is ignored",
         [](FormDataRequest &r) {
             r.addPostValue("lost", "");
             r.addPostValue("kept", "k");
         },
         "k=kept"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto request = echoRequest();
        c.fill(*request);
        EXPECT_EQ(send(request), c.body);
        EXPECT_EQ(contentType(request), "application/x-www-form-urlencoded; charset=utf-8");
        EXPECT_EQ(request->requestMethod(), "POST");
    }
}

TEST_F(FormDataRequestTest, MultipartWithValuesOnlyEndsTheLastValueWithTheClosingBoundary) {
    auto request = echoRequest();
    request->setPostFormat(FormDataRequest::MultipartFormDataFormat);
    request->addPostValue("1", "a");
    request->addPostValue("二", "b");
    std::string body = send(request);
    std::string b = boundaryOf(request);
    EXPECT_EQ(contentType(request), "multipart/form-data; charset=utf-8; boundary=" + b);
    EXPECT_EQ(body, "--" + b + "\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n1\r\n--" + b +
                        "\r\nContent-Disposition: form-data; name=\"b\"\r\n\r\n二\r\n--" + b + "--\r\n");
}

TEST_F(FormDataRequestTest, FilesSwitchToMultipartWithTypesAndSeparators) {
    std::string png = makeFile("chart.png", "PNGBYTES");
    std::string odd = makeFile("notes.qqq", "odd");
    auto request = echoRequest();
    request->addPostValue("v", "field");
    request->addFile(png, "picture");
    request->addFile(odd, "other");
    request->addData(base::Data::fromString("raw"), "blob");
    request->addData(base::Data::fromString("{}"), "x.json", "application/json", "typed");
    std::string body = send(request);
    std::string b = boundaryOf(request);
    ASSERT_EQ(b.size(), std::string(FormDataRequest::BoundaryPrefix).size() + 36);
    EXPECT_EQ(b.rfind(FormDataRequest::BoundaryPrefix, 0), 0u);
    EXPECT_EQ(request->postFormat(), FormDataRequest::MultipartFormDataFormat);
    std::string sep = "\r\n--" + b + "\r\n";
    EXPECT_EQ(body, "--" + b + "\r\nContent-Disposition: form-data; name=\"field\"\r\n\r\nv" + sep +
                        "Content-Disposition: form-data; name=\"picture\"; filename=\"chart.png\"\r\n"
                        "Content-Type: image/png\r\n\r\nPNGBYTES" +
                        sep +
                        "Content-Disposition: form-data; name=\"other\"; filename=\"notes.qqq\"\r\n"
                        "Content-Type: application/octet-stream\r\n\r\nodd" +
                        sep +
                        "Content-Disposition: form-data; name=\"blob\"; filename=\"file\"\r\n"
                        "Content-Type: application/octet-stream\r\n\r\nraw" +
                        sep +
                        "Content-Disposition: form-data; name=\"typed\"; filename=\"x.json\"\r\n"
                        "Content-Type: application/json\r\n\r\n{}" +
                        "\r\n--" + b + "--\r\n");
}

TEST_F(FormDataRequestTest, SetFileAndSetDataReplaceEveryEntryOfTheKey) {
    std::string first = makeFile("a.txt", "first");
    std::string second = makeFile("b.txt", "second");
    FormDataRequest request(url(nginx->url("/echo/body")));
    request.addFile(first, "f");
    request.addFile(first, "f");
    request.addData(base::Data::fromString("keep"), "d");
    request.setFile(second, "renamed.txt", std::nullopt, "f");
    ASSERT_TRUE(request.fileData());
    ASSERT_EQ(request.fileData()->size(), 2u);
    EXPECT_EQ((*request.fileData())[0].key, "d");
    EXPECT_EQ((*request.fileData())[1].fileName, "renamed.txt");
    EXPECT_EQ((*request.fileData())[1].contentType, "text/plain");
    request.setData(base::Data::fromString("new"), "d");
    ASSERT_EQ(request.fileData()->size(), 2u);
    EXPECT_EQ((*request.fileData())[1].key, "d");
}

TEST_F(FormDataRequestTest, EachBuildHasAFreshBoundary) {
    std::string boundaries[2];
    for (auto &b : boundaries) {
        auto request = echoRequest();
        request->addData(base::Data::fromString("x"), "f");
        send(request);
        b = boundaryOf(request);
    }
    EXPECT_NE(boundaries[0], boundaries[1]);
}

TEST_F(FormDataRequestTest, NamesCannotEndTheirQuotesOrAddHeaderLines) {
    auto request = echoRequest();
    request->addData(base::Data::fromString("x"), "a\"b\r\nX-Evil: 1", std::nullopt, "n\"\r\n");
    std::string body = send(request);
    EXPECT_NE(body.find("name=\"n%22%0D%0A\"; filename=\"a%22b%0D%0AX-Evil: 1\"\r\n"), std::string::npos);
}

TEST_F(FormDataRequestTest, MissingOrFolderPathFailsWithCodeSixAndKeepsTheEntry) {
    for (bool folder : {false, true}) {
        std::string path = folder ? std::filesystem::temp_directory_path().string()
                                  : base::FileManager::uniqueTemporaryPath();
        auto request = echoRequest();
        request->addFile(path, "f");
        ASSERT_TRUE(request->error());
        EXPECT_EQ(request->error()->domain(), NetworkRequestErrorDomain);
        EXPECT_EQ(request->error()->code(), InternalErrorWhileBuildingRequestType);
        EXPECT_EQ(request->error()->localizedDescription(), "No file exists at " + path);
        ASSERT_TRUE(request->fileData());
        EXPECT_EQ(request->fileData()->size(), 1u);
    }
}

// A copy is a form request of its own with the same fields and switches; run after the original,
// it writes the same form again rather than the original's body.
TEST_F(FormDataRequestTest, ACopyKeepsItsClassFieldsAndSwitches) {
    auto original = echoRequest();
    original->addPostValue(base::Value("1"), "a");
    original->addData(base::Data::fromString("bytes"), "f");
    original->setShouldPresentAuthenticationDialog(true);
    original->setShouldPresentProxyAuthenticationDialog(false);
    original->setUseKeychainPersistence(true);
    original->setClientCertificateIdentity("/certs/client.pem");

    for (bool afterARun : {false, true}) {
        SCOPED_TRACE(afterARun ? "after the original ran" : "before it ran");
        if (afterARun)
            EXPECT_NE(send(original).find("bytes"), std::string::npos);
        auto copy = std::dynamic_pointer_cast<FormDataRequest>(original->copy());
        ASSERT_TRUE(copy) << "the copy is a form request";
        ASSERT_TRUE(copy->postData() && copy->fileData());
        EXPECT_EQ(copy->postData()->size(), 1u);
        EXPECT_EQ(copy->fileData()->size(), 1u);
        EXPECT_TRUE(copy->shouldPresentAuthenticationDialog());
        EXPECT_FALSE(copy->shouldPresentProxyAuthenticationDialog());
        EXPECT_TRUE(copy->useKeychainPersistence());
        EXPECT_EQ(copy->clientCertificateIdentity(), "/certs/client.pem");
        EXPECT_EQ(copy->requestMethod(), "POST");
        copy->setClientCertificateIdentity("");
        std::string body = send(copy);
        const std::string boundary = boundaryOf(copy);
        ASSERT_FALSE(boundary.empty());
        EXPECT_NE(body.find("name=\"a\"\r\n\r\n1\r\n"), std::string::npos) << body;
        EXPECT_NE(body.find("bytes"), std::string::npos);
        EXPECT_EQ(body.find("bytes"), body.rfind("bytes")) << "the form is written once";
        EXPECT_TRUE(body.ends_with("--" + boundary + "--\r\n")) << body;
    }
}

TEST_F(FormDataRequestTest, WithoutFieldsTheCallersBodyAndContentTypeGoOutUnchanged) {
    std::string recording;
    for (int i = 0; i < 5000; ++i)
        recording += char(i * 7 % 256);
    std::string path = makeFile("voice.flac", recording);
    for (const char *location : {"/echo/body", "/echo/headers"}) {
        auto request = FormDataRequest::requestWithURL(url(nginx->url(location)));
        request->addRequestHeader("Content-Type", "audio/x-flac; rate=16000");
        request->setRequestMethod("POST");
        request->appendPostDataFromFile(path);
        request->startSynchronous();
        ASSERT_FALSE(request->error());
        auto data = request->responseData();
        ASSERT_TRUE(data);
        if (std::string(location) == "/echo/body") {
            EXPECT_EQ(data->toString(), recording);
        } else {
            EXPECT_NE(data->toString().find("Content-Type: audio/x-flac; rate=16000\r\n"), std::string::npos);
            EXPECT_NE(data->toString().find("Content-Length: 5000\r\n"), std::string::npos);
        }
    }
}

} // namespace
