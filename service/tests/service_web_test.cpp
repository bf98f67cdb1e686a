// What a browser, a scraper and a client generator see of the real
// korvena-service: CORS for the listed origins only, /metrics in the
// Prometheus text format, and an OpenAPI document naming every route.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <regex>
#include <set>
#include <sstream>

#include "end_to_end_rig.h"

namespace korvena::service {
namespace {

const std::string kReceipt = R"({"mode": "A", "lines": [
  {"type": "item", "text": "Rožok", "quantity": "4.000", "unitPrice": "0.12", "vat": "B"}],
  "payments": [{"type": "cash", "amount": "1.00"}]})";

constexpr const char* kPage = "https://till.example";

struct CorsCase {
  const char* what;
  bool listed;          // the service runs with --allow-origin kPage
  const char* origin;   // nullptr: none sent
  bool preflight;       // OPTIONS with Access-Control-Request-Method, and no token
  bool privateNetwork;  // with Access-Control-Request-Private-Network: true
  int status;
  bool allowed;  // the answer names the origin; else it has no CORS header at all
};

TEST(ServiceCors, AnswersTheListedOriginsOnlyAndTheirPreflights) {
  const CorsCase cases[] = {
      {"a listed origin", true, kPage, false, false, 200, true},
      {"another port", true, "https://till.example:8443", false, false, 200, false},
      {"another scheme", true, "http://till.example", false, false, 200, false},
      {"no origin", true, nullptr, false, false, 200, false},
      {"a preflight", true, kPage, true, false, 204, true},
      {"a preflight for the local network", true, kPage, true, true, 204, true},
      {"a preflight from elsewhere", true, "https://evil.example", true, true, 403, false},
      {"no list", false, kPage, false, false, 200, false},
      {"a preflight without a list", false, kPage, true, true, 401, false},
  };
  EndToEndRig rig;
  ASSERT_TRUE(rig.StartDevice());
  for (const bool listed : {true, false}) {
    if (rig.service.running()) rig.service.Stop();
    ASSERT_TRUE(rig.StartService(
        listed ? std::vector<std::string>{"--allow-origin", "http://localhost:5173", "--allow-origin", kPage}
               : std::vector<std::string>{}))
        << rig.service.errors();
    for (const CorsCase& c : cases) {
      if (c.listed != listed) continue;
      RequestHeaders headers;
      if (c.origin != nullptr) headers.emplace_back("Origin", c.origin);
      if (c.preflight) {
        headers.emplace_back("Access-Control-Request-Method", "POST");
        headers.emplace_back("Access-Control-Request-Headers", "authorization, idempotency-key");
      } else {
        headers.emplace_back("Authorization", std::string("Bearer ") + kTillToken);
      }
      if (c.privateNetwork) headers.emplace_back("Access-Control-Request-Private-Network", "true");
      const HttpAnswer answer = HttpCall(rig.service.port(), c.preflight ? "OPTIONS" : "GET",
                                         c.preflight ? "/v1/devices/COM1/receipts" : "/v1/devices", headers);
      EXPECT_EQ(answer.status, c.status) << c.what << ": " << answer.body << answer.failure;
      const auto header = [&](const std::string& name) {
        const auto found = answer.headers.find(name);
        return found == answer.headers.end() ? std::string("(none)") : found->second;
      };
      if (!c.allowed) {
        for (const auto& [name, value] : answer.headers)
          EXPECT_NE(name.rfind("access-control-", 0), 0u) << c.what << ": " << name << ": " << value;
        if (c.status == 403) {
          EXPECT_EQ(answer.Json()["error"]["code"], "origin-not-allowed") << c.what;
        }
        continue;
      }
      EXPECT_EQ(header("access-control-allow-origin"), c.origin) << c.what;
      EXPECT_EQ(header("vary"), "Origin") << c.what;
      EXPECT_EQ(header("access-control-expose-headers"), "Location, Retry-After") << c.what;
      if (!c.preflight) continue;
      EXPECT_EQ(header("access-control-allow-methods"), "GET, POST") << c.what;
      EXPECT_EQ(header("access-control-allow-headers"), "Authorization, Content-Type, Idempotency-Key, Last-Event-ID")
          << c.what;
      EXPECT_NE(header("access-control-max-age"), "(none)") << c.what;
      EXPECT_EQ(header("access-control-allow-private-network"), c.privateNetwork ? "true" : "(none)") << c.what;
    }
  }
}

struct PageCase {
  const char* what;
  const char* target;
  int status;
  const char* type;   // the media type of a page served
  const char* start;  // how its body starts
};

TEST(ServicePages, ServeTheStatusPageAndTheWebFolderAndNothingBeyondIt) {
  EndToEndRig rig;
  rig.folder.Write("outside.txt", "not for the web");
  const std::string web = rig.folder.Write("web/index.html", "<p>till</p>");
  const std::string root = web.substr(0, web.rfind('/'));
  rig.folder.Write("web/till.js", "start();");
  rig.folder.Write("web/sub/till.css", "p {}");
  rig.folder.Write("web/.tokens", "till secret");
  ASSERT_EQ(symlink("../outside.txt", (root + "/escape.txt").c_str()), 0);
  ASSERT_EQ(symlink("till.js", (root + "/alias.js").c_str()), 0);
  ASSERT_EQ(mkfifo((root + "/pipe.js").c_str(), 0600), 0);
  ASSERT_TRUE(rig.StartDevice());
  ASSERT_TRUE(rig.StartService({"--web-root", root}, "korvena-service", {}, false)) << rig.service.errors();
  constexpr const char* kHtml = "text/html; charset=utf-8";
  constexpr const char* kScript = "text/javascript; charset=utf-8";
  const PageCase cases[] = {
      {"the status page", "/", 200, kHtml, "<!DOCTYPE html>"},
      {"its script", "/page/status.js", 200, kScript, "// The status page"},
      {"its style", "/page/status.css", 200, "text/css; charset=utf-8", ":root"},
      {"no other file of it", "/page/index.html", 404, nullptr, nullptr},
      {"the folder, its slash missing", "/web", 308, nullptr, nullptr},
      {"the folder's index", "/web/", 200, kHtml, "<p>till</p>"},
      {"a file", "/web/till.js", 200, kScript, "start();"},
      {"a file in a subfolder", "/web/sub/till.css", 200, "text/css; charset=utf-8", "p {}"},
      {"a link within the folder", "/web/alias.js", 200, kScript, "start();"},
      {"climbing out", "/web/%2E%2E/outside.txt", 404, nullptr, nullptr},
      {"a slash hidden in a segment", "/web/sub%2F..%2F..%2Foutside.txt", 404, nullptr, nullptr},
      {"a hidden file", "/web/.tokens", 404, nullptr, nullptr},
      {"a link out of the folder", "/web/escape.txt", 404, nullptr, nullptr},
      {"a FIFO, never opened", "/web/pipe.js", 404, nullptr, nullptr},
      {"a folder", "/web/sub", 404, nullptr, nullptr},
      {"nothing", "/web/none.js", 404, nullptr, nullptr},
  };
  for (const PageCase& c : cases) {
    HttpAnswer answer = HttpCall(rig.service.port(), "GET", c.target);
    EXPECT_EQ(answer.status, c.status) << c.what << ": " << answer.body << answer.failure;
    if (c.status == 308) EXPECT_EQ(answer.headers["location"], "/web/") << c.what;
    if (c.status != 200) continue;
    EXPECT_EQ(answer.headers["content-type"], c.type) << c.what;
    EXPECT_EQ(answer.body.rfind(c.start, 0), 0u) << c.what << ": " << answer.body.substr(0, 80);
    EXPECT_NE(answer.headers["content-security-policy"].find("script-src 'self'"), std::string::npos) << c.what;
    EXPECT_EQ(answer.headers["x-content-type-options"], "nosniff") << c.what;
  }
}

// A sample line: the metric's name, its labels, its value.
const std::regex kSample(R"(^([a-zA-Z_:][a-zA-Z0-9_:]*)(\{[^}]*\})? (\S+)$)");

TEST(ServiceMetrics, CountJobsDeviceStatesAndExchangeTimesInTheTextFormat) {
  EndToEndRig rig;
  ASSERT_TRUE(rig.StartDevice());
  ASSERT_TRUE(rig.StartService()) << rig.service.errors();
  ASSERT_EQ(rig.Post("/v1/devices/COM1/receipts", kReceipt, "m1").status, 200);
  ASSERT_TRUE(rig.WaitForDevice("ready"));
  EXPECT_EQ(rig.Get("/metrics", nullptr).status, 401) << "a token is needed";
  const HttpAnswer answer = rig.Get("/metrics");
  ASSERT_EQ(answer.status, 200) << answer.body;
  EXPECT_EQ(answer.headers.at("content-type"), "text/plain; version=0.0.4");

  std::map<std::string, std::string> types;
  std::set<std::string> helped;
  std::map<std::string, double> samples;  // name and labels -> value
  std::istringstream lines(answer.body);
  std::string line;
  while (std::getline(lines, line)) {
    std::smatch part;
    if (line.rfind("# HELP ", 0) == 0) {
      helped.insert(line.substr(7, line.find(' ', 7) - 7));
    } else if (line.rfind("# TYPE ", 0) == 0) {
      std::istringstream words(line.substr(7));
      std::string name, type;
      words >> name >> type;
      EXPECT_TRUE(type == "gauge" || type == "counter" || type == "histogram") << line;
      types[name] = type;
    } else if (std::regex_match(line, part, kSample)) {
      std::string family = part[1];
      for (const std::string suffix : {"_bucket", "_sum", "_count"})
        if (family.size() > suffix.size() &&
            family.compare(family.size() - suffix.size(), suffix.size(), suffix) == 0 &&
            types.count(family.substr(0, family.size() - suffix.size())) != 0)
          family.resize(family.size() - suffix.size());
      EXPECT_EQ(types.count(family), 1u) << "no TYPE before " << line;
      EXPECT_EQ(helped.count(family), 1u) << "no HELP before " << line;
      samples[std::string(part[1]) + std::string(part[2])] = std::stod(part[3]);
    } else {
      ADD_FAILURE() << "not a line of the text format: \"" << line << "\"";
    }
  }
  EXPECT_EQ(samples["korvena_jobs{state=\"done\"}"], 1) << answer.body;
  EXPECT_EQ(samples["korvena_jobs{state=\"failed\"}"], 0) << answer.body;
  EXPECT_EQ(samples["korvena_device_state{device=\"COM1\",state=\"ready\"}"], 1) << answer.body;
  EXPECT_EQ(samples["korvena_device_state{device=\"COM1\",state=\"busy\"}"], 0) << answer.body;
  EXPECT_EQ(samples["korvena_queue_length{device=\"COM1\"}"], 0) << answer.body;
  const double count = samples["korvena_exchange_seconds_count{device=\"COM1\"}"];
  EXPECT_GT(count, 0) << answer.body;
  EXPECT_EQ(samples["korvena_exchange_seconds_bucket{device=\"COM1\",le=\"+Inf\"}"], count) << answer.body;
  EXPECT_GT(samples["korvena_exchange_seconds_sum{device=\"COM1\"}"], 0) << answer.body;
}

struct Route {
  const char* method;
  const char* path;    // as the document names it
  const char* sample;  // a path it matches
};

// Every route the router answers; a route added to one and not the other fails here.
const Route kRoutes[] = {
    {"get", "/", "/"},
    {"get", "/page/{file}", "/page/status.js"},
    {"get", "/web/{path}", "/web/"},
    {"get", "/healthz", "/healthz"},
    {"get", "/openapi.json", "/openapi.json"},
    {"get", "/metrics", "/metrics"},
    {"get", "/v1/devices", "/v1/devices"},
    {"get", "/v1/events", "/v1/events"},
    {"get", "/v1/token", "/v1/token"},
    {"get", "/v1/jobs", "/v1/jobs"},
    {"get", "/v1/devices/{id}/status", "/v1/devices/COM1/status"},
    {"post", "/v1/devices/{id}/receipts/quote", "/v1/devices/COM1/receipts/quote"},
    {"post", "/v1/devices/{id}/receipts", "/v1/devices/COM1/receipts"},
    {"post", "/v1/devices/{id}/invoices", "/v1/devices/COM1/invoices"},
    {"post", "/v1/devices/{id}/cash", "/v1/devices/COM1/cash"},
    {"post", "/v1/devices/{id}/reports", "/v1/devices/COM1/reports"},
    {"post", "/v1/devices/{id}/copies", "/v1/devices/COM1/copies"},
    {"post", "/v1/devices/{id}/pause", "/v1/devices/COM1/pause"},
    {"post", "/v1/devices/{id}/resume", "/v1/devices/COM1/resume"},
    {"post", "/v1/devices/{id}/commands", "/v1/devices/COM1/commands"},
    {"post", "/v1/devices/{id}/settings/{name}", "/v1/devices/COM1/settings/clock"},
    {"get", "/v1/jobs/{key}", "/v1/jobs/k1"},
    {"post", "/v1/jobs/{key}/resolution", "/v1/jobs/k1/resolution"},
    {"post", "/v1/jobs/{key}/cancel", "/v1/jobs/k1/cancel"},
};

TEST(ServiceOpenApi, TheDocumentIsServedOpenAndNamesEveryRoute) {
  EndToEndRig rig;
  ASSERT_TRUE(rig.StartDevice());
  ASSERT_TRUE(rig.StartService({"--web-root", rig.folder.path()}, "korvena-service", {}, false)) << rig.service.errors();
  const HttpAnswer answer = rig.Get("/openapi.json", nullptr);
  ASSERT_EQ(answer.status, 200) << answer.body;
  const nlohmann::json document = answer.Json();
  ASSERT_TRUE(document.is_object()) << answer.body;
  EXPECT_EQ(document["openapi"], "3.1.0");

  const std::set<std::string> verbs = {"get", "post", "put", "patch", "delete", "options", "head"};
  std::set<std::pair<std::string, std::string>> documented;
  for (const auto& [path, item] : document["paths"].items())
    for (const auto& [key, operation] : item.items())
      if (verbs.count(key) != 0) documented.emplace(key, path);
  std::set<std::pair<std::string, std::string>> routed;
  for (const Route& route : kRoutes) {
    routed.emplace(route.method, route.path);
    // The router knows it, and for that method only: the other one gets 405 naming it.
    const std::string method = route.method;
    const HttpAnswer wrong = HttpCall(rig.service.port(), method == "get" ? "POST" : "GET", route.sample,
                                      {{"Authorization", std::string("Bearer ") + kServiceToken}});
    EXPECT_EQ(wrong.status, 405) << route.sample << ": " << wrong.body;
    const auto allow = wrong.headers.find("allow");
    EXPECT_TRUE(allow != wrong.headers.end() && allow->second == (method == "get" ? "GET" : "POST")) << route.sample;
  }
  for (const auto& [method, path] : routed)
    EXPECT_EQ(documented.count({method, path}), 1u) << "undocumented: " << method << " " << path;
  for (const auto& [method, path] : documented)
    EXPECT_EQ(routed.count({method, path}), 1u) << "not routed: " << method << " " << path;
}

}  // namespace
}  // namespace korvena::service
