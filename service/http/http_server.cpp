#include "http_server.h"

#include <atomic>
#include <boost/asio.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include "korvena/service/service_events.h"
#include "tls_context.h"

namespace korvena::service {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace ssl = asio::ssl;
using tcp = asio::ip::tcp;
using Response = http::response<http::string_body>;
using TlsStream = beast::ssl_stream<beast::tcp_stream>;

// How long Stop waits for the event streams to write their end.
constexpr auto kStreamsEndWithin = std::chrono::seconds(1);

// Counts a connection while it lives.
struct Admission {
  explicit Admission(std::atomic<std::size_t>& count) : count_(count) { ++count_; }
  ~Admission() { --count_; }
  Admission(const Admission&) = delete;
  Admission& operator=(const Admission&) = delete;
  std::atomic<std::size_t>& count_;
};

Response MakeResponse(const ApiResponse& api, unsigned version, bool keepAlive) {
  Response response{static_cast<http::status>(api.status), version};
  response.set(http::field::server, "korvena-service");
  response.set(http::field::content_type, "application/json");
  response.set(http::field::cache_control, "no-store");
  for (const auto& [name, value] : api.headers) response.set(name, value);
  response.body() = api.body;
  response.keep_alive(keepAlive);
  response.prepare_payload();
  return response;
}

}  // namespace

// Handlers hold their connection, never the server: stopping it destroys
// what is left in the context (and so the connections) before the count
// and the streams they keep go.
struct HttpServer::State {
  State(ApiRouter& r, JobBoard& b, HttpLimits l, CorsPolicy c)
      : router(r), board(b), limits(l), cors(std::move(c)), acceptor(io) {}
  void Accept();
  // Registers an open event stream with what ends it; nothing once stopping.
  std::optional<uint64_t> AddStream(std::function<void()> end);
  void RemoveStream(uint64_t id);
  // Ends every stream and waits up to `within` for them to be gone.
  void EndStreams(std::chrono::milliseconds within);

  ApiRouter& router;
  JobBoard& board;
  HttpLimits limits;
  CorsPolicy cors;
  std::unique_ptr<ssl::context> tls;  // HTTPS only, when set
  std::atomic<std::size_t> connections{0};
  std::mutex streamsLock;
  std::condition_variable streamsGone;
  std::map<uint64_t, std::function<void()>> streams;
  uint64_t lastStream = 0;
  bool stopping = false;
  asio::io_context io;
  tcp::acceptor acceptor;
  std::vector<std::thread> threads;
};

namespace {

// One client's connection, plain or over TLS: the same session either way.
template <class Stream>
class Connection : public std::enable_shared_from_this<Connection<Stream>> {
  static constexpr bool kTls = std::is_same_v<Stream, TlsStream>;

 public:
  template <class... TlsContext>
  Connection(tcp::socket socket, HttpServer::State& server, bool refused, TlsContext&... tls)
      : stream_(std::move(socket), tls...),
        server_(&server),
        timer_(stream_.get_executor()),
        requestTimer_(stream_.get_executor()),
        refused_(refused) {
    if (!refused_) admission_.emplace(server_->connections);
  }

  ~Connection() { LeaveStreams(); }

  void Start() {
    asio::dispatch(stream_.get_executor(), [self = Self()] {
      if constexpr (kTls) {
        // The handshake counts into the first request's time.
        self->ArmRequestTimer();
        self->armedAhead_ = true;
        self->stream_.async_handshake(ssl::stream_base::server, [self](beast::error_code error) {
          // Plain HTTP, a stranger's bytes or a timeout: there is no channel to answer in.
          if (error) return self->Close();
          self->Begin();
        });
      } else {
        self->Begin();
      }
    });
  }

 private:
  std::shared_ptr<Connection> Self() { return this->shared_from_this(); }
  beast::tcp_stream& Lowest() { return beast::get_lowest_layer(stream_); }

  void Begin() {
    if (!refused_) return Read();
    requestTimer_.cancel();
    Send(ApiRouter::Error(429, "too-many-connections", "too many connections; try again shortly"), 11, false);
  }

  void ArmRequestTimer() {
    timedOut_ = false;
    requestTimer_.expires_after(server_->limits.requestTime);
    requestTimer_.async_wait([self = Self()](beast::error_code error) {
      if (error) return;
      self->timedOut_ = true;
      beast::error_code ignored;
      self->Lowest().socket().cancel(ignored);
    });
  }

  void Read() {
    parser_.emplace();
    cors_.clear();
    parser_->header_limit(static_cast<std::uint32_t>(server_->limits.headerBytes));
    parser_->body_limit(server_->limits.bodyBytes);
    // The stream's own expiry would close the socket, leaving no way to say
    // 408: a timer of our own stops the read instead.
    Lowest().expires_never();
    if (!std::exchange(armedAhead_, false)) ArmRequestTimer();
    http::async_read(stream_, buffer_, *parser_,
                     [self = Self()](beast::error_code error, std::size_t) { self->Received(error); });
  }

  void Received(beast::error_code error) {
    requestTimer_.cancel();
    if (timedOut_) {
      // Silence between requests just ends the connection; a request begun and not finished is told.
      if (buffer_.size() == 0 && !parser_->got_some()) return Close();
      return Send(ApiRouter::Error(408, "too-slow", "the request did not arrive whole in time"), 11, false);
    }
    if (error == http::error::end_of_stream || error == asio::error::connection_reset) return Close();
    if (error == http::error::body_limit)
      return Send(ApiRouter::Error(413, "too-large", "the body is over " +
                                                         std::to_string(server_->limits.bodyBytes) + " bytes"),
                  11, false);
    if (error == http::error::header_limit)
      return Send(ApiRouter::Error(431, "headers-too-large", "the headers are too large"), 11, false);
    if (error) return Send(ApiRouter::Error(400, "bad-request", "not a well-formed HTTP request"), 11, false);

    http::request<http::string_body> request = parser_->release();
    ApiRequest api;
    api.method = std::string(request.method_string());
    api.target = std::string(request.target());
    for (const auto& field : request) api.headers.emplace_back(std::string(field.name_string()), std::string(field.value()));
    api.body = std::move(request.body());
    version_ = request.version();
    keepAlive_ = request.keep_alive();
    cors_ = server_->cors.HeadersFor(api);
    if (const std::optional<ApiResponse> preflight = server_->cors.Preflight(api))
      return Send(*preflight, version_, keepAlive_);
    ApiReply reply = server_->router.Handle(api);
    if (reply.events) return OpenStream(std::move(reply.events));
    if (!reply.awaitJob) return Send(reply.response, version_, keepAlive_);
    Await(*reply.awaitJob);
  }

  // Waits for the job until the board reports it or the wait limit passes.
  void Await(const std::string& key) {
    key_ = key;
    waiting_ = true;
    auto self = Self();
    // The board may outlive the server: it holds the connection weakly.
    ticket_ = server_->board.Wait(key, [weak = std::weak_ptr<Connection>(self)] {
      if (const std::shared_ptr<Connection> alive = weak.lock())
        asio::post(alive->stream_.get_executor(), [alive] { alive->WaitOver(); });
    });
    timer_.expires_after(std::chrono::milliseconds(server_->router.settings().waitLimitMs));
    timer_.async_wait([self](beast::error_code error) {
      if (!error) self->WaitOver();
    });
    // The job may have ended before the waiter was there to hear it.
    if (server_->router.JobSettled(key)) WaitOver();
  }

  void WaitOver() {
    if (!waiting_) return;
    waiting_ = false;
    server_->board.Withdraw(ticket_);
    timer_.cancel();
    Send(server_->router.JobAnswer(key_), version_, keepAlive_);
  }

  void Send(const ApiResponse& api, unsigned version, bool keepAlive) {
    response_ = std::make_shared<Response>(MakeResponse(api, version, keepAlive));
    for (const auto& [name, value] : cors_) response_->set(name, value);
    Lowest().expires_after(server_->limits.writeTime);
    http::async_write(stream_, *response_, [self = Self(), keepAlive](beast::error_code error, std::size_t) {
      if (!error && keepAlive) return self->Read();
      if (error) return self->Close();
      self->Linger();
    });
  }

  // The event stream: its header, then the events as they come. The
  // connection ends with it; HTTP/1.0 has no chunks, so there the end of
  // the connection is the end of the body.
  void OpenStream(std::shared_ptr<EventSubscription> events) {
    events_ = std::move(events);
    chunked_ = version_ >= 11;
    auto header = std::make_shared<http::response<http::empty_body>>(http::status::ok, version_);
    header->set(http::field::server, "korvena-service");
    header->set(http::field::content_type, "text/event-stream");
    header->set(http::field::cache_control, "no-store");
    // A proxy that gathers a whole answer before passing it on would hold the events back.
    header->set("X-Accel-Buffering", "no");
    for (const auto& [name, value] : cors_) header->set(name, value);
    header->keep_alive(false);
    header->chunked(chunked_);
    auto serializer = std::make_shared<http::response_serializer<http::empty_body>>(*header);
    Lowest().expires_after(server_->limits.writeTime);
    http::async_write_header(stream_, *serializer,
                             [self = Self(), header, serializer](beast::error_code error, std::size_t) {
                               if (error) return self->Close();
                               self->Streaming();
                             });
  }

  void Streaming() {
    const std::weak_ptr<Connection> weak = Self();
    // Both run on other threads (Stop's, a publisher's): they only post here.
    streamId_ = server_->AddStream([weak] {
      if (const std::shared_ptr<Connection> alive = weak.lock())
        asio::post(alive->stream_.get_executor(), [alive] { alive->EndStream(); });
    });
    if (!streamId_) return EndStream();
    events_->OnReady([weak] {
      if (const std::shared_ptr<Connection> alive = weak.lock())
        asio::post(alive->stream_.get_executor(), [alive] { alive->Pump(); });
    });
    KeepAlive();
    Pump();
  }

  void KeepAlive() {
    timer_.expires_after(server_->limits.keepAliveEvery);
    timer_.async_wait([self = Self()](beast::error_code error) {
      if (error || self->ending_ || self->finished_) return;
      self->keepAliveDue_ = true;
      self->Pump();
      self->KeepAlive();
    });
  }

  // Writes what waits, one write at a time; called whenever something may wait.
  void Pump() {
    if (writing_ || finished_) return;
    if (ending_) return Finish();
    const EventSubscription::Batch batch = events_->Take();
    // Dropped for falling behind: the client comes back with the last id it saw.
    if (batch.ended) return Finish();
    std::string text;
    for (const ServiceEvent& event : batch.events) text += EventStreamText(event);
    if (text.empty() && keepAliveDue_) text = kKeepAliveText;
    if (text.empty()) return;
    keepAliveDue_ = false;
    writing_ = true;
    outgoing_ = std::move(text);
    Lowest().expires_after(server_->limits.writeTime);
    const auto written = [self = Self()](beast::error_code error, std::size_t) {
      self->writing_ = false;
      if (error) return self->Close();
      self->Pump();
    };
    if (chunked_) {
      asio::async_write(stream_, http::make_chunk(asio::buffer(outgoing_)), written);
    } else {
      asio::async_write(stream_, asio::buffer(outgoing_), written);
    }
  }

  void EndStream() {
    ending_ = true;
    Pump();
  }

  // The body's end, then the connection's.
  void Finish() {
    finished_ = true;
    timer_.cancel();
    if (!chunked_) return Close();
    writing_ = true;
    Lowest().expires_after(server_->limits.writeTime);
    asio::async_write(stream_, http::make_chunk_last(),
                      [self = Self()](beast::error_code, std::size_t) { self->Close(); });
  }

  void LeaveStreams() {
    if (const std::optional<uint64_t> id = std::exchange(streamId_, std::nullopt)) server_->RemoveStream(*id);
  }

  // A client may still be sending what was refused (a body too large, a
  // header flood): closing at once would reset the connection and lose
  // the answer on its way, so its bytes are read and dropped for a while.
  void Linger() {
    beast::error_code ignored;
    Lowest().socket().shutdown(tcp::socket::shutdown_send, ignored);
    Lowest().expires_after(std::chrono::milliseconds(1000));
    Drain();
  }

  void Drain() {
    Lowest().async_read_some(asio::buffer(scratch_), [self = Self()](beast::error_code error, std::size_t) {
      if (error) return self->Close();
      self->Drain();
    });
  }

  void Close() {
    finished_ = true;
    timer_.cancel();
    beast::error_code ignored;
    Lowest().socket().shutdown(tcp::socket::shutdown_both, ignored);
    Lowest().close();
    LeaveStreams();
  }

  Stream stream_;
  HttpServer::State* server_;
  asio::steady_timer timer_;  // the wait for a job, or an event stream's keep-alive
  asio::steady_timer requestTimer_;
  bool timedOut_ = false;
  bool armedAhead_ = false;  // the request timer runs since the handshake began
  bool refused_;
  std::optional<Admission> admission_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
  std::shared_ptr<Response> response_;
  unsigned version_ = 11;
  bool keepAlive_ = false;
  bool waiting_ = false;
  uint64_t ticket_ = 0;
  std::string key_;
  HeaderList cors_;  // what this request's answer tells a browser
  char scratch_[4096];
  // An event stream's own.
  std::shared_ptr<EventSubscription> events_;
  std::optional<uint64_t> streamId_;
  bool chunked_ = true;
  bool writing_ = false;
  bool keepAliveDue_ = false;
  bool ending_ = false;    // the server stops
  bool finished_ = false;  // the body's end is written or being written, or the connection closed
  std::string outgoing_;
};

}  // namespace

void HttpServer::State::Accept() {
  acceptor.async_accept(asio::make_strand(io), [this](beast::error_code error, tcp::socket socket) {
    if (error == asio::error::operation_aborted || !acceptor.is_open()) return;
    if (!error) {
      const bool refused = connections.load() >= limits.maxConnections;
      if (tls) {
        std::make_shared<Connection<TlsStream>>(std::move(socket), *this, refused, *tls)->Start();
      } else {
        std::make_shared<Connection<beast::tcp_stream>>(std::move(socket), *this, refused)->Start();
      }
    }
    Accept();
  });
}

std::optional<uint64_t> HttpServer::State::AddStream(std::function<void()> end) {
  const std::lock_guard<std::mutex> hold(streamsLock);
  if (stopping) return std::nullopt;
  streams.emplace(++lastStream, std::move(end));
  return lastStream;
}

void HttpServer::State::RemoveStream(uint64_t id) {
  const std::lock_guard<std::mutex> hold(streamsLock);
  streams.erase(id);
  if (streams.empty()) streamsGone.notify_all();
}

void HttpServer::State::EndStreams(std::chrono::milliseconds within) {
  std::vector<std::function<void()>> ends;
  {
    const std::lock_guard<std::mutex> hold(streamsLock);
    stopping = true;
    for (const auto& [id, end] : streams) ends.push_back(end);
  }
  for (const std::function<void()>& end : ends) end();
  std::unique_lock<std::mutex> hold(streamsLock);
  streamsGone.wait_for(hold, within, [this] { return streams.empty(); });
}

HttpServer::HttpServer(ApiRouter& router, JobBoard& board, HttpLimits limits, CorsPolicy cors)
    : state_(std::make_unique<State>(router, board, limits, std::move(cors))) {}

HttpServer::~HttpServer() { Stop(); }

bool HttpServer::UseTls(const std::string& certPath, const std::string& keyPath, std::string& error) {
  state_->tls = ServerTlsContext(certPath, keyPath, error);
  return state_->tls != nullptr;
}

bool HttpServer::Listen(const std::string& address, uint16_t port, std::string& error) {
  beast::error_code code;
  const asio::ip::address ip = asio::ip::make_address(address, code);
  const tcp::endpoint endpoint(ip, port);
  if (!code) state_->acceptor.open(endpoint.protocol(), code);
  if (!code) state_->acceptor.set_option(asio::socket_base::reuse_address(true), code);
  if (!code) state_->acceptor.bind(endpoint, code);
  if (!code) state_->acceptor.listen(asio::socket_base::max_listen_connections, code);
  if (code) {
    error = "cannot listen on " + address + ":" + std::to_string(port) + ": " + code.message();
    return false;
  }
  return true;
}

uint16_t HttpServer::port() const {
  beast::error_code ignored;
  return state_->acceptor.local_endpoint(ignored).port();
}

void HttpServer::Start(unsigned threads) {
  state_->Accept();
  for (unsigned i = 0; i < std::max(threads, 1u); ++i) state_->threads.emplace_back([state = state_.get()] { state->io.run(); });
}

void HttpServer::Stop() {
  if (state_->threads.empty()) return;
  state_->EndStreams(kStreamsEndWithin);
  state_->io.stop();
  for (std::thread& thread : state_->threads) thread.join();
  state_->threads.clear();
}

}  // namespace korvena::service
