// What the link relies on from its port, checked on the in-process port the tests use and on the real serial port
// over a pseudo-terminal, so that the one stands in for the other.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "common/testrig.h"
#include "link/frames.h"

namespace ostrel::test {
namespace {

using ecusim::Fault;

constexpr int answerwaitms = 2000;

// SimPort: a reply waits in the port as soon as its request is written.
struct InProcessLine : SimEcu {
  static constexpr const char* name = "SimPort";
  bool ready() const { return true; }
  QString device() const { return QStringLiteral("/dev/ttyUSB0"); }
  // The ECU has taken the requests since `before` and its replies wait on the program's side.
  bool serve(int /*before*/, int /*replies*/) { return true; }
  // The next open finds no device, in the system's words; then the device is back.
  QString absentdevice() {
    port.openfailure = QStringLiteral("No such file or directory");
    return QStringLiteral("/dev/ostrel-no-such-tty");
  }
  void deviceback() { port.openfailure.clear(); }
  std::string error;
};

// SerialCommPort over QSerialPort, with the simulator on the other end of a pseudo-terminal.
struct PtyLineUnderTest : PtyEcu {
  static constexpr const char* name = "SerialCommPort";
  bool serve(int before, int replies) {
    if (!server.pumpuntil(before + 1, answerwaitms)) return false;
    if (replies > 0 && !server.pumpuntil(before + replies, answerwaitms)) return false;
    return server.hungup() || server.waitfordelivery(replies * replylength, answerwaitms);
  }
  QString absentdevice() { return QStringLiteral("/dev/ostrel-no-such-tty"); }
  void deviceback() {}
};

template <class Line>
class CommPortContract : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(line.ready()) << line.error; }

  // Writes a live values request for the map and returns what write() answered.
  bool sendlivevalues(std::uint8_t map) {
    TxFrame frame{};
    const int len = buildliveframe(frame, oplivevalues, map);
    addframechecks(frame.data(), len);
    return line.port.write(frame.data(), len);
  }
  bool sendrowread(int row) {
    TxFrame frame{};
    const int len = buildrowreadframe(frame, row);
    addframechecks(frame.data(), len);
    return line.port.write(frame.data(), len);
  }
  // The data bytes of a reply as it came off the wire; fails the test when its check byte does not match.
  static std::array<std::uint8_t, replydatabytes> replydata(const std::uint8_t* wire) {
    RxFrame rx{};
    EXPECT_EQ(decodereply(std::span<const std::uint8_t, replylength>(wire, replylength), rx), rx[18]);
    std::array<std::uint8_t, replydatabytes> data{};
    std::copy_n(rx.begin(), replydatabytes, data.begin());
    return data;
  }

  Line line;
  CommPort& port = line.port;
};

struct LineNames {
  template <class Line>
  static std::string GetName(int) {
    return Line::name;
  }
};

using Lines = ::testing::Types<InProcessLine, PtyLineUnderTest>;
TYPED_TEST_SUITE(CommPortContract, Lines, LineNames);

TYPED_TEST(CommPortContract, OpensTheDeviceWithNothingWaiting) {
  CommPort& port = this->port;
  EXPECT_FALSE(port.isopen());
  QString reason;
  ASSERT_TRUE(port.open(this->line.device(), reason)) << reason.toStdString();
  EXPECT_TRUE(port.isopen());
  EXPECT_EQ(port.device(), this->line.device());
  EXPECT_FALSE(port.failed());
  EXPECT_EQ(port.inbuffercount(), 0);
  std::uint8_t byte = 0;
  EXPECT_EQ(port.read(&byte, 1), 0);
}

TYPED_TEST(CommPortContract, RepliesArriveInOrderAndAreReadInPieces) {
  CommPort& port = this->port;
  ecusim::EcuSimulator& sim = this->line.sim;
  QString reason;
  ASSERT_TRUE(port.open(this->line.device(), reason)) << reason.toStdString();

  const int before = sim.requests();
  ASSERT_TRUE(this->sendlivevalues(4));
  ASSERT_TRUE(this->sendrowread(100));
  ASSERT_TRUE(this->line.serve(before, 2)) << "the ECU's replies did not arrive";
  EXPECT_EQ(port.inbuffercount(), 2 * replylength);

  std::array<std::uint8_t, 2 * replylength> wire{};
  ASSERT_EQ(port.read(wire.data(), 7), 7);
  EXPECT_EQ(port.inbuffercount(), 2 * replylength - 7);
  ASSERT_EQ(port.read(wire.data() + 7, 100), 2 * replylength - 7) << "read takes what waits, no more";
  EXPECT_EQ(port.inbuffercount(), 0);
  EXPECT_EQ(this->replydata(wire.data()), sim.sent(oplivevalues).back());
  EXPECT_EQ(this->replydata(wire.data() + replylength), sim.sent(oprowread).back());

  // What waits can be dropped.
  const int again = sim.requests();
  ASSERT_TRUE(this->sendlivevalues(5));
  ASSERT_TRUE(this->line.serve(again, 1));
  EXPECT_EQ(port.inbuffercount(), replylength);
  port.discardinput();
  EXPECT_EQ(port.inbuffercount(), 0);
  EXPECT_EQ(port.read(wire.data(), replylength), 0);
}

TYPED_TEST(CommPortContract, AClosedPortMovesNoBytesAndOpensAgain) {
  CommPort& port = this->port;
  QString reason;
  ASSERT_TRUE(port.open(this->line.device(), reason)) << reason.toStdString();
  port.close();
  EXPECT_FALSE(port.isopen());
  EXPECT_FALSE(this->sendlivevalues(4));
  EXPECT_EQ(port.inbuffercount(), 0);
  std::uint8_t byte = 0;
  EXPECT_EQ(port.read(&byte, 1), 0);

  ASSERT_TRUE(port.open(this->line.device(), reason)) << reason.toStdString();
  const int before = this->line.sim.requests();
  ASSERT_TRUE(this->sendlivevalues(4));
  ASSERT_TRUE(this->line.serve(before, 1));
  EXPECT_EQ(port.inbuffercount(), replylength);
}

TYPED_TEST(CommPortContract, AHangUpFailsTheLineForGoodWithAReason) {
  CommPort& port = this->port;
  QString reason;
  ASSERT_TRUE(port.open(this->line.device(), reason)) << reason.toStdString();
  this->line.sim.injectfault(Fault::hangup);
  const int before = this->line.sim.requests();
  ASSERT_TRUE(this->sendlivevalues(4));
  this->line.serve(before, 0);

  EXPECT_EQ(port.inbuffercount(), 0);  // the look that finds the line gone
  QString failure;
  EXPECT_TRUE(port.failed(&failure));
  EXPECT_FALSE(failure.isEmpty());
  EXPECT_FALSE(this->sendlivevalues(4));
  EXPECT_TRUE(port.failed());
  port.close();
  EXPECT_FALSE(port.isopen());
}

TYPED_TEST(CommPortContract, AMissingDeviceGivesTheSystemsReasonAndLeavesThePortClosed) {
  CommPort& port = this->port;
  QString reason;
  EXPECT_FALSE(port.open(this->line.absentdevice(), reason));
  EXPECT_TRUE(reason.contains(QStringLiteral("No such file or directory"))) << reason.toStdString();
  EXPECT_FALSE(port.isopen());
  EXPECT_FALSE(port.failed()) << "a port that never opened has not failed";
  EXPECT_FALSE(this->sendlivevalues(4));

  this->line.deviceback();
  ASSERT_TRUE(port.open(this->line.device(), reason)) << reason.toStdString();
  EXPECT_TRUE(port.isopen());
}

}  // namespace
}  // namespace ostrel::test
