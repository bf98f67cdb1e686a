// The real korvena-service against korvena-emu on a pseudo-terminal: every
// endpoint, the bad input it must refuse clearly without a worker getting
// stuck, and what each token's role may do.
#include <gtest/gtest.h>

#include <boost/asio.hpp>
#include <chrono>
#include <thread>

#include "end_to_end_rig.h"

namespace korvena::service {
namespace {

using Json = nlohmann::json;
namespace asio = boost::asio;

const std::string kInvoice =
    R"({"amount": "120.00", "text": "Faktúra 2026/17", "payments": [{"type": "card", "amount": "120.00"}]})";
const std::string kReceipt = R"({"mode": "A", "lines": [
  {"type": "item", "text": "Rožok", "quantity": "4.000", "unitPrice": "0.12", "vat": "B"}],
  "payments": [{"type": "cash", "amount": "1.00"}]})";

const std::string kUnpaid = R"({"mode": "A", "lines": [
  {"type": "item", "text": "Rožok", "quantity": "4.000", "unitPrice": "0.12", "vat": "B"}]})";

struct Call {
  const char* method;
  std::string target;
  std::string body;
  std::string key;
  const char* token;
  int status;
  std::string pointer;  // a JSON pointer into the answer, "" for none
  Json value;
};

void Expect(EndToEndRig& rig, const Call& c) {
  RequestHeaders headers;
  if (c.token != nullptr) headers.emplace_back("Authorization", std::string("Bearer ") + c.token);
  if (!c.key.empty()) headers.emplace_back("Idempotency-Key", c.key);
  const HttpAnswer answer = HttpCall(rig.service.port(), c.method, c.target, headers, c.body);
  EXPECT_EQ(answer.status, c.status) << c.method << " " << c.target << ": " << answer.body << answer.failure;
  if (c.pointer.empty()) return;
  const Json body = answer.Json();
  const Json::json_pointer pointer(c.pointer);
  ASSERT_TRUE(body.contains(pointer)) << c.target << " " << c.pointer << " in " << answer.body;
  EXPECT_EQ(body[pointer], c.value) << c.target << " " << c.pointer;
}

class ServiceApi : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rig.StartDevice());
    ASSERT_TRUE(rig.StartService({"--max-connections", "6", "--request-limit", "2000"})) << rig.service.errors();
  }
  EndToEndRig rig;
};

TEST_F(ServiceApi, EveryEndpointAnswersAsDocumented) {
  const std::string other = R"({"mode": "B", "lines": [
    {"type": "item", "text": "Rožok", "quantity": "4.000", "unitPrice": "0.12", "vat": "B"}],
    "payments": [{"type": "cash", "amount": "1.00"}]})";
  // In order: the receipt prints once; its retry gets the same answer.
  const Call calls[] = {
      {"GET", "/healthz", "", "", nullptr, 200, "/status", "ok"},
      {"GET", "/v1/devices", "", "", kTillToken, 200, "/0/id", "COM1"},
      {"GET", "/v1/devices", "", "", kTillToken, 200, "/0/serialNumber", "KV2010-004711"},
      {"GET", "/v1/devices/COM1/status", "", "", kTillToken, 200, "/vatCoefficient1", "2000"},
      {"GET", "/v1/devices/COM9/status", "", "", kTillToken, 404, "/error/code", "not-found"},
      {"POST", "/v1/devices/COM1/receipts/quote", kReceipt, "", kTillToken, 200, "/total", "0.58"},
      // Before payment the till knows no payments yet: the total is what it asks for.
      {"POST", "/v1/devices/COM1/receipts/quote", kUnpaid, "", kTillToken, 200, "/total", "0.58"},
      {"POST", "/v1/devices/COM1/receipts/quote", kUnpaid, "", kTillToken, 200, "/change", "0.00"},
      {"POST", "/v1/devices/COM1/receipts", kReceipt, "r1", kTillToken, 200, "/documentNumber", 1863},
      {"POST", "/v1/devices/COM1/receipts", kReceipt, "r1", kTillToken, 200, "/documentNumber", 1863},
      {"POST", "/v1/devices/COM1/receipts", other, "r1", kTillToken, 422, "/error/code", "key-reused"},
      {"GET", "/v1/jobs/r1", "", "", kTillToken, 200, "/state", "done"},
      {"GET", "/v1/jobs/r1", "", "", kTillToken, 200, "/result/change", "0.42"},
      {"GET", "/v1/jobs/r2", "", "", kTillToken, 404, "/error/code", "not-found"},
      {"POST", "/v1/jobs/r1/cancel", "", "", kTillToken, 409, "/error/code", "not-accepted"},
      {"POST", "/v1/jobs/r1/resolution", R"({"printed": true})", "", kServiceToken, 409, "/error/code", "not-unknown"},
      {"POST", "/v1/devices/COM9/receipts", kReceipt, "r3", kTillToken, 404, "/error/code", "not-found"},
      {"GET", "/v1/devices/COM1/receipts", "", "", kTillToken, 405, "/error/code", "method-not-allowed"},
      {"GET", "/v2/devices", "", "", kTillToken, 404, "/error/code", "not-found"},
      // The other documents, numbered on from the receipt; the reports have no number of their own.
      {"POST", "/v1/devices/COM1/invoices", kInvoice, "i1", kTillToken, 200, "/documentNumber", 1864},
      {"POST", "/v1/devices/COM1/invoices", kInvoice, "i1", kTillToken, 200, "/total", "120.00"},
      {"POST", "/v1/devices/COM1/cash", R"({"deposit": "20.00"})", "c1", kTillToken, 200, "/documentNumber", 1865},
      {"POST", "/v1/devices/COM1/cash", R"({"withdrawal": "5.50"})", "c2", kTillToken, 200, "/documentNumber", 1866},
      {"POST", "/v1/devices/COM1/cash", R"({"withdrawal": "5.50"})", "c1", kTillToken, 422, "/error/code",
       "key-reused"},
      {"POST", "/v1/devices/COM1/copies", "{}", "k1", kTillToken, 200, "/state", "done"},
      {"POST", "/v1/devices/COM1/reports", R"({"type": "running"})", "x1", kTillToken, 200, "/state", "done"},
      {"POST", "/v1/devices/COM1/reports", R"({"type": "closing"})", "z1", kTillToken, 200, "/closing/lastDocument",
       1866},
      {"POST", "/v1/devices/COM1/reports", R"({"type": "interval", "from": 1, "to": 1})", "m1", kTillToken, 200,
       "/state", "done"},
      {"POST", "/v1/devices/COM1/reports", R"({"type": "interval", "from": "2026-01-01", "to": "2099-12-31"})", "m2",
       kTillToken, 200, "/state", "done"},
      // No closing lies in the range: the device refuses, and nothing printed.
      {"POST", "/v1/devices/COM1/reports", R"({"type": "interval", "from": 5, "to": 9})", "m3", kTillToken, 422,
       "/error/deviceStatus", 1},
  };
  for (const Call& c : calls) Expect(rig, c);
  HttpAnswer status = rig.Get("/v1/devices/COM1/status");
  // The values are read one by one between jobs; asOf comes once all are in.
  for (int i = 0; i < 500 && !status.Json()["asOf"].is_string(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    status = rig.Get("/v1/devices/COM1/status");
  }
  EXPECT_NE(status.Json()["registerFlags"].dump().find("vatPayer"), std::string::npos) << status.body;
  EXPECT_TRUE(status.Json()["asOf"].is_string()) << status.body;
  EXPECT_EQ(rig.device.journal().find("POKLADNICNY DOKLAD c. 1864"), std::string::npos) << "printed once";
}

TEST_F(ServiceApi, TheJobListShowsTheNewestFirstAndATillItsDocumentsOnly) {
  ASSERT_EQ(rig.Post("/v1/devices/COM1/receipts", kReceipt, "r1").status, 200);
  // A raw command may carry the service password: a till never sees it.
  ASSERT_EQ(rig.Post("/v1/devices/COM1/commands", R"({"command": "IV;5"})", "q1", kServiceToken).status, 200);
  ASSERT_EQ(rig.Post("/v1/devices/COM1/cash", R"({"deposit": "20.00"})", "c1").status, 200);
  struct Listing {
    const char* token;
    const char* query;
    std::vector<std::string> keys;
  };
  const Listing listings[] = {
      {kTillToken, "", {"c1", "r1"}},
      {kServiceToken, "", {"c1", "q1", "r1"}},
      {kServiceToken, "?limit=1", {"c1"}},
      {kTillToken, "?device=COM1&limit=2", {"c1", "r1"}},
      {kTillToken, "?device=COM2", {}},
  };
  for (const Listing& l : listings) {
    const HttpAnswer answer = rig.Get(std::string("/v1/jobs") + l.query, l.token);
    ASSERT_EQ(answer.status, 200) << l.query << ": " << answer.body;
    std::vector<std::string> keys;
    for (const Json& job : answer.Json()) keys.push_back(job["key"]);
    EXPECT_EQ(keys, l.keys) << l.token << " " << l.query;
  }
  // Each as GET /v1/jobs/KEY shows it: the total and printout for the page to show.
  const Json receipt = rig.Get("/v1/jobs?device=COM1").Json()[1];
  EXPECT_EQ(receipt["kind"], "receipt");
  EXPECT_EQ(receipt["result"]["total"], "0.58");
  EXPECT_NE(receipt["result"]["printout"].get<std::string>().find("POKLADNICNY DOKLAD"), std::string::npos);
  for (const char* query : {"?limit=0", "?limit=201", "?limit=x"})
    Expect(rig, {"GET", std::string("/v1/jobs") + query, "", "", kTillToken, 400, "/error/code", "bad-request"});
  Expect(rig, {"GET", "/v1/token", "", "", kTillToken, 200, "/role", "till"});
  Expect(rig, {"GET", "/v1/token", "", "", kServiceToken, 200, "/role", "service"});
  Expect(rig, {"GET", "/v1/jobs", "", "", nullptr, 401, "/error/code", "unauthorized"});
}

std::string RawExchange(int port, const std::string& bytes, int pauseMs = 0) {
  asio::io_context io;
  asio::ip::tcp::socket socket(io);
  socket.connect({asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)});
  boost::system::error_code error;
  for (const char c : bytes) {
    // A byte at a time until the service answers.
    if (pauseMs == 0 || socket.available(error) > 0) break;
    asio::write(socket, asio::buffer(&c, 1), error);
    if (error) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
  }
  if (pauseMs == 0) asio::write(socket, asio::buffer(bytes), error);
  std::string answer;
  char buffer[4096];
  while (true) {
    const std::size_t got = socket.read_some(asio::buffer(buffer), error);
    if (error) break;
    answer.append(buffer, got);
  }
  return answer.substr(0, answer.find("\r\n"));
}

TEST_F(ServiceApi, BadInputGetsAClearAnswerAndNoWorkerIsStuck) {
  const std::string line =
      R"({"type": "item", "text": "Rožok", "quantity": "4.000", "unitPrice": "0.12", "vat": "B"})";
  const auto receipt = [](const std::string& lines, const std::string& payments) {
    return R"({"mode": "A", "lines": [)" + lines + R"(], "payments": )" + payments + "}";
  };
  const std::string cash = R"([{"type": "cash", "amount": "1.00"}])";
  const std::string url = "/v1/devices/COM1/receipts";
  const Call calls[] = {
      {"POST", url, kReceipt, "", kTillToken, 400, "/error/code", "bad-key"},
      {"POST", url, kReceipt, std::string(65, 'k'), kTillToken, 400, "/error/code", "bad-key"},
      // A browser or curl makes /v1/jobs/.. into /v1/: no job by that key could be asked for.
      {"POST", url, kReceipt, "..", kTillToken, 400, "/error/code", "bad-key"},
      {"POST", url, kReceipt, ".", kTillToken, 400, "/error/code", "bad-key"},
      {"POST", url, "{\"mode\": ", "b1", kTillToken, 400, "/error/code", "bad-json"},
      {"POST", url, receipt(R"({"type": "item", "text": "x", "quantity": 1, "unitPrice": "1", "vat": "A"})", cash),
       "b2", kTillToken, 422, "/error/message", "lines[0].quantity must be a decimal number in a string, such as \"2.50\""},
      {"POST", url, receipt(line, R"([{"type": "cash", "amount": "1.00", "tip": "1"}])"), "b3", kTillToken, 422,
       "/error/message", "payments[0].tip: no such field"},
      {"POST", url, receipt(R"({"type": "item", "text": "Čaj ☕", "quantity": "1", "unitPrice": "1", "vat": "A"})", cash),
       "b4", kTillToken, 422, "/error/message", "lines[0].text: the device's code page 852 has no \"☕\""},
      {"POST", url, receipt(line, R"([{"type": "cash", "amount": "0.57"}])"), "b5", kTillToken, 422,
       "/error/message", "the payments (0.57) do not cover the total 0.58"},
      {"POST", url, receipt(line, R"([{"type": "cash", "amount": "10000000.50"}])"), "b18", kTillToken, 422,
       "/error/code", "invalid"},
      {"POST", url, std::string(65 * 1024, ' '), "b6", kTillToken, 413, "/error/code", "too-large"},
      {"POST", "/v1/jobs/b1/resolution", R"({"printed": "yes"})", "", kServiceToken, 422, "/error/code", "invalid"},
      {"POST", "/v1/devices/COM1/invoices", R"({"amount": "0.00", "text": "x", "payments": []})", "b8", kTillToken,
       422, "/error/message", "amount must be above 0"},
      {"POST", "/v1/devices/COM1/cash", R"({"deposit": "1.00", "withdrawal": "1.00"})", "b9", kTillToken, 422,
       "/error/message", "the body must be {\"deposit\": AMOUNT} or {\"withdrawal\": AMOUNT}"},
      {"POST", "/v1/devices/COM1/cash", R"({"deposit": 5})", "b10", kTillToken, 422, "/error/message",
       "deposit must be a decimal number in a string, such as \"20.00\""},
      {"POST", "/v1/devices/COM1/reports", R"({"type": "weekly"})", "b11", kTillToken, 422, "/error/message",
       "type must be \"running\", \"closing\" or \"interval\", not \"weekly\""},
      {"POST", "/v1/devices/COM1/reports", R"({"type": "interval", "from": 3, "to": 2})", "b12", kTillToken, 422,
       "/error/message", "from and to must be closing numbers from 1 to 999999, from not above to"},
      {"POST", "/v1/devices/COM1/reports", R"({"type": "interval", "from": 1, "to": "2026-12-01"})", "b13",
       kTillToken, 422, "/error/message",
       "from and to must both be closing numbers or both be dates as YYYY-MM-DD"},
      {"POST", "/v1/devices/COM1/reports", R"({"type": "interval", "from": "2026-1-5", "to": "2026-01-01"})",
       "b17", kTillToken, 422, "/error/message", "from must be a date as YYYY-MM-DD, not \"2026-1-5\""},
      {"POST", "/v1/devices/COM1/reports", R"({"type": "interval", "from": "2026-02-29", "to": "2026-03-01"})",
       "b14", kTillToken, 422, "/error/message", "from: there is no day 2026-02-29"},
      {"POST", "/v1/devices/COM1/reports", R"({"type": "running", "from": 1})", "b15", kTillToken, 422,
       "/error/message", "from: no such field"},
      {"POST", "/v1/devices/COM1/copies", R"({"last": true})", "b16", kTillToken, 422, "/error/message",
       "last: no such field"},
  };
  for (const Call& c : calls) Expect(rig, c);
  const int port = rig.service.port();
  // A header flood, a client sending a byte at a time, more connections than the limit.
  EXPECT_EQ(RawExchange(port, "GET /healthz HTTP/1.1\r\nHost: x\r\n" + std::string(2000, 'X') +
                                  std::string(20 * 1024, 'h') + ": 1\r\n\r\n"),
            "HTTP/1.1 431 Request Header Fields Too Large");
  EXPECT_EQ(RawExchange(port, "GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n", 250), "HTTP/1.1 408 Request Timeout");
  {
    asio::io_context io;
    std::vector<asio::ip::tcp::socket> idle;
    for (int i = 0; i < 6; ++i) {
      idle.emplace_back(io);
      idle.back().connect({asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)});
    }
    // An earlier connection the service still finishes may hold a place too: each try that is
    // served stays open beside the idle ones, so that one more than the limit is refused.
    std::string over;
    for (int i = 0; i < 10 && over != "HTTP/1.1 429 Too Many Requests"; ++i) {
      asio::ip::tcp::socket& held = idle.emplace_back(io);
      held.connect({asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)});
      asio::write(held, asio::buffer(std::string("GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n")));
      asio::streambuf answer;
      boost::system::error_code error;
      asio::read_until(held, answer, "\r\n", error);
      const std::string text(asio::buffers_begin(answer.data()), asio::buffers_end(answer.data()));
      over = text.substr(0, text.find("\r\n"));
    }
    EXPECT_EQ(over, "HTTP/1.1 429 Too Many Requests");
  }
  // The idle connections are gone once the service has seen them close.
  for (int i = 0; i < 300 && rig.Get("/healthz").status == 429; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  // Nothing of it held the worker: a receipt prints at once.
  EXPECT_EQ(rig.Post(url, kReceipt, "b7").status, 200);
  EXPECT_EQ(rig.Post(url, receipt(line, cash), "b4").status, 200) << "a refused key is still free";
}

TEST_F(ServiceApi, TokensGrantWhatTheirRoleMay) {
  const Call calls[] = {
      {"GET", "/v1/devices", "", "", nullptr, 401, "/error/code", "unauthorized"},
      {"GET", "/v1/devices", "", "", "not-a-token", 401, "/error/code", "unauthorized"},
      {"GET", "/v1/devices", "", "", kTillToken, 200, "", nullptr},
      {"GET", "/v1/devices", "", "", kServiceToken, 200, "", nullptr},
      {"POST", "/v1/devices/COM1/receipts", kReceipt, "t1", nullptr, 401, "/error/code", "unauthorized"},
      {"POST", "/v1/devices/COM1/receipts", kReceipt, "t1", kTillToken, 200, "/state", "done"},
      {"POST", "/v1/devices/COM1/receipts", kReceipt, "t1", kServiceToken, 200, "/state", "done"},
      {"POST", "/v1/jobs/t1/resolution", R"({"printed": true})", "", kTillToken, 403, "/error/code", "forbidden"},
      {"POST", "/v1/jobs/t1/resolution", R"({"printed": true})", "", kServiceToken, 409, "/error/code", "not-unknown"},
      {"GET", "/healthz", "", "", nullptr, 200, "/status", "ok"},
  };
  for (const Call& c : calls) Expect(rig, c);
  // What the tills sent is nobody else's business: no token, no body in the log.
  const std::string log = rig.service.errors();
  for (const std::string secret : {kTillToken, kServiceToken, "Rožok", "Bearer"})
    EXPECT_EQ(log.find(secret), std::string::npos) << secret << " in the log:\n" << log;
}

TEST(ServiceLostDevice, RefusesNewReceiptsWhileLostAndFinishesTheOneItHeldOnceBack) {
  EndToEndRig rig;
  // Deaf to S for 3 s, three times the service's answer limit: the device is lost.
  ASSERT_TRUE(rig.StartDevice({"--deaf-after", "1", "--fault-frames", "S", "--fault-for", "3000"}));
  ASSERT_TRUE(rig.StartService({"--wait-limit", "0"})) << rig.service.errors();
  EXPECT_EQ(rig.Post("/v1/devices/COM1/receipts", kReceipt, "l1").status, 202);
  ASSERT_TRUE(rig.WaitForDevice("lost"));
  const HttpAnswer refused = rig.Post("/v1/devices/COM1/receipts", kReceipt, "l2");
  EXPECT_EQ(refused.status, 503) << refused.body;
  EXPECT_EQ(refused.Json()["error"]["code"], "device-lost");
  EXPECT_EQ(refused.headers.count("retry-after"), 1u) << "a till is told when to try again";
  // Found again by itself, it settles the held receipt (S was never heard) and prints it once.
  const HttpAnswer done = rig.PostUntilSettled(kReceipt, "l1");
  EXPECT_EQ(done.Json()["state"], "done") << done.body << done.failure;
  EXPECT_EQ(rig.PostUntilSettled(kReceipt, "l2").status, 200) << "the refused key is free";
  EXPECT_EQ(PrintedReceipts(rig.device.journal()).size(), 2u) << rig.device.journal();
}

TEST(ServiceWithoutCoefficients, RefusesReceiptsItCannotCheckAndKeepsTheirKeysFree) {
  EndToEndRig rig;
  // A VAT coefficient the service cannot read: it knows no receipt's total,
  // as before its first talk with a device that is still connecting. An
  // invoice needs none, and is not held up.
  ASSERT_TRUE(rig.StartDevice({"--info", "10=x"}));
  ASSERT_TRUE(rig.StartService({"--wait-limit", "0"})) << rig.service.errors();
  const std::string shortPaid = OneItemReceipt("Chlieb", "1.50", "1.00");
  const HttpAnswer refused = rig.Post("/v1/devices/COM1/receipts", shortPaid, "c1");
  EXPECT_EQ(refused.status, 503) << refused.body;
  EXPECT_EQ(refused.Json()["error"]["code"], "device-not-ready");
  EXPECT_EQ(refused.headers.count("retry-after"), 1u) << "a till is told when to try again";
  EXPECT_EQ(rig.Get("/v1/jobs/c1").status, 404) << "the key stays free for the corrected sale";
  EXPECT_EQ(rig.Post("/v1/devices/COM1/receipts/quote", shortPaid).headers.count("retry-after"), 1u);
  EXPECT_EQ(rig.Post("/v1/devices/COM1/receipts", R"({"mode": "A"})", "c2").status, 422) << "bad input is bad first";
  const std::string invoice = R"({"amount": "2.00", "text": "F1", "payments": [{"type": "cash", "amount": "2.00"}]})";
  EXPECT_EQ(rig.PostUntilSettled(invoice, "c3", 10000, "/v1/devices/COM1/invoices").status, 200);
}

TEST(ServiceUnknownJob, BlocksTheDeviceUntilTheServiceRoleResolvesIt) {
  EndToEndRig rig;
  // The device mutes on the discount: a cent it takes or not, which no exchange can tell.
  ASSERT_TRUE(rig.StartDevice({"--mute-after", "1", "--fault-frames", "LZ", "--fault-for", "300"}));
  ASSERT_TRUE(rig.StartService({"--wait-limit", "0"})) << rig.service.errors();
  const std::string cent = R"({"mode": "A", "lines": [
    {"type": "item", "text": "Chlieb", "quantity": "1", "unitPrice": "1.50", "vat": "A"},
    {"type": "discount", "text": "Zlava", "quantity": "1", "unitPrice": "0.01", "vat": "A"}],
    "payments": [{"type": "cash", "amount": "1.50"}]})";
  const HttpAnswer accepted = rig.Post("/v1/devices/COM1/receipts", cent, "u1");
  EXPECT_EQ(accepted.status, 202) << accepted.body;
  EXPECT_EQ(accepted.headers.at("location"), "/v1/jobs/u1");
  EXPECT_EQ(accepted.headers.at("retry-after"), "1");
  // Queued behind it, and cancelled while still waiting.
  EXPECT_EQ(rig.Post("/v1/devices/COM1/receipts", OneItemReceipt("Mlieko", "0.89", "1.00"), "u2").status, 202);
  EXPECT_EQ(rig.Post("/v1/jobs/u2/cancel", "").Json()["state"], "failed");
  EXPECT_EQ(rig.Post("/v1/devices/COM1/receipts", OneItemReceipt("Mlieko", "0.89", "1.00"), "u2").status, 409);

  ASSERT_TRUE(rig.WaitForDevice("blocked"));
  EXPECT_EQ(rig.Post("/v1/devices/COM1/receipts", cent, "u1").status, 409) << "unknown";
  const HttpAnswer blocked = rig.Post("/v1/devices/COM1/receipts", OneItemReceipt("Syr", "2.00", "2.00"), "u3");
  EXPECT_EQ(blocked.Json()["error"]["code"], "device-blocked");
  EXPECT_EQ(blocked.headers.count("retry-after"), 1u);
  const Json job = rig.Get("/v1/jobs/u1").Json();
  EXPECT_EQ(job["state"], "unknown");
  EXPECT_EQ(job["result"]["evidence"]["frame"], "L2");
  EXPECT_FALSE(job["frames"].empty()) << "the frames are its evidence";

  EXPECT_EQ(rig.Post("/v1/jobs/u1/resolution", R"({"printed": false})", "", kTillToken).status, 403);
  EXPECT_EQ(rig.Post("/v1/jobs/u1/resolution", R"({"printed": false})", "", kServiceToken).Json()["state"], "failed");
  EXPECT_EQ(rig.Post("/v1/devices/COM1/receipts", cent, "u1").Json()["error"]["code"], "not-printed");
}

}  // namespace
}  // namespace korvena::service
