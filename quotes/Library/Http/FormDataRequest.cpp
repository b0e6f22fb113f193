#include "FormDataRequest.h"

#include "base/Str.h"
#include "base/Uuid.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

namespace {

// A name inside a quoted header parameter must not end the quotes or start a new header line.
std::string quotedParameter(const std::string &text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += "%22";
        else if (c == '\r')
            out += "%0D";
        else if (c == '\n')
            out += "%0A";
        else
            out += c;
    }
    return out + "\"";
}

template <class Entry> void removeKey(std::optional<std::vector<Entry>> &list, const std::string &key) {
    if (list)
        std::erase_if(*list, [&](const Entry &e) { return e.key == key; });
}

} // namespace

base::Ref<FormDataRequest> FormDataRequest::requestWithURL(const base::Url &url) {
    return base::make<FormDataRequest>(url);
}

FormDataRequest::FormDataRequest(const base::Url &url) : HTTPRequest(url) {
    setRequestMethod("POST");
}

base::Ref<HTTPRequest> FormDataRequest::makeRequestOfThisClass(const base::Url &url) const {
    return base::make<FormDataRequest>(url);
}

base::Ref<HTTPRequest> FormDataRequest::copy() const {
    auto c = base::make<FormDataRequest>(url());
    copySettingsTo(*c);
    c->postData_ = postData_;
    c->fileData_ = fileData_;
    c->postFormat_ = postFormat_;
    c->stringEncoding_ = stringEncoding_;
    // A body already built from the fields belongs to this request (its file goes with it); the
    // copy writes its own.
    if (haveBuiltFormBody_ && (postData_ || fileData_))
        c->discardBuiltPostBody();
    return c;
}

void FormDataRequest::addPostValue(const base::Value &value, const std::string &key) {
    if (key.empty())
        return;
    if (!postData_)
        postData_.emplace();
    postData_->push_back({key, value.description()});
}

void FormDataRequest::setPostValue(const base::Value &value, const std::string &key) {
    removeKey(postData_, key);
    addPostValue(value, key);
}

void FormDataRequest::addFile(const std::string &path, const std::string &key) {
    addFile(path, std::nullopt, std::nullopt, key);
}

void FormDataRequest::addFile(const std::string &path, const std::optional<std::string> &fileName,
                              const std::optional<std::string> &contentType, const std::string &key) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        failWithError(makeError(InternalErrorWhileBuildingRequestType,
                                base::str::format("No file exists at %@", path)));
    std::string name = fileName.value_or(std::filesystem::path(path).filename().string());
    addData(path, name, contentType.value_or(mimeTypeForFileAtPath(path)), key);
}

void FormDataRequest::setFile(const std::string &path, const std::string &key) {
    setFile(path, std::nullopt, std::nullopt, key);
}

void FormDataRequest::setFile(const std::string &path, const std::optional<std::string> &fileName,
                              const std::optional<std::string> &contentType, const std::string &key) {
    removeKey(fileData_, key);
    addFile(path, fileName, contentType, key);
}

void FormDataRequest::addData(const base::Data &data, const std::string &key) {
    addData(data, "file", std::nullopt, key);
}

void FormDataRequest::addData(std::variant<base::Data, std::string> data, const std::string &fileName,
                              const std::optional<std::string> &contentType, const std::string &key) {
    if (!fileData_)
        fileData_.emplace();
    fileData_->push_back({key, fileName, contentType.value_or(DefaultContentType), std::move(data)});
}

void FormDataRequest::setData(const base::Data &data, const std::string &key) {
    setData(data, "file", std::nullopt, key);
}

void FormDataRequest::setData(std::variant<base::Data, std::string> data, const std::string &fileName,
                              const std::optional<std::string> &contentType, const std::string &key) {
    removeKey(fileData_, key);
    addData(std::move(data), fileName, contentType, key);
}

std::string FormDataRequest::encodeURL(const std::string &text) const {
    auto bytes = base::encode(text, stringEncoding_);
    if (!bytes)
        return {};
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < bytes->length(); ++i) {
        uint8_t b = bytes->bytes()[i];
        if (std::isalnum(b) || b == '-' || b == '.' || b == '_') {
            out += char(b);
        } else {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

std::string FormDataRequest::mimeTypeForFileAtPath(const std::string &path) {
    static const std::map<std::string, std::string> types = {
        {"txt", "text/plain"},        {"html", "text/html"},
        {"htm", "text/html"},         {"css", "text/css"},
        {"csv", "text/csv"},          {"xml", "application/xml"},
        {"json", "application/json"}, {"plist", "application/x-plist"},
        {"pdf", "application/pdf"},   {"zip", "application/zip"},
        {"gz", "application/x-gzip"}, {"png", "image/png"},
        {"jpg", "image/jpeg"},        {"jpeg", "image/jpeg"},
        {"gif", "image/gif"},         {"bmp", "image/bmp"},
        {"tif", "image/tiff"},        {"tiff", "image/tiff"},
        {"flac", "audio/x-flac"},     {"wav", "audio/wav"},
        {"mp3", "audio/mpeg"},        {"caf", "audio/x-caf"},
        {"m4a", "audio/mp4"},         {"mp4", "video/mp4"},
        {"mov", "video/quicktime"},
    };
    std::string ext = std::filesystem::path(path).extension().string();
    if (!ext.empty())
        ext.erase(0, 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    auto found = types.find(ext);
    return found == types.end() ? DefaultContentType : found->second;
}

void FormDataRequest::buildPostBody() {
    if (haveBuiltFormBody_)
        return;
    haveBuiltFormBody_ = true;
    if (postData_ || fileData_) {
        if (fileData_ && !fileData_->empty())
            setShouldStreamPostDataFromDisk(true);
        if (postFormat_ == URLEncodedFormat)
            buildURLEncodedPostBody();
        else
            buildMultipartFormDataPostBody();
    }
    HTTPRequest::buildPostBody();
}

void FormDataRequest::buildURLEncodedPostBody() {
    if (fileData_ && !fileData_->empty()) {
        postFormat_ = MultipartFormDataFormat;
        buildMultipartFormDataPostBody();
        return;
    }
    addRequestHeader("Content-Type", base::str::format("application/x-www-form-urlencoded; charset=%@",
                                                       base::ianaName(stringEncoding_)));
    if (!postData_)
        return;
    for (size_t i = 0; i < postData_->size(); ++i) {
        const auto &entry = (*postData_)[i];
        appendPostString(encodeURL(entry.key) + "=" + encodeURL(entry.value) +
                         (i + 1 < postData_->size() ? "&" : ""));
    }
}

void FormDataRequest::buildMultipartFormDataPostBody() {
    std::string boundary = BoundaryPrefix + base::newUuid();
    addRequestHeader("Content-Type", base::str::format("multipart/form-data; charset=%@; boundary=%@",
                                                       base::ianaName(stringEncoding_), boundary));
    std::string separator = "\r\n--" + boundary + "\r\n";
    static const std::vector<ValueEntry> noValues;
    static const std::vector<FileEntry> noFiles;
    const auto &values = postData_ ? *postData_ : noValues;
    const auto &files = fileData_ ? *fileData_ : noFiles;

    appendPostString("--" + boundary + "\r\n");
    for (size_t i = 0; i < values.size(); ++i) {
        appendPostString("Content-Disposition: form-data; name=" + quotedParameter(values[i].key) +
                         "\r\n\r\n");
        appendPostString(values[i].value);
        if (i + 1 < values.size() || !files.empty())
            appendPostString(separator);
    }
    for (size_t i = 0; i < files.size(); ++i) {
        const auto &file = files[i];
        appendPostString("Content-Disposition: form-data; name=" + quotedParameter(file.key) +
                         "; filename=" + quotedParameter(file.fileName) + "\r\n");
        appendPostString(base::str::format("Content-Type: %@\r\n\r\n", file.contentType));
        if (const auto *path = std::get_if<std::string>(&file.data))
            appendPostDataFromFile(*path);
        else
            appendPostData(std::get<base::Data>(file.data));
        if (i + 1 < files.size())
            appendPostString(separator);
    }
    appendPostString("\r\n--" + boundary + "--\r\n");
}

void FormDataRequest::appendPostString(const std::string &text) {
    appendPostData(base::encode(text, stringEncoding_).value_or(base::Data()));
}
