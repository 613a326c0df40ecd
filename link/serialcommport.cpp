#include "link/serialcommport.h"

#include <poll.h>

#include "platform/installfolder.h"
#include "platform/readfile.h"

namespace ostrel {

namespace {

// Far more than six device names need; a longer list is read only this far.
constexpr qint64 portlistlimit = 64 * 1024;

}  // namespace

QString comportfromlist(const QByteArray& text, int port) {
  if (port < 1) return {};
  qsizetype from = 0;
  for (int line = 1; from < text.size(); ++line) {
    qsizetype end = text.indexOf('\n', from);
    if (end < 0) end = text.size();
    if (line == port) return QString::fromUtf8(QByteArrayView(text).sliced(from, end - from)).trimmed();
    from = end + 1;
  }
  return {};
}

QString comportdevice(int port) {
  if (port < 1) return {};
  const FileRead list = readfilehead(installpath(QStringLiteral("comports.txt")), portlistlimit);
  return list.ok() ? comportfromlist(list.bytes, port) : QString();
}

SerialCommPort::SerialCommPort() {
  QObject::connect(&port_, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError e) { noteerror(e); });
}

bool SerialCommPort::open(const QString& device, QString& reason) {
  if (port_.isOpen()) port_.close();
  failed_ = false;
  failure_.clear();
  device_ = device;
  port_.setPortName(device);
  port_.setBaudRate(QSerialPort::Baud38400);
  port_.setDataBits(QSerialPort::Data8);
  port_.setParity(QSerialPort::NoParity);
  port_.setStopBits(QSerialPort::OneStop);
  port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!port_.open(QIODevice::ReadWrite)) {
    reason = port_.errorString();
    if (port_.error() == QSerialPort::PermissionError)
      reason += QStringLiteral(" (is the user a member of the dialout group?)");
    port_.clearError();
    return false;
  }
  // Opening may have raised an error that the port then overcame; what counts starts now.
  failed_ = false;
  failure_.clear();
  return true;
}

void SerialCommPort::close() {
  if (port_.isOpen()) port_.close();
}

void SerialCommPort::fail(const QString& reason) {
  if (port_.isOpen() && !failed_) {
    failed_ = true;
    failure_ = reason;
  }
}

int SerialCommPort::inbuffercount() {
  if (!port_.isOpen()) return 0;
  // Take in everything the kernel holds now, without waiting: a reply counts only if it is complete by this tick.
  while (!failed_) {
    pollfd p{static_cast<int>(port_.handle()), POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0 || p.revents == 0) break;
    const bool readable = port_.waitForReadyRead(0);
    if (port_.error() == QSerialPort::TimeoutError) port_.clearError();
    if (!readable) {
      if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
        fail(QStringLiteral("the device was removed or the line hung up"));
      break;
    }
  }
  return static_cast<int>(port_.bytesAvailable());
}

int SerialCommPort::read(std::uint8_t* buffer, int max) {
  if (!port_.isOpen()) return 0;
  const qint64 n = port_.read(reinterpret_cast<char*>(buffer), max);
  return n < 0 ? 0 : static_cast<int>(n);
}

bool SerialCommPort::write(const std::uint8_t* data, int len) {
  if (!port_.isOpen() || failed_) return false;
  if (port_.write(reinterpret_cast<const char*>(data), len) != len) return false;
  port_.flush();
  return !failed_;
}

void SerialCommPort::discardinput() {
  if (port_.isOpen()) port_.clear(QSerialPort::Input);
}

bool SerialCommPort::failed(QString* reason) const {
  if (failed_ && reason) *reason = failure_;
  return failed_;
}

void SerialCommPort::noteerror(QSerialPort::SerialPortError error) {
  switch (error) {
    case QSerialPort::ResourceError:
      // The system's own words can be stale here ("Resource temporarily unavailable"); say what it means.
      fail(QStringLiteral("the device was removed or the line hung up (%1)").arg(port_.errorString()));
      break;
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
      fail(port_.errorString());
      break;
    default:
      break;
  }
}

}  // namespace ostrel
