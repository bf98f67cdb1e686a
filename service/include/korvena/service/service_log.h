#pragma once
// korvena-service's log: one event a line on standard error, where journald
// takes it. Every line goes through here, so what a line may hold is decided
// in one place: never a token, a request body, a password, an Authorization
// header or a query string (a request target may carry ?access_token=). The
// callers pass ids, states and error texts only; LogLine keeps each event on
// one line and cuts off anything that reads as a query string.
#include <cstddef>
#include <string>
#include <string_view>

namespace korvena::service {

// The longest text a line keeps; an error text that runs on is cut short.
constexpr std::size_t kMaxLogText = 1000;

// "korvena-service: " and the formatted text, written with a single write(2)
// so that lines from the device threads and the HTTP threads never interleave.
void LogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The text as LogLine writes it: control characters (a line break in an error
// text) as spaces, whatever follows a '?' up to the end of its word (a query
// string) dropped, at most kMaxLogText bytes.
std::string LoggableText(std::string_view text);

}  // namespace korvena::service
