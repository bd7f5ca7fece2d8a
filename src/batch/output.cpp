// What the batch program hands the user: files written whole or not at
// all, and refusals, one line on standard error each.
#include "batch/output.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool writeTo(const std::string &path, const std::string &text, int &err) {
  FILE *f = std::fopen(path.c_str(), "wb");
  bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = f && std::fflush(f) == 0 && ok;
  err = errno;
  if (f && std::fclose(f) != 0 && ok) ok = false, err = errno;
  return ok;
}

} // namespace

// A regular file (or none yet) is written beside and renamed into place; a
// device or a pipe (/dev/stdout) is written as it is.
bool writeWhole(const std::string &path, const std::string &text, std::string &error) {
  struct stat st;
  bool special = ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
  std::string part = special ? path : path + ".part";
  int err = 0;
  bool ok = writeTo(part, text, err);
  if (ok && !special && std::rename(part.c_str(), path.c_str()) != 0) ok = false, err = errno;
  if (!ok && !special) std::remove(part.c_str());
  if (!ok) error = "cannot write " + path + ": " + std::strerror(err);
  return ok;
}

int refuse(const std::string &why, int status) {
  std::fprintf(stderr, "tresolva-batch: %s\n", why.c_str());
  return status;
}
