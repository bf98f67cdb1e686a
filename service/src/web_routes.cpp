// What the service serves to browsers: its status page and the files of the
// web folder. Open to all, since a page holds no data and asks for a token
// itself; kept apart from the API's routes.
#include "korvena/service/api_router.h"
#include "korvena/service/web_files.h"

namespace korvena::service {
namespace {

// The pages talk to this service only and run only their own scripts: an
// injected one could send a token elsewhere.
constexpr const char* kContentSecurityPolicy =
    "default-src 'self'; script-src 'self'; style-src 'self'; connect-src 'self'; img-src 'self' data:; "
    "object-src 'none'; base-uri 'none'; form-action 'self'; frame-ancestors 'none'";

ApiResponse PageAnswer(const WebFile& file) {
  return {200,
          {{"Content-Type", std::string(file.mediaType)},
           {"Cache-Control", "no-cache"},
           {"X-Content-Type-Options", "nosniff"},
           {"Referrer-Policy", "no-referrer"},
           {"Content-Security-Policy", kContentSecurityPolicy}},
          file.bytes};
}

}  // namespace

ApiResponse ApiRouter::Page(const std::vector<std::string>& path) const {
  const ApiResponse notFound = Error(404, "not-found", "no such resource");
  if (path.size() == 1 && path[0].empty()) return PageAnswer(*StatusPageFile(""));
  if (path.size() == 2 && path[0] == "page") {
    const std::optional<WebFile> file = StatusPageFile(path[1]);
    return file ? PageAnswer(*file) : notFound;
  }
  // Relative links in the folder's pages need the slash after /web.
  if (path.size() == 1) return {308, {{"Location", "/web/"}}, ""};
  const WebFolder::Read read = web_.File(std::vector<std::string>(path.begin() + 1, path.end()));
  switch (read.outcome) {
    case WebFolder::Read::kFound: return PageAnswer(read.file);
    case WebFolder::Read::kNotFound: break;
    case WebFolder::Read::kUnreadable: return Error(500, "unreadable", "the file cannot be read or is too large");
  }
  return notFound;
}

}  // namespace korvena::service
