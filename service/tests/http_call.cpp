#include "http_call.h"

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <cctype>

namespace korvena::service {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;

nlohmann::json HttpAnswer::Json() const {
  try {
    return nlohmann::json::parse(body);
  } catch (const nlohmann::json::exception&) {
    return nullptr;
  }
}

HttpAnswer HttpCall(int port, const std::string& method, const std::string& target, const RequestHeaders& headers,
                    const std::string& body, int limitMs) {
  HttpAnswer answer;
  try {
    asio::io_context io;
    beast::tcp_stream stream(io);
    stream.expires_after(std::chrono::milliseconds(limitMs));
    stream.connect(asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)));
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

}  // namespace korvena::service
