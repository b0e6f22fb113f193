#pragma once

#include "HTTPRequest.h"

#include "base/Data.h"
#include "base/Encoding.h"
#include "base/Value.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

// A POST request whose body is built from named form fields: text values, and files or byte blocks.
// It writes an "application/x-www-form-urlencoded" body, or a "multipart/form-data" one as soon as
// any file or byte block is added, and sets the matching Content-Type header; sending, streaming
// from disk and Content-Length stay the base request's.
//
// A request given no field at all sends exactly the body and Content-Type its caller set (the
// voice-search upload appends a recorded file and names its own type).
//
// Entries keep the order they were added in; a key may repeat. add* appends, set* first removes
// every entry of the same kind with an equal key. A file path that does not exist (or names a
// folder) fails the request at once with code InternalErrorWhileBuildingRequestType and the text
// "No file exists at <path>"; the entry is kept all the same.
class FormDataRequest : public HTTPRequest {
public:
    static constexpr const char *BoundaryPrefix = "0xKhTmLbOuNdArY-";
    static constexpr const char *DefaultContentType = "application/octet-stream";
    static constexpr int URLEncodedFormat = 1;
    static constexpr int MultipartFormDataFormat = 0;

    struct ValueEntry {
        std::string key, value;
    };
    struct FileEntry {
        std::string key, fileName, contentType;
        // The bytes themselves, or the path of the file that holds them.
        std::variant<base::Data, std::string> data;
    };

    static base::Ref<FormDataRequest> requestWithURL(const base::Url &url);
    // POST, URL-encoded, UTF-8.
    explicit FormDataRequest(const base::Url &url);

    // The value's text is its description: a string itself, a number its decimal text. An empty
    // key is ignored.
    void addPostValue(const base::Value &value, const std::string &key);
    void setPostValue(const base::Value &value, const std::string &key);

    // A missing file name is the path's last component; a missing type comes from the extension.
    void addFile(const std::string &path, const std::string &key);
    void addFile(const std::string &path, const std::optional<std::string> &fileName,
                 const std::optional<std::string> &contentType, const std::string &key);
    void setFile(const std::string &path, const std::string &key);
    void setFile(const std::string &path, const std::optional<std::string> &fileName,
                 const std::optional<std::string> &contentType, const std::string &key);
    // Bytes named "file"; a missing type is DefaultContentType.
    void addData(const base::Data &data, const std::string &key);
    void addData(std::variant<base::Data, std::string> data, const std::string &fileName,
                 const std::optional<std::string> &contentType, const std::string &key);
    void setData(const base::Data &data, const std::string &key);
    void setData(std::variant<base::Data, std::string> data, const std::string &fileName,
                 const std::optional<std::string> &contentType, const std::string &key);

    // Nothing until the first value / file is added.
    const std::optional<std::vector<ValueEntry>> &postData() const { return postData_; }
    const std::optional<std::vector<FileEntry>> &fileData() const { return fileData_; }
    int postFormat() const { return postFormat_; }
    void setPostFormat(int format) { postFormat_ = format; }
    base::Encoding stringEncoding() const { return stringEncoding_; }
    void setStringEncoding(base::Encoding encoding) { stringEncoding_ = encoding; }

    // Percent-escapes everything but letters, digits, "-", "." and "_" in stringEncoding; "" when
    // the text cannot be written in it.
    std::string encodeURL(const std::string &text) const;
    // The MIME type of a file by its extension; DefaultContentType when unknown.
    static std::string mimeTypeForFileAtPath(const std::string &path);

    // Keeps the fields and files, and builds its body afresh from them when it runs.
    base::Ref<HTTPRequest> copy() const override;

protected:
    void buildPostBody() override;
    base::Ref<HTTPRequest> makeRequestOfThisClass(const base::Url &url) const override;

private:
    void buildURLEncodedPostBody();
    void buildMultipartFormDataPostBody();
    void appendPostString(const std::string &text);

    std::optional<std::vector<ValueEntry>> postData_;
    std::optional<std::vector<FileEntry>> fileData_;
    int postFormat_ = URLEncodedFormat;
    base::Encoding stringEncoding_ = base::Encoding::Utf8;
    bool haveBuiltFormBody_ = false;
};
