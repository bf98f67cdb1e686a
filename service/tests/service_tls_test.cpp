// korvena-service with --tls-cert and --tls-key: HTTPS only, with the
// certificate given, and no start at all with a key or certificate it
// cannot use.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "end_to_end_rig.h"

namespace korvena::service {
namespace {

// NAME.pem, a self-signed certificate for 127.0.0.1, and NAME.key, its key
// (mode 0600), made by the openssl program.
bool MakeCertificate(const ScratchFolder& folder, const std::string& name) {
  const std::string key = folder / (name + ".key");
  const std::string command =
      "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj /CN=127.0.0.1"
      " -addext subjectAltName=IP:127.0.0.1 -keyout " + key + " -out " + folder / (name + ".pem") + " 2>/dev/null";
  return std::system(command.c_str()) == 0 && chmod(key.c_str(), 0600) == 0;
}

TEST(ServiceTls, ServesHttpsOnlyWithTheCertificateGiven) {
  EndToEndRig rig;
  ASSERT_TRUE(MakeCertificate(rig.folder, "server") && MakeCertificate(rig.folder, "other"));
  const std::string certificate = rig.folder / "server.pem";
  ASSERT_TRUE(rig.StartDevice());
  ASSERT_TRUE(rig.StartService({"--tls-cert", certificate, "--tls-key", rig.folder / "server.key"}, "korvena-service",
                               {}, false))
      << rig.service.errors();
  const RequestHeaders till = {{"Authorization", std::string("Bearer ") + kTillToken}};
  HttpAnswer devices;
  for (int tries = 0; tries < 200 && devices.Json()[0]["state"] != "ready"; ++tries) {
    devices = HttpsCall(rig.service.port(), certificate, "GET", "/v1/devices", till);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(devices.status, 200) << devices.failure;
  EXPECT_EQ(devices.Json()[0]["state"], "ready") << devices.body;
  const HttpAnswer receipt = HttpsCall(rig.service.port(), certificate, "POST", "/v1/devices/COM1/receipts",
                                       {till[0], {"Idempotency-Key", "t1"}, {"Content-Type", "application/json"}},
                                       OneItemReceipt("Chlieb", "1.20", "2.00"), 30000);
  EXPECT_EQ(receipt.status, 200) << receipt.body << receipt.failure;

  const HttpAnswer plain = HttpCall(rig.service.port(), "GET", "/healthz");
  EXPECT_EQ(plain.status, 0) << "plain HTTP gets nothing at the HTTPS port: " << plain.body;
  const HttpAnswer stranger = HttpsCall(rig.service.port(), rig.folder / "other.pem", "GET", "/healthz");
  EXPECT_EQ(stranger.status, 0) << "the server shows its own certificate, no other";
  EXPECT_EQ(rig.service.Stop(), 0);
}

TEST(ServiceTls, DoesNotStartWithAKeyOrCertificateItCannotUse) {
  EndToEndRig rig;
  ASSERT_TRUE(MakeCertificate(rig.folder, "server") && MakeCertificate(rig.folder, "other"));
  const std::string certificate = rig.folder / "server.pem";
  const std::string key = rig.folder / "server.key";
  const std::string shared = rig.folder.Write("shared.key", rig.folder.Read("server.key"));
  chmod(shared.c_str(), 0640);
  const std::string garbage = rig.folder.Write("garbage.pem", "-----BEGIN CERTIFICATE-----\nnot one\n");
  // A service has no terminal to ask for a passphrase on.
  const std::string locked = rig.folder / "locked.key";
  ASSERT_EQ(std::system(("openssl pkey -in " + key + " -aes256 -passout pass:secret -out " + locked).c_str()), 0);
  chmod(locked.c_str(), 0600);
  const struct {
    const char* what;
    std::vector<std::string> arguments;
    int status;
    const char* message;
  } cases[] = {
      {"no key file", {"--tls-cert", certificate, "--tls-key", rig.folder / "missing.key"}, 1,
       "cannot read the TLS key"},
      {"a key others may read", {"--tls-cert", certificate, "--tls-key", shared}, 1, "may be read by others"},
      {"no certificate file", {"--tls-cert", rig.folder / "missing.pem", "--tls-key", key}, 1, "cannot be used"},
      {"no certificate in the file", {"--tls-cert", garbage, "--tls-key", key}, 1, "cannot be used"},
      {"a key with a passphrase", {"--tls-cert", certificate, "--tls-key", locked}, 1, "the TLS key"},
      {"another certificate's key", {"--tls-cert", certificate, "--tls-key", rig.folder / "other.key"}, 1,
       "does not belong to the certificate"},
      {"a certificate without its key", {"--tls-cert", certificate}, 2, "--tls-cert and --tls-key go together"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(rig.StartService(c.arguments, "korvena-service", {}, false)) << c.what;
    EXPECT_EQ(rig.service.exitStatus(), c.status) << c.what;
    EXPECT_NE(rig.service.errors().find(c.message), std::string::npos) << c.what << ": " << rig.service.errors();
  }
}

}  // namespace
}  // namespace korvena::service
