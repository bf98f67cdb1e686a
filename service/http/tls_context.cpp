#include "tls_context.h"

#include <openssl/ssl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace korvena::service {

namespace ssl = boost::asio::ssl;

std::unique_ptr<ssl::context> ServerTlsContext(const std::string& certPath, const std::string& keyPath,
                                               std::string& error) {
  struct stat info {};
  if (stat(keyPath.c_str(), &info) != 0) {
    error = "cannot read the TLS key " + keyPath + ": " + std::strerror(errno);
    return nullptr;
  }
  if ((info.st_mode & 077) != 0) {
    error = "the TLS key " + keyPath + " may be read by others (make it mode 0600)";
    return nullptr;
  }
  auto context = std::make_unique<ssl::context>(ssl::context::tls_server);
  SSL_CTX_set_min_proto_version(context->native_handle(), TLS1_2_VERSION);
  context->set_options(ssl::context::default_workarounds | ssl::context::single_dh_use);
  // A key with a passphrase would otherwise ask for it on a terminal a service has not got.
  context->set_password_callback([](std::size_t, ssl::context::password_purpose) { return std::string(); });
  // The key first: a certificate loaded after a key it does not match drops
  // the key, which the check below then names plainly.
  boost::system::error_code code;
  context->use_private_key_file(keyPath, ssl::context::pem, code);
  if (code) {
    error = "the TLS key " + keyPath + " cannot be used: " + code.message();
    return nullptr;
  }
  context->use_certificate_chain_file(certPath, code);
  if (code) {
    error = "the TLS certificate " + certPath + " cannot be used: " + code.message();
    return nullptr;
  }
  if (SSL_CTX_check_private_key(context->native_handle()) != 1) {
    error = "the TLS key " + keyPath + " does not belong to the certificate " + certPath;
    return nullptr;
  }
  return context;
}

}  // namespace korvena::service
