#include "http_call.h"

#include <boost/asio.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>
#include <cctype>

namespace korvena::service {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace ssl = asio::ssl;

namespace {

// Connects `stream`'s lowest layer and runs `handshake`; then the request and its answer.
template <class Stream, class Handshake>
HttpAnswer Call(Stream& stream, int port, const Handshake& handshake, const std::string& method,
                const std::string& target, const RequestHeaders& headers, const std::string& body, int limitMs) {
  HttpAnswer answer;
  try {
    beast::tcp_stream& tcp = beast::get_lowest_layer(stream);
    tcp.expires_after(std::chrono::milliseconds(limitMs));
    tcp.connect(asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)));
    handshake(stream);
    http::request<http::string_body> request{http::string_to_verb(method), target, 11};
    request.set(http::field::host, "127.0.0.1");
    for (const auto& [name, value] : headers) request.set(name, value);
    request.body() = body;
    request.prepare_payload();
    http::write(stream, request);
    beast::flat_buffer buffer;
    http::response_parser<http::string_body> parser;
    parser.body_limit(64 << 20);
    http::read(stream, buffer, parser);
    const auto& response = parser.get();
    answer.status = static_cast<int>(response.result_int());
    for (const auto& field : response) {
      std::string name(field.name_string());
      for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      answer.headers[name] = std::string(field.value());
    }
    answer.body = response.body();
  } catch (const std::exception& error) {
    answer.failure = error.what();
  }
  return answer;
}

}  // namespace

nlohmann::json HttpAnswer::Json() const {
  try {
    return nlohmann::json::parse(body);
  } catch (const nlohmann::json::exception&) {
    return nullptr;
  }
}

HttpAnswer HttpCall(int port, const std::string& method, const std::string& target, const RequestHeaders& headers,
                    const std::string& body, int limitMs) {
  asio::io_context io;
  beast::tcp_stream stream(io);
  return Call(stream, port, [](beast::tcp_stream&) {}, method, target, headers, body, limitMs);
}

HttpAnswer HttpsCall(int port, const std::string& certificatePath, const std::string& method,
                     const std::string& target, const RequestHeaders& headers, const std::string& body,
                     int limitMs) {
  asio::io_context io;
  ssl::context tls(ssl::context::tls_client);
  beast::error_code failed;
  tls.load_verify_file(certificatePath, failed);
  if (failed) return {0, {}, "", "cannot read " + certificatePath + ": " + failed.message()};
  tls.set_verify_mode(ssl::verify_peer);
  beast::ssl_stream<beast::tcp_stream> stream(io, tls);
  const auto handshake = [](beast::ssl_stream<beast::tcp_stream>& s) { s.handshake(ssl::stream_base::client); };
  return Call(stream, port, handshake, method, target, headers, body, limitMs);
}

}  // namespace korvena::service
