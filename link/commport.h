#pragma once

#include <QString>
#include <cstdint>

namespace ostrel {

// The serial line to the ECU as the link needs it: open at 38400,n,8,1 in raw mode, a count of waiting input,
// reads, writes and discarding input. The real one runs over QSerialPort; tests put a simulated ECU behind it.
class CommPort {
 public:
  virtual ~CommPort() = default;

  // Opens the device; on failure returns false and says why in reason (the system's own words).
  virtual bool open(const QString& device, QString& reason) = 0;
  virtual void close() = 0;
  virtual bool isopen() const = 0;
  // The device opened last.
  virtual QString device() const = 0;

  // Bytes waiting, counting everything the system holds for us at this moment; never blocks.
  virtual int inbuffercount() = 0;
  // Reads up to max waiting bytes; returns how many were read.
  virtual int read(std::uint8_t* buffer, int max) = 0;
  // Queues the bytes for sending at once; false when the line failed.
  virtual bool write(const std::uint8_t* data, int len) = 0;
  // Drops every waiting input byte.
  virtual void discardinput() = 0;

  // True once the line has failed for good (adapter unplugged, line hung up); reason says why.
  virtual bool failed(QString* reason = nullptr) const = 0;
};

}  // namespace ostrel
