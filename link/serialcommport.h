#pragma once

#include <QSerialPort>
#include <QString>

#include "link/commport.h"

namespace ostrel {

// Device of the numbered port (1 to 6): line N of "comports.txt" in the install folder; empty when there is none
// (also when the list is not a regular file).
QString comportdevice(int port);

// Line N (from 1) of a port list's text without its surrounding blanks; empty when there is none.
QString comportfromlist(const QByteArray& text, int port);

// The ECU line over QSerialPort.
class SerialCommPort final : public CommPort {
 public:
  SerialCommPort();

  bool open(const QString& device, QString& reason) override;
  void close() override;
  bool isopen() const override { return port_.isOpen(); }
  QString device() const override { return device_; }
  int inbuffercount() override;
  int read(std::uint8_t* buffer, int max) override;
  bool write(const std::uint8_t* data, int len) override;
  void discardinput() override;
  bool failed(QString* reason = nullptr) const override;

 private:
  void noteerror(QSerialPort::SerialPortError error);
  void fail(const QString& reason);

  QSerialPort port_;
  QString device_;
  bool failed_ = false;
  QString failure_;
};

}  // namespace ostrel
