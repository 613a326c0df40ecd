#include "platform/readfile.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrel {

namespace {

QString systemreason(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

// More than a byte array holds; a larger limit means this one.
constexpr qint64 largestlimit = std::numeric_limits<qsizetype>::max() / 2;

FileRead failure(FileRead::Status status, QString reason) {
  FileRead result;
  result.status = status;
  result.reason = std::move(reason);
  return result;
}

FileRead notregular() {
  return failure(FileRead::Status::NotRegular, QStringLiteral("not a regular file"));
}

FileRead toolarge() {
  return failure(FileRead::Status::TooLarge, QStringLiteral("the file is too large"));
}

// Closes the descriptor however the read ends.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

FileRead readregular(const QString& path, qint64 limit, bool whole) {
  if (path.isEmpty()) return failure(FileRead::Status::Missing, systemreason(ENOENT));
  const QByteArray name = QFile::encodeName(path);
  // Looking first means a device is never even opened (opening some has effects of its own).
  struct stat info {};
  if (::stat(name.constData(), &info) != 0) {
    const int error = errno;
    const bool missing = error == ENOENT || error == ENOTDIR;
    return failure(missing ? FileRead::Status::Missing : FileRead::Status::Unreadable, systemreason(error));
  }
  if (!S_ISREG(info.st_mode)) return notregular();
  // Non-blocking, so that a pipe put in the file's place meanwhile cannot hold the open; the descriptor's own
  // type is what counts.
  Descriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) {
    const int error = errno;
    return failure(error == ENOENT ? FileRead::Status::Missing : FileRead::Status::Unreadable, systemreason(error));
  }
  if (::fstat(fd.get(), &info) != 0) return failure(FileRead::Status::Unreadable, systemreason(errno));
  if (!S_ISREG(info.st_mode)) return notregular();
  if (whole && info.st_size > limit) return toolarge();

  // The size is only a hint: files such as those under /proc say 0 and still hold bytes.
  const qint64 wanted = whole ? limit + 1 : limit;
  QByteArray bytes;
  bytes.reserve(static_cast<qsizetype>(std::min<qint64>(wanted, std::max<qint64>(info.st_size, 0) + 1)));
  char buffer[65536];
  while (bytes.size() < wanted) {
    const auto chunk = static_cast<std::size_t>(std::min<qint64>(sizeof buffer, wanted - bytes.size()));
    const ssize_t n = ::read(fd.get(), buffer, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return failure(FileRead::Status::Unreadable, systemreason(errno));
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<qsizetype>(n));
  }
  if (whole && bytes.size() > limit) return toolarge();
  FileRead result;
  result.status = FileRead::Status::Ok;
  result.bytes = std::move(bytes);
  return result;
}

}  // namespace

FileRead readfilehead(const QString& path, qint64 limit) {
  return readregular(path, std::clamp<qint64>(limit, 0, largestlimit), false);
}

FileRead readwholefile(const QString& path, qint64 limit) {
  return readregular(path, std::clamp<qint64>(limit, 0, largestlimit), true);
}

}  // namespace ostrel
