#include "platform/net/CurlTransfer.h"

#include "platform/foundation/ASCII.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HTTPClient.h"
#include "platform/net/HostMap.h"

#include <algorithm>

namespace net {

namespace {

bool isRedirectStatus(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Header text from a caller must not smuggle a second header or a second request.
bool isSafeHeaderText(std::string_view text) {
    return text.find_first_of("\r\n") == std::string_view::npos;
}

HTTPFailure::Reason reasonFor(CURLcode code) {
    switch (code) {
    case CURLE_OPERATION_TIMEDOUT:
        return HTTPFailure::Reason::TimedOut;
    case CURLE_COULDNT_CONNECT:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return HTTPFailure::Reason::CouldNotConnect;
    case CURLE_FILESIZE_EXCEEDED:
        return HTTPFailure::Reason::ResponseTooLarge;
    default:
        return HTTPFailure::Reason::ConnectionLost;
    }
}

} // namespace

CurlTransfer::CurlTransfer(HTTPRequest request, std::shared_ptr<HTTPTask> task)
    : request_(std::move(request)), task_(std::move(task)), handle_(curl_easy_init()),
      url_(request_.url), timeout_(std::chrono::duration_cast<Clock::duration>(request_.timeout)) {
    configure();
    beginHop();
}

CurlTransfer::~CurlTransfer() {
    curl_easy_cleanup(handle_);
    curl_slist_free_all(headerList_);
    curl_slist_free_all(connectTo_);
}

void CurlTransfer::configure() {
    curl_easy_setopt(handle_, CURLOPT_URL, url_.c_str());
    curl_easy_setopt(handle_, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle_, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(handle_, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(handle_, CURLOPT_MAXFILESIZE_LARGE,
                     static_cast<curl_off_t>(request_.maxBodyBytes));
    curl_easy_setopt(
        handle_, CURLOPT_CONNECTTIMEOUT_MS,
        static_cast<long>(std::chrono::ceil<std::chrono::milliseconds>(timeout_).count()));
    curl_easy_setopt(handle_, CURLOPT_HEADERFUNCTION, &CurlTransfer::onHeader);
    curl_easy_setopt(handle_, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(handle_, CURLOPT_WRITEFUNCTION, &CurlTransfer::onBody);
    curl_easy_setopt(handle_, CURLOPT_WRITEDATA, this);
    // A POST body goes out at once rather than after a "100 Continue" round trip.
    headerList_ = curl_slist_append(headerList_, "Expect:");
    // "Name:" with nothing after it would tell libcurl to drop the header; "Name;" sends it empty.
    for (const auto& [name, value] : request_.headers)
        if (!name.empty() && isSafeHeaderText(name) && isSafeHeaderText(value))
            headerList_ = curl_slist_append(
                headerList_,
                (foundation::ASCII::trimmed(value).empty() ? name + ";" : name + ": " + value)
                    .c_str());
    curl_easy_setopt(handle_, CURLOPT_HTTPHEADER, headerList_);
    configureHostMap();
    configureBody();
}

void CurlTransfer::configureHostMap() {
    for (const auto& entry : HostMap::shared().connectToEntries()) {
        connectTo_ = curl_slist_append(connectTo_, entry.c_str());
        // A mapped host is local to this machine: never route it through a proxy.
        if (!noProxy_.empty())
            noProxy_ += ',';
        noProxy_.append(entry, 0, entry.find("::"));
    }
    curl_easy_setopt(handle_, CURLOPT_CONNECT_TO, connectTo_);
    if (!noProxy_.empty())
        curl_easy_setopt(handle_, CURLOPT_NOPROXY, noProxy_.c_str());
}

void CurlTransfer::configureBody() {
    if (!request_.body) {
        curl_easy_setopt(handle_, CURLOPT_HTTPGET, 1L);
        return;
    }
    curl_easy_setopt(handle_, CURLOPT_POSTFIELDSIZE_LARGE,
                     static_cast<curl_off_t>(request_.body->size()));
    // An empty body must still be a pointer, or libcurl would read the body from stdin.
    const auto* bytes =
        request_.body->empty() ? reinterpret_cast<const std::uint8_t*>("") : request_.body->bytes();
    curl_easy_setopt(handle_, CURLOPT_POSTFIELDS, bytes);
}

void CurlTransfer::beginHop() {
    status_ = 0;
    headers_.clear();
    headerBytes_ = 0;
    bodyBytes_ = 0;
    redirecting_ = false;
    responded_ = false;
    lastActivity_ = Clock::now();
}

std::size_t CurlTransfer::onHeader(char* data, std::size_t size, std::size_t count, void* self) {
    return static_cast<CurlTransfer*>(self)->header(std::string_view(data, size * count));
}

std::size_t CurlTransfer::onBody(char* data, std::size_t size, std::size_t count, void* self) {
    return static_cast<CurlTransfer*>(self)->body(data, size * count);
}

std::size_t CurlTransfer::header(std::string_view line) {
    lastActivity_ = Clock::now();
    headerBytes_ += line.size();
    if (headerBytes_ > HTTPClient::kMaxHeaderBytes) {
        overLimit_ = true;
        return 0;
    }
    if (line.starts_with("HTTP/")) {
        // A new status line: interim (1xx) headers before it are forgotten.
        headers_.clear();
        return line.size();
    }
    if (foundation::ASCII::trimmed(line).empty()) {
        endOfHeaders();
        return line.size();
    }
    const auto colon = line.find(':');
    if (colon != std::string_view::npos)
        headers_.emplace_back(foundation::ASCII::trimmed(line.substr(0, colon)),
                              foundation::ASCII::trimmed(line.substr(colon + 1)));
    return line.size();
}

void CurlTransfer::endOfHeaders() {
    curl_easy_getinfo(handle_, CURLINFO_RESPONSE_CODE, &status_);
    if (status_ < 200)
        return;
    const bool hasLocation = std::ranges::any_of(headers_, [](const auto& header) {
        return curl_strequal(header.first.c_str(), "Location") != 0;
    });
    if (isRedirectStatus(status_) && hasLocation) {
        redirecting_ = true;
        return;
    }
    responded_ = true;
    HTTPResponse response{static_cast<int>(status_), url_, headers_};
    post([response = std::move(response)](HTTPTask& task) { task.deliverResponse(response); });
}

std::size_t CurlTransfer::body(const char* data, std::size_t size) {
    lastActivity_ = Clock::now();
    if (redirecting_ || size == 0)
        return size;
    bodyBytes_ += size;
    if (bodyBytes_ > request_.maxBodyBytes) {
        overLimit_ = true;
        return 0;
    }
    std::vector<std::uint8_t> chunk(data, data + size);
    post([chunk = std::move(chunk)](HTTPTask& task) { task.deliverData(chunk); });
    return size;
}

CurlTransfer::Outcome CurlTransfer::complete(CURLcode result) {
    if (overLimit_)
        fail(HTTPFailure::Reason::ResponseTooLarge, "the response exceeds the client's limits");
    else if (result != CURLE_OK)
        fail(reasonFor(result), curl_easy_strerror(result));
    else if (redirecting_)
        return followRedirect();
    else if (!responded_)
        fail(HTTPFailure::Reason::ConnectionLost, "the server sent no response");
    else
        post([](HTTPTask& task) { task.deliverFinish(); });
    return Outcome::Finished;
}

CurlTransfer::Outcome CurlTransfer::followRedirect() {
    if (redirects_ >= HTTPClient::kMaxRedirects) {
        fail(HTTPFailure::Reason::TooManyRedirects, "too many redirects");
        return Outcome::Finished;
    }
    char* target = nullptr;
    curl_easy_getinfo(handle_, CURLINFO_REDIRECT_URL, &target);
    if (!target || !HTTPClient::isSupportedURL(target)) {
        fail(HTTPFailure::Reason::UnsupportedRedirect, "redirect to an unsupported location");
        return Outcome::Finished;
    }
    ++redirects_;
    url_ = target;
    post([url = url_](HTTPTask& task) { task.deliverRedirect(url); });
    // As browsers do, a POST that is moved or seen-other continues as a GET.
    if (request_.body && status_ != 307 && status_ != 308) {
        request_.body.reset();
        configureBody();
    }
    curl_easy_setopt(handle_, CURLOPT_URL, url_.c_str());
    beginHop();
    return Outcome::Restart;
}

void CurlTransfer::failTimedOut() { fail(HTTPFailure::Reason::TimedOut, "the request timed out"); }

void CurlTransfer::fail(HTTPFailure::Reason reason, std::string message) {
    post([failure = HTTPFailure{reason, std::move(message)}](HTTPTask& task) {
        task.deliverFailure(failure);
    });
}

void CurlTransfer::post(std::function<void(HTTPTask&)> delivery) {
    foundation::RunLoop::main().post(
        [task = task_, delivery = std::move(delivery)] { delivery(*task); });
}

} // namespace net
