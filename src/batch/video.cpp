// A video made from frames piped straight into ffmpeg, which writes it
// beside the file asked for; renamed into place only once ffprobe finds
// every frame in it (ffmpeg can end with status 0 on a full disk).
// Containers browsers play get H.264 or VP9 in yuv420p, which needs even
// sizes: an odd one is padded by a row or a column of the background.
#include "batch/video.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "batch/output.h"

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

} // namespace

int openVideo(Video &v, const std::string &path, int width, int height, int fps,
              std::string &error) {
  if (!onPath("ffmpeg")) {
    error = "--video needs ffmpeg, and there is none on the PATH";
    return 2;
  }
  // Its frames are counted in the file before it is kept: a device or a
  // pipe, which cannot be read back, would block that count for good.
  if (special(path)) {
    error = "--video " + path + ": a video is written to a file, not to a device or a pipe";
    return 2;
  }
  // the same folder and extension, so that ffmpeg picks the same format
  if (!reserveOutput(v.out, path, error)) return 1;
  v.frameSize = (size_t)width * height * 3;
  std::string size = std::to_string(width) + "x" + std::to_string(height);
  std::string rate = std::to_string(fps);
  const std::string ext = extensionOf(path);
  const bool yuv = ext == "mp4" || ext == "m4v" || ext == "mov" || ext == "mkv" || ext == "webm";
  v.frames = 0, v.log = std::tmpfile(); // ffmpeg's messages, for ours
  int fds[2];
  if (!v.log || ::pipe(fds) != 0) {
    error = std::string("cannot start ffmpeg: ") + std::strerror(errno);
    placeOutput(v.out, false, error);
    return 1;
  }
  std::signal(SIGPIPE, SIG_IGN); // ffmpeg ending early shows as a failed write
  v.pid = fork();
  if (v.pid == 0) {
    dup2(fds[0], 0), dup2(fileno(v.log), 2);
    close(fds[0]), close(fds[1]);
    std::vector<const char *> args = {"ffmpeg",     "-nostdin", "-loglevel",  "error", "-y",
                                      "-f",         "rawvideo", "-pix_fmt",   "rgb24", "-s",
                                      size.c_str(), "-r",       rate.c_str(), "-i",    "-"};
    if (yuv)
      args.insert(args.end(), {"-vf", "pad=ceil(iw/2)*2:ceil(ih/2)*2", "-pix_fmt", "yuv420p"});
    args.insert(args.end(), {v.out.part.c_str(), nullptr});
    execvp("ffmpeg", const_cast<char *const *>(args.data()));
    _exit(127);
  }
  close(fds[0]);
  if (v.pid < 0) {
    close(fds[1]);
    error = std::string("cannot start ffmpeg: ") + std::strerror(errno);
    placeOutput(v.out, false, error);
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
      error = "ffmpeg stopped taking frames";
      return false;
    }
    done += (size_t)put;
  }
  v.frames++;
  return true;
}

namespace {

// The last line ffmpeg wrote, naming the user's file where it named ours.
std::string lastWords(const Video &v) {
  std::string all, line;
  std::rewind(v.log);
  for (int c; (c = std::fgetc(v.log)) != EOF;) all += (char)c;
  while (!all.empty() && all.back() == '\n') all.pop_back();
  line = all.substr(all.rfind('\n') == std::string::npos ? 0 : all.rfind('\n') + 1);
  for (size_t at; (at = line.find(v.out.part)) != std::string::npos;)
    line.replace(at, v.out.part.size(), v.out.path);
  return line.empty() ? "" : ": " + line;
}

// ffprobe counts the frames the file holds; -1 when it cannot.
long framesIn(const std::string &file) {
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], 1), close(fds[0]), close(fds[1]);
    execlp("ffprobe", "ffprobe", "-v", "quiet", "-count_frames", "-select_streams", "v:0",
           "-show_entries", "stream=nb_read_frames", "-of", "csv=p=0", file.c_str(),
           (char *)nullptr);
    _exit(127);
  }
  close(fds[1]);
  FILE *out = pid > 0 ? fdopen(fds[0], "r") : nullptr;
  long n = -1;
  if (!out || std::fscanf(out, "%ld", &n) != 1) n = -1;
  out ? std::fclose(out) : close(fds[0]);
  int status = 0;
  if (pid > 0) waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? n : -1;
}

} // namespace

bool closeVideo(Video &v, bool whole, std::string &error) {
  if (v.pipe >= 0) close(v.pipe);
  int status = 0;
  if (v.pid > 0) waitpid(v.pid, &status, 0);
  const bool ended = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  bool made = whole && ended && framesIn(v.out.part) == v.frames;
  if (!ended || (whole && !made)) {
    std::string said = lastWords(v);
    error = "ffmpeg could not make " + v.out.path + (said.empty() ? " whole" : said);
  }
  made = placeOutput(v.out, made, error);
  if (v.log) std::fclose(v.log);
  v = Video{};
  return made;
}
