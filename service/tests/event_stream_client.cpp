#include "event_stream_client.h"

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>

namespace korvena::service {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using Deadline = std::chrono::steady_clock::time_point;

namespace {

int MsLeft(Deadline deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return static_cast<int>(std::max<int64_t>(left.count(), 0));
}

}  // namespace

struct EventStreamClient::Line {
  // Runs the context until `done` or `limitMs` pass; an operation still
  // pending then is cancelled (and its handler run), and false comes back.
  bool Run(const bool& done, int limitMs) {
    io.restart();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!done && std::chrono::steady_clock::now() < deadline) io.run_one_until(deadline);
    if (done) return true;
    beast::error_code ignored;
    stream.socket().cancel(ignored);
    io.restart();
    while (!done) io.run_one();
    return false;
  }

  // The next whole event of what came; comments (the keep-alive) are skipped.
  std::optional<StreamedEvent> Parsed() {
    while (true) {
      const std::size_t end = text.find("\n\n");
      if (end == std::string::npos) return std::nullopt;
      const std::string block = text.substr(0, end + 1);
      text.erase(0, end + 2);
      StreamedEvent event;
      bool any = false;
      for (std::size_t start = 0; start < block.size();) {
        const std::size_t stop = block.find('\n', start);
        const std::string line = block.substr(start, stop - start);
        start = stop + 1;
        const std::size_t colon = line.find(": ");
        if (line.empty() || line[0] == ':' || colon == std::string::npos) continue;
        const std::string field = line.substr(0, colon);
        const std::string value = line.substr(colon + 2);
        any = true;
        if (field == "id") event.id = value;
        if (field == "event") event.type = value;
        if (field == "data") event.data = nlohmann::json::parse(value, nullptr, false);
      }
      if (any) return event;
    }
  }

  asio::io_context io;
  beast::tcp_stream stream{io};
  beast::flat_buffer buffer;
  http::response_parser<http::string_body> parser;
  http::request<http::empty_body> request;
  std::string text;  // of the body, not parsed yet
  bool cut = false;
  std::string failure;
};

EventStreamClient::EventStreamClient() : line_(std::make_unique<Line>()) {}
EventStreamClient::~EventStreamClient() = default;

bool EventStreamClient::Open(int port, const std::string& target, const RequestHeaders& headers, int limitMs) {
  Line& line = *line_;
  line.parser.body_limit(std::numeric_limits<std::uint64_t>::max());
  line.request = {http::verb::get, target, 11};
  line.request.set(http::field::host, "127.0.0.1");
  for (const auto& [name, value] : headers) line.request.set(name, value);
  bool done = false;
  beast::error_code failed;
  const asio::ip::tcp::endpoint endpoint(asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port));
  const auto finish = [&](beast::error_code error) {
    failed = error;
    done = true;
  };
  line.stream.async_connect(endpoint, [&](beast::error_code connected) {
    if (connected) return finish(connected);
    http::async_write(line.stream, line.request, [&](beast::error_code written, std::size_t) {
      if (written) return finish(written);
      http::async_read_header(line.stream, line.buffer, line.parser,
                              [&](beast::error_code read, std::size_t) { finish(read); });
    });
  });
  if (!line.Run(done, limitMs) || failed) {
    line.failure = failed ? failed.message() : "no answer in time";
    line.cut = true;
    return false;
  }
  return true;
}

int EventStreamClient::status() const { return line_->parser.is_header_done() ? line_->parser.get().result_int() : 0; }

std::string EventStreamClient::Header(const std::string& name) const {
  if (!line_->parser.is_header_done()) return "";
  const auto found = line_->parser.get().find(name);
  return found == line_->parser.get().end() ? "" : std::string(found->value());
}

std::optional<StreamedEvent> EventStreamClient::Next(int limitMs) {
  Line& line = *line_;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (true) {
    if (std::optional<StreamedEvent> event = line.Parsed()) return event;
    if (line.cut || line.parser.is_done()) return std::nullopt;
    const int left = MsLeft(deadline);
    if (left == 0) return std::nullopt;
    bool done = false;
    beast::error_code failed;
    http::async_read_some(line.stream, line.buffer, line.parser, [&](beast::error_code error, std::size_t) {
      failed = error;
      done = true;
    });
    const bool inTime = line.Run(done, left);
    std::string& body = line.parser.get().body();
    line.text += body;
    body.clear();
    if (!inTime) return line.Parsed();
    if (failed && !line.parser.is_done()) {
      line.failure = failed.message();
      line.cut = true;
    }
  }
}

std::vector<StreamedEvent> EventStreamClient::Until(const std::function<bool(const StreamedEvent&)>& matches,
                                                    int limitMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  std::vector<StreamedEvent> events;
  while (true) {
    std::optional<StreamedEvent> event = Next(MsLeft(deadline));
    if (!event) return events;
    events.push_back(std::move(*event));
    if (matches(events.back())) return events;
  }
}

bool EventStreamClient::finished() const { return line_->parser.is_done(); }

const std::string& EventStreamClient::failure() const { return line_->failure; }

}  // namespace korvena::service
