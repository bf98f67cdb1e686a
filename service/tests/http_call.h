#pragma once
// One HTTP/1.1 request to the service on the loopback, as a till would
// send it, on a connection of its own: the answer, or why none came. Over
// HTTPS too, trusting the one certificate given.
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

namespace korvena::service {

struct HttpAnswer {
  int status = 0;  // 0 when no answer came
  std::map<std::string, std::string> headers;  // names in lower case
  std::string body;
  std::string failure;  // why no answer came
  nlohmann::json Json() const;
};

using RequestHeaders = std::vector<std::pair<std::string, std::string>>;

HttpAnswer HttpCall(int port, const std::string& method, const std::string& target, const RequestHeaders& headers = {},
                    const std::string& body = "", int limitMs = 10000);
// The same over TLS; the server's certificate must be `certificatePath` (PEM) or signed by it.
HttpAnswer HttpsCall(int port, const std::string& certificatePath, const std::string& method, const std::string& target,
                     const RequestHeaders& headers = {}, const std::string& body = "", int limitMs = 10000);

}  // namespace korvena::service
