#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tramble {

struct THttpRequest {
    std::string Url;
    std::string UserAgent;
    std::vector<std::string> Headers; // "Name: value"
    std::chrono::milliseconds ConnectTimeout{3000};
    std::chrono::milliseconds TotalTimeout{0}; // 0: none, an abort ends it
    size_t MaxBody = size_t(1) << 20;          // a longer answer fails
};

struct THttpResult {
    bool Ok = false;  // a complete answer with a 2xx status
    long Status = 0;  // 0 when no answer came
    std::string Body; // also the body of an error answer
    std::string Error;
};

// A blocking HTTP GET (libcurl) that another thread can abort: the request in
// progress then fails at once. One request at a time per client.
class THttpClient {
public:
    THttpClient();
    ~THttpClient();
    THttpClient(const THttpClient&) = delete;
    THttpClient& operator=(const THttpClient&) = delete;

    THttpResult Get(const THttpRequest& request);

    // From any thread: fails the request in progress; no effect when idle.
    void Abort();
    // Whether a request is in progress (the "connected" state of the client).
    bool Busy() const { return m_busy.load(); }

private:
    struct TCurl;
    std::unique_ptr<TCurl> m_curl;
    std::mutex m_lock; // Abort against the start and end of a request
    std::atomic<bool> m_busy{false};
    std::atomic<bool> m_abort{false};
};

} // namespace tramble
