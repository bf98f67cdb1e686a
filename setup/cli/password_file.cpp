#include "password_file.h"

#include <sys/stat.h>

#include "argument_forms.h"
#include "cli_failure.h"
#include "cli_files.h"

namespace korvena::cli {
namespace {

constexpr std::size_t kLargestPasswordFile = 4096;

}  // namespace

std::string ReadPasswordFile(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) == 0 && (status.st_mode & (S_IRWXG | S_IRWXO)) != 0)
    FailFile(path + ": the password file is open to others; chmod 600 it");
  std::string password = ReadInputFile(path, kLargestPasswordFile);
  password = password.substr(0, password.find('\n'));
  while (!password.empty() && (password.back() == '\r' || password.back() == ' ' || password.back() == '\t'))
    password.pop_back();
  CheckPassword(password, "the password in " + path);
  return password;
}

}  // namespace korvena::cli
