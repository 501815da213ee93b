#include "weather/HttpClient.h"

#include <curl/curl.h>

#include <climits>
#include <mutex>

namespace tramble {
namespace {

void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct TSink {
    std::string* Body;
    size_t Max;
    bool Overflow = false;
};

size_t Collect(char* data, size_t size, size_t count, void* user)
{
    auto* sink = static_cast<TSink*>(user);
    const size_t n = size * count;
    if (sink->Body->size() + n > sink->Max) {
        sink->Overflow = true;
        return 0; // makes libcurl fail the transfer
    }
    sink->Body->append(data, n);
    return n;
}

struct THeaderList {
    curl_slist* List = nullptr;
    ~THeaderList() { curl_slist_free_all(List); }
};

} // namespace

struct THttpClient::TCurl {
    CURLM* Multi = curl_multi_init();
    CURL* Easy = curl_easy_init();
    ~TCurl()
    {
        curl_easy_cleanup(Easy);
        curl_multi_cleanup(Multi);
    }
};

THttpClient::THttpClient()
{
    InitCurlOnce();
    m_curl = std::make_unique<TCurl>();
}

THttpClient::~THttpClient() = default;

void THttpClient::Abort()
{
    std::lock_guard lock(m_lock);
    if (!m_busy)
        return;
    m_abort = true;
    curl_multi_wakeup(m_curl->Multi);
}

THttpResult THttpClient::Get(const THttpRequest& request)
{
    THttpResult result;
    if (!m_curl->Multi || !m_curl->Easy) {
        result.Error = "no HTTP client";
        return result;
    }
    CURL* easy = m_curl->Easy;
    curl_easy_reset(easy);
    TSink sink{&result.Body, request.MaxBody};
    THeaderList headers;
    for (const std::string& h : request.Headers)
        headers.List = curl_slist_append(headers.List, h.c_str());
    curl_easy_setopt(easy, CURLOPT_URL, request.Url.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, long(request.ConnectTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, long(request.TotalTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_USERAGENT, request.UserAgent.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.List);
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &sink);
    if (request.MaxBody < size_t(LONG_MAX))
        curl_easy_setopt(easy, CURLOPT_MAXFILESIZE, long(request.MaxBody));

    {
        std::lock_guard lock(m_lock);
        m_abort = false;
        m_busy = true;
    }
    curl_multi_add_handle(m_curl->Multi, easy);
    int running = 1;
    while (!m_abort) {
        if (curl_multi_perform(m_curl->Multi, &running) != CURLM_OK || running == 0)
            break;
        curl_multi_poll(m_curl->Multi, nullptr, 0, 1000, nullptr);
    }
    CURLcode code = CURLE_ABORTED_BY_CALLBACK;
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(m_curl->Multi, &queued)) {
        if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy)
            code = msg->data.result;
    }
    curl_multi_remove_handle(m_curl->Multi, easy);
    const bool aborted = m_abort;
    {
        std::lock_guard lock(m_lock);
        m_busy = false;
        m_abort = false;
    }

    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &result.Status);
    if (aborted && running != 0)
        result.Error = "aborted";
    else if (sink.Overflow || code == CURLE_FILESIZE_EXCEEDED)
        result.Error = "answer too large";
    else if (code != CURLE_OK)
        result.Error = curl_easy_strerror(code);
    if (!result.Error.empty()) {
        result.Body.clear(); // a cut-off answer is no answer
    } else if (result.Status < 200 || result.Status > 299) {
        result.Error = "HTTP status " + std::to_string(result.Status);
    } else {
        result.Ok = true;
    }
    return result;
}

} // namespace tramble
