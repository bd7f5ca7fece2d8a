// A video made from frames piped straight into ffmpeg, which writes it
// beside the file asked for; renamed into place only once it is whole.
#include "batch/video.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sys/wait.h>
#include <unistd.h>

namespace {

bool onPath(const std::string &name) {
  const char *path = std::getenv("PATH");
  std::string dirs = path ? path : "";
  size_t from = 0;
  while (from <= dirs.size()) {
    size_t to = dirs.find(':', from);
    if (to == std::string::npos) to = dirs.size();
    std::string dir = dirs.substr(from, to - from);
    if (access(((dir.empty() ? "." : dir) + "/" + name).c_str(), X_OK) == 0) return true;
    from = to + 1;
  }
  return false;
}

// The same folder and extension, so that ffmpeg picks the same format.
std::string besideOf(const std::string &path) {
  size_t slash = path.rfind('/');
  std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return dir + ".part-" + std::to_string(getpid()) + "-" + name;
}

} // namespace

int openVideo(Video &v, const std::string &path, int width, int height, int fps,
              std::string &error) {
  if (!onPath("ffmpeg")) {
    error = "--video needs ffmpeg, and there is none on the PATH";
    return 2;
  }
  v.path = path, v.part = besideOf(path);
  v.frameSize = (size_t)width * height * 3;
  std::string size = std::to_string(width) + "x" + std::to_string(height);
  std::string rate = std::to_string(fps);
  int fds[2];
  if (::pipe(fds) != 0) {
    error = std::string("cannot start ffmpeg: ") + std::strerror(errno);
    return 1;
  }
  std::signal(SIGPIPE, SIG_IGN); // ffmpeg ending early shows as a failed write
  v.pid = fork();
  if (v.pid == 0) {
    dup2(fds[0], 0);
    close(fds[0]), close(fds[1]);
    execlp("ffmpeg", "ffmpeg", "-loglevel", "error", "-y", "-f", "rawvideo", "-pix_fmt", "rgb24",
           "-s", size.c_str(), "-r", rate.c_str(), "-i", "-", v.part.c_str(), (char *)nullptr);
    _exit(127);
  }
  close(fds[0]);
  if (v.pid < 0) {
    close(fds[1]);
    error = std::string("cannot start ffmpeg: ") + std::strerror(errno);
    return 1;
  }
  v.pipe = fds[1];
  return 0;
}

bool videoFrame(Video &v, const std::vector<unsigned char> &rgb, std::string &error) {
  size_t done = 0;
  while (done < v.frameSize) {
    ssize_t put = write(v.pipe, rgb.data() + done, v.frameSize - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      error = "ffmpeg stopped taking frames (see its message above)";
      return false;
    }
    done += (size_t)put;
  }
  return true;
}

bool closeVideo(Video &v, bool whole, std::string &error) {
  if (v.pipe >= 0) close(v.pipe);
  int status = 0;
  if (v.pid > 0) waitpid(v.pid, &status, 0);
  bool made = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (whole && !made) error = "ffmpeg could not make " + v.path + " (see its message above)";
  if (whole && made && std::rename(v.part.c_str(), v.path.c_str()) != 0) {
    error = "cannot write " + v.path + ": " + std::strerror(errno);
    made = false;
  }
  if (!(whole && made)) std::remove(v.part.c_str());
  v = Video{};
  return whole && made;
}
