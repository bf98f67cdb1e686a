#pragma once
// The HTTP/1.1 front end of the service on Boost.Beast, asynchronous: a
// request that waits for its receipt holds no thread, so fifty tills and
// slow clients share a few. Each request must arrive whole within its time
// (a client sending a byte a second is cut off with 408), headers and body
// within their limits (431, 413); connections beyond the limit get 429.
// An event stream is an answer that goes on: its events are written as they
// come, a comment line keeps it alive while none do, and Stop ends it with
// a proper end of its body. With a certificate it speaks HTTPS only, the
// same sessions over TLS. It carries bytes only: the ApiRouter says what
// each request gets, the CorsPolicy what a browser is told.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "cors_policy.h"
#include "korvena/service/api_router.h"
#include "korvena/service/job_board.h"

namespace korvena::service {

struct HttpLimits {
  std::size_t maxConnections = 256;
  std::size_t headerBytes = 16 * 1024;
  std::size_t bodyBytes = 64 * 1024;
  std::chrono::milliseconds requestTime{10000};  // a whole request, from its first byte or the last answer
  std::chrono::milliseconds writeTime{10000};
  std::chrono::milliseconds keepAliveEvery{15000};  // an idle event stream's comment line, for proxies
};

class HttpServer {
 public:
  HttpServer(ApiRouter& router, JobBoard& board, HttpLimits limits, CorsPolicy cors = {});
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // HTTPS only from now on, with the certificate chain and key (PEM files);
  // false with `error` saying why they cannot be used. Before Start.
  bool UseTls(const std::string& certPath, const std::string& keyPath, std::string& error);
  // Binds and listens; false with `error` saying why.
  bool Listen(const std::string& address, uint16_t port, std::string& error);
  // The port bound (the one chosen, for port 0).
  uint16_t port() const;
  // Serves on `threads` threads of its own until Stop.
  void Start(unsigned threads);
  // Ends the event streams (giving them a moment to say so), then the rest.
  void Stop();

  struct State;  // the context, the acceptor and the threads; http_server.cpp's own

 private:
  std::unique_ptr<State> state_;
};

}  // namespace korvena::service
