#include "http_server.h"

#include <atomic>
#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <optional>
#include <thread>
#include <vector>

namespace korvena::service {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using Response = http::response<http::string_body>;

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
// they keep goes.
struct HttpServer::State {
  State(ApiRouter& r, JobBoard& b, HttpLimits l, CorsPolicy c)
      : router(r), board(b), limits(l), cors(std::move(c)), acceptor(io) {}
  void Accept();

  ApiRouter& router;
  JobBoard& board;
  HttpLimits limits;
  CorsPolicy cors;
  std::atomic<std::size_t> connections{0};
  asio::io_context io;
  tcp::acceptor acceptor;
  std::vector<std::thread> threads;
};

namespace {

class Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(tcp::socket socket, HttpServer::State& server, bool refused)
      : stream_(std::move(socket)),
        server_(&server),
        timer_(stream_.get_executor()),
        requestTimer_(stream_.get_executor()),
        refused_(refused) {
    if (!refused_) admission_.emplace(server_->connections);
  }

  void Start() {
    asio::dispatch(stream_.get_executor(), [self = shared_from_this()] {
      if (self->refused_) {
        self->Send(ApiRouter::Error(429, "too-many-connections", "too many connections; try again shortly"), 11,
                   false);
        return;
      }
      self->Read();
    });
  }

 private:
  void Read() {
    parser_.emplace();
    cors_.clear();
    parser_->header_limit(static_cast<std::uint32_t>(server_->limits.headerBytes));
    parser_->body_limit(server_->limits.bodyBytes);
    // The stream's own expiry would close the socket, leaving no way to say
    // 408: a timer of our own stops the read instead.
    stream_.expires_never();
    timedOut_ = false;
    requestTimer_.expires_after(server_->limits.requestTime);
    requestTimer_.async_wait([self = shared_from_this()](beast::error_code error) {
      if (error) return;
      self->timedOut_ = true;
      beast::error_code ignored;
      self->stream_.socket().cancel(ignored);
    });
    http::async_read(stream_, buffer_, *parser_,
                     [self = shared_from_this()](beast::error_code error, std::size_t) { self->Received(error); });
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
    if (!reply.awaitJob) return Send(reply.response, version_, keepAlive_);
    Await(*reply.awaitJob);
  }

  // Waits for the job until the board reports it or the wait limit passes.
  void Await(const std::string& key) {
    key_ = key;
    waiting_ = true;
    auto self = shared_from_this();
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
    if (server_->router.JobAnswer(key).status != 202) WaitOver();
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
    stream_.expires_after(server_->limits.writeTime);
    http::async_write(stream_, *response_, [self = shared_from_this(), keepAlive](beast::error_code error, std::size_t) {
      if (!error && keepAlive) return self->Read();
      if (error) return self->Close();
      self->Linger();
    });
  }

  // A client may still be sending what was refused (a body too large, a
  // header flood): closing at once would reset the connection and lose
  // the answer on its way, so its bytes are read and dropped for a while.
  void Linger() {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
    stream_.expires_after(std::chrono::milliseconds(1000));
    Drain();
  }

  void Drain() {
    stream_.async_read_some(asio::buffer(scratch_), [self = shared_from_this()](beast::error_code error, std::size_t) {
      if (error) return self->Close();
      self->Drain();
    });
  }

  void Close() {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
    stream_.close();
  }

  beast::tcp_stream stream_;
  HttpServer::State* server_;
  asio::steady_timer timer_;
  asio::steady_timer requestTimer_;
  bool timedOut_ = false;
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
};

}  // namespace

void HttpServer::State::Accept() {
  acceptor.async_accept(asio::make_strand(io), [this](beast::error_code error, tcp::socket socket) {
    if (error == asio::error::operation_aborted || !acceptor.is_open()) return;
    if (!error) {
      const bool refused = connections.load() >= limits.maxConnections;
      std::make_shared<Connection>(std::move(socket), *this, refused)->Start();
    }
    Accept();
  });
}

HttpServer::HttpServer(ApiRouter& router, JobBoard& board, HttpLimits limits, CorsPolicy cors)
    : state_(std::make_unique<State>(router, board, limits, std::move(cors))) {}

HttpServer::~HttpServer() { Stop(); }

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
  state_->io.stop();
  for (std::thread& thread : state_->threads) thread.join();
  state_->threads.clear();
}

}  // namespace korvena::service
