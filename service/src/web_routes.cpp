// What the service serves to browsers: its status page and the files of the
// web folder. Open to all, since a page holds no data and asks for a token
// itself; kept apart from the API's routes.
#include <utility>

#include "korvena/service/api_router.h"
#include "korvena/service/web_files.h"

namespace korvena::service {
namespace {

// The pages talk to this service only and run only their own scripts: an
// injected one could send a token elsewhere.
constexpr const char* kContentSecurityPolicy =
    "default-src 'self'; script-src 'self'; style-src 'self'; connect-src 'self'; img-src 'self' data:; "
    "object-src 'none'; base-uri 'none'; form-action 'self'; frame-ancestors 'none'";

ApiResponse PageAnswer(WebFile file) {
  return {200,
          {{"Content-Type", std::string(file.mediaType)},
           {"Cache-Control", "no-cache"},
           {"X-Content-Type-Options", "nosniff"},
           {"Referrer-Policy", "no-referrer"},
           {"Content-Security-Policy", kContentSecurityPolicy}},
          std::move(file.bytes)};
}

ApiResponse NotFound() { return ApiRouter::Error(404, "not-found", "no such resource"); }

}  // namespace

ApiResponse ApiRouter::StatusPage(std::string_view name) const {
  std::optional<WebFile> file = StatusPageFile(name);
  return file ? PageAnswer(std::move(*file)) : NotFound();
}

ApiResponse ApiRouter::WebFolderFile(const std::vector<std::string>& below) const {
  // Relative links in the folder's pages need the slash after /web.
  if (below.empty()) return {308, {{"Location", "/web/"}}, ""};
  WebFolder::Read read = web_.File(below);
  switch (read.outcome) {
    case WebFolder::Read::kFound: return PageAnswer(std::move(read.file));
    case WebFolder::Read::kNotFound: break;
    case WebFolder::Read::kUnreadable: return Error(500, "unreadable", "the file cannot be read or is too large");
  }
  return NotFound();
}

}  // namespace korvena::service
