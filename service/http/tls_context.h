#pragma once
// The server's side of TLS: its certificate chain and private key, loaded
// and checked once at the start, so that a wrong file stops the service
// with a clear message instead of failing every handshake later.
#include <boost/asio/ssl/context.hpp>
#include <memory>
#include <string>

namespace korvena::service {

// The context for HTTPS, TLS 1.2 and later; nothing, with `error` saying
// why, when a file cannot be read or is no PEM, the key has a passphrase
// or does not belong to the certificate, or others than its owner may read
// the key (as for the service password, a secret shared is a secret lost).
std::unique_ptr<boost::asio::ssl::context> ServerTlsContext(const std::string& certPath, const std::string& keyPath,
                                                             std::string& error);

}  // namespace korvena::service
