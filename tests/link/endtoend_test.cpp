// The link over a real pseudo-terminal and the real QSerialPort, with the simulator on the other end.
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <algorithm>
#include <chrono>

#include "common/testrig.h"
#include "link/imagetransfer.h"
#include "linkfixture.h"

namespace ostrel::test {
namespace {

CalibrationImage sampleimage() {
  CalibrationImage image{};
  std::uint32_t x = 12345;
  for (auto& b : image) {
    x = x * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(x >> 16);
  }
  return image;
}

// What a live site / live values reply sets in the live variables (and the values reply's status bytes).
std::vector<int> sitefields(const std::array<std::uint8_t, 18>& d) {
  const int rpm = std::min(30000, d[0] * 256 + d[1]);
  return {rpm, d[3], d[4], d[5], d[8], (d[9] * 256 + d[10]) / 4, d[11], d[12], d[13], d[14], d[15]};
}
std::vector<int> sitefields(const EcuLink& link) {
  const auto& v = link.live().livevars;
  return {v[16], v[17], v[15], v[14], v[0], v[1], v[2], v[4], v[5], v[11], v[12]};
}
std::vector<int> valuefields(const std::array<std::uint8_t, 18>& d) {
  return {d[0], d[1], d[2], d[4], d[5], d[6], d[8], d[9], d[10], d[11], d[12], d[14], d[15], d[3] * 256 + d[7]};
}
std::vector<int> valuefields(const EcuLink& link) {
  const LiveData& l = link.live();
  const auto& v = l.livevars;
  return {v[9],        v[10], v[13],         v[6],          v[3],           v[8],        l.livesample,
          l.afrtarget, v[7],  l.pwprotected, l.pwmatchmask, l.afrerrorhold, l.fwversion, l.ecuchecksum};
}
template <typename Fields>
bool wassent(const std::deque<std::array<std::uint8_t, 18>>& history, const std::vector<int>& value, Fields fields) {
  return std::any_of(history.rbegin(), history.rend(), [&](const auto& d) { return fields(d) == value; });
}

class PtyLink : public ::testing::Test, protected PtyRig {
 protected:
  PtyLink() : PtyRig(7, StartImage::blank) {}
  void SetUp() override {
    ASSERT_TRUE(ready()) << error;
    link.sethost(&host);
    // The data logger's table asks for engine speed, coolant and throttle.
    RequestTable logtable = link.requesttable(LiveTable::log);
    logtable[0] = {0x6C, 0x58, 0x6A, 0xE0, 0x6A, 0x88, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    link.setrequesttable(LiveTable::log, logtable);
    sim.setimage(image);
    model.setimage(image);
  }

  // One tick of the communications timer, then the ECU answers what went out and the answer is on the line.
  // Every byte the ECU writes is on the program's side before the next tick, as on a real line.
  void exchange() { ASSERT_TRUE(tick()) << "the ECU's answer did not arrive"; }

  maps& model = mainmaps;
  RecordingHost host;
  CalibrationImage image = sampleimage();
};

TEST_F(PtyLink, WithoutFaultsEveryReplyIsIntactAndTheLiveValuesAreTheEcus) {
  state.curmap = 4;
  ASSERT_TRUE(link.openport()) << (host.statuslines.empty() ? "" : host.statuslines.back().toStdString());
  // Up to the tick that takes in the window data of the twelfth plan; its live site and values came before.
  for (int i = 0; i < 63; ++i) exchange();
  EXPECT_EQ(link.errorcount(), 1) << link.errlogtext().toStdString();  // only the start-up wait
  EXPECT_GE(link.framessent(), 55);
  EXPECT_EQ(sitefields(link), sitefields(sim.sent(0x90).back()));
  EXPECT_EQ(valuefields(link), valuefields(sim.sent(0x91).back()));
  EXPECT_EQ(link.live().fwversion, 64);
  EXPECT_TRUE(link.ecuchecksumcurrent());
  EXPECT_EQ(link.live().ecuchecksum, sim.checksum(4));
  EXPECT_EQ(link.live().ecuchecksum, model.getchecksum(4));
  // Window data while no live window is open becomes a log sample, once the logger's table has reached the ECU:
  // the first plan asks for it before it writes the table.
  ASSERT_EQ(host.samples.size(), 11u);
  const auto& window = sim.sent(0x93).back();
  EXPECT_TRUE(std::equal(window.begin(), window.end(), host.samples.back().begin()));
  EXPECT_NE(window[0], 0) << "engine speed";
}

TEST_F(PtyLink, WithFivePercentFaultsNoDamagedValueIsEverTaken) {
  sim.setmixedfaults(0.05);
  ASSERT_TRUE(link.openport());
  std::array<std::uint8_t, 16> data{};
  int writes = 0;
  for (int i = 0; i < 800; ++i) {
    if (i % 100 == 0) state.curmap = static_cast<std::uint8_t>((i / 100) * 13);
    if (i % 40 == 0 && writes < 16) {
      data.fill(static_cast<std::uint8_t>(0x30 + writes));
      LinkProbe::queue(link).append(TransferQueue::ramwrite(static_cast<std::uint16_t>(0x5000 + 16 * writes), data));
      ++writes;
    }
    exchange();
    ASSERT_TRUE(state.online);
    if (link.live().liverpm != 0) {
      ASSERT_TRUE(wassent(sim.sent(0x90), sitefields(link), [](auto& d) { return sitefields(d); }));
    }
    if (link.live().fwversion != 0) {
      ASSERT_TRUE(wassent(sim.sent(0x91), valuefields(link), [](auto& d) { return valuefields(d); }));
      ASSERT_EQ(link.live().ecuchecksum, sim.checksum(link.live().ecuchecksummap));
      ASSERT_EQ(link.live().fwversion, 64);
    }
  }
  for (const RxFrame& sample : host.samples) {
    std::array<std::uint8_t, 18> d{};
    std::copy_n(sample.begin(), 18, d.begin());
    ASSERT_NE(std::find(sim.sent(0x93).begin(), sim.sent(0x93).end(), d), sim.sent(0x93).end());
  }
  EXPECT_GT(sim.faultstotal(), 20);
  EXPECT_GT(link.errorcount(), 20);
  EXPECT_FALSE(link.transferqueue().headiswrite());
  for (int w = 0; w < writes; ++w)
    for (int j = 0; j < 16; ++j) ASSERT_EQ(sim.ram(0x5000 + 16 * w + j), 0x30 + w) << "write " << w;
}

TEST_F(PtyLink, HangUpClosesThePortWithOneStatusLine) {
  ASSERT_TRUE(link.openport());
  for (int i = 0; i < 10; ++i) exchange();
  server.hangup();
  for (int i = 0; i < 10 && state.online; ++i) link.tick();
  EXPECT_FALSE(state.online);
  ASSERT_EQ(host.statuslines.size(), 1u);
  EXPECT_TRUE(host.statuslines[0].startsWith(
      QStringLiteral("The connection to %1 was lost: ").arg(QString::fromStdString(server.path()))))
      << host.statuslines[0].toStdString();
  link.tick();
  EXPECT_EQ(host.statuslines.size(), 1u);
}

TEST_F(PtyLink, MissingDeviceGivesTheMessageAndTheSystemsReason) {
  ASSERT_TRUE(writecomports(QStringLiteral("/dev/ostrel-no-such-tty")));
  EXPECT_FALSE(link.openport());
  EXPECT_FALSE(state.online);
  EXPECT_EQ(prompts.messages(), std::vector<QString>{QStringLiteral("An error occurred opening the com port")});
  ASSERT_EQ(host.statuslines.size(), 1u);
  EXPECT_TRUE(host.statuslines[0].contains(QStringLiteral("/dev/ostrel-no-such-tty")));
  EXPECT_TRUE(host.statuslines[0].contains(QStringLiteral("No such file or directory")))
      << host.statuslines[0].toStdString();
}

// Bytes waiting on a terminal, seen through a descriptor of our own.
bool waitforbytes(int fd, int count, int timeoutms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutms);
  for (;;) {
    int n = 0;
    if (::ioctl(fd, FIONREAD, &n) == 0 && n >= count) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    pollfd p{fd, POLLIN, 0};
    ::poll(&p, 1, 1);
    ::usleep(200);
  }
}

// The simulator program on a pseudo-terminal of its own, named as port 1 in "comports.txt", with a descriptor of
// ours on the program's side that tells when the ECU's answer has arrived.
class EcusimProcess {
 public:
  explicit EcusimProcess(const QStringList& arguments) {
    process.start(QStringLiteral(OSTREL_ECUSIM_PATH), arguments);
    if (!process.waitForStarted(5000)) return;
    while (!process.canReadLine())
      if (!process.waitForReadyRead(5000)) return;
    device = QString::fromUtf8(process.readLine()).trimmed();
    if (!device.startsWith(QStringLiteral("/dev/")) || !writecomports(device)) return;
    watch = ::open(device.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
  }
  ~EcusimProcess() {
    if (watch >= 0) ::close(watch);
    if (process.state() != QProcess::NotRunning) {
      process.kill();
      process.waitForFinished(5000);
    }
  }
  EcusimProcess(const EcusimProcess&) = delete;
  EcusimProcess& operator=(const EcusimProcess&) = delete;

  bool ready() const { return watch >= 0; }
  // One tick of the communications timer; when it sent a request, the answer is on the line before the next.
  void tick(EcuLink& link) const {
    const auto sent = link.framessent();
    link.tick();
    if (link.framessent() != sent) waitforbytes(watch, 19, 2000);
  }
  // Ends it as Ctrl+C or kill would; its exit code, -1 when it did not end.
  int terminate() {
    process.terminate();
    return process.waitForFinished(5000) && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }

  QProcess process;
  QString device;
  int watch = -1;
};

QByteArray readall(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeall(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray bytesof(const CalibrationImage& image) {
  return {reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size())};
}

TEST(EcusimProgram, ServesTheLinkAndDumpsItsImageWhenTerminated) {
  TempInstallFolder folder;
  const CalibrationImage image = sampleimage();
  const QString imagepath = folder.file(QStringLiteral("ecu.bin"));
  const QString dumppath = folder.file(QStringLiteral("dump.bin"));
  ASSERT_TRUE(writeall(imagepath, bytesof(image)));
  EcusimProcess ecusim({QStringLiteral("--image"), imagepath, QStringLiteral("--dump"), dumppath});
  ASSERT_TRUE(ecusim.ready()) << ecusim.process.readAllStandardError().toStdString();

  ProgramState state;
  state.curmap = 24;
  RecordingPrompts prompts;
  maps model{prompts};
  model.setimage(image);
  SerialCommPort port;
  EcuLink link{state, model, prompts, port};
  ASSERT_TRUE(link.openport());

  // One row of the image written through the queue.
  TransferRecord row;
  row.op = oprowwrite;
  row.addresshigh = 0x80 + 100 / 16;
  row.addresslow = (100 % 16) * 16;
  row.count = 16;
  for (int j = 0; j < 16; ++j) row.data[j] = static_cast<std::uint8_t>(0xC0 + j);
  LinkProbe::queue(link).append(row);

  for (int i = 0; i < 30; ++i) ecusim.tick(link);
  EXPECT_EQ(link.errorcount(), 1) << link.errlogtext().toStdString();
  EXPECT_FALSE(link.transferqueue().headiswrite());
  EXPECT_EQ(link.live().fwversion, 64);
  EXPECT_EQ(link.live().ecuchecksum, model.getchecksum(24));
  link.closeport();

  EXPECT_EQ(ecusim.terminate(), 0);
  const QByteArray bytes = readall(dumppath);
  ASSERT_EQ(bytes.size(), imagesize);
  CalibrationImage expected = image;
  std::copy(row.data.begin(), row.data.end(), expected.begin() + 1600);
  EXPECT_EQ(bytes, bytesof(expected));
}

// The calibration as the program opens it from the shipped file on its first start.
CalibrationImage shippedimage() {
  RecordingPrompts prompts;
  maps m{prompts};
  EXPECT_TRUE(m.openfile(sourcepath(QStringLiteral("data/lastsaved.s26")), true, false));
  return m.getimage();
}

TEST(EcusimProgram, WithNoArgumentsAWholeReadGivesTheShippedCalibration) {
  TempInstallFolder folder;
  EcusimProcess ecusim({});
  ASSERT_TRUE(ecusim.ready()) << ecusim.process.readAllStandardError().toStdString();

  ProgramState state;
  RecordingPrompts prompts;
  maps model{prompts};  // blank until the read stores the ECU's image
  SerialCommPort port;
  EcuLink link{state, model, prompts, port};
  ImageTransfer transfer{state, model, prompts, link};
  ASSERT_TRUE(link.openport());
  for (int i = 0; i < 10; ++i) ecusim.tick(link);

  // The transfer dialog's side: a tick, then a second's worth of communication ticks, until it closes.
  state.transfermode = 1;
  transfer.windowopened();
  bool closed = false;
  for (int t = 0; t < 200 && !closed; ++t) {
    closed = transfer.windowtick().close;
    for (int i = 0; i < 33 && !closed; ++i) ecusim.tick(link);
  }
  ASSERT_TRUE(closed) << "the read never ended";
  transfer.windowclosed();
  EXPECT_TRUE(state.imageread);
  EXPECT_EQ(bytesof(model.getimage()), bytesof(shippedimage()));
  link.closeport();
  EXPECT_EQ(ecusim.terminate(), 0);
}

TEST(EcusimProgram, StartsFromACalibrationFileAsSavedOrARawImage) {
  TempInstallFolder folder;
  // A calibration the program has changed and saved, and the same as a raw image.
  RecordingPrompts prompts;
  maps model{prompts};
  ASSERT_TRUE(model.openfile(sourcepath(QStringLiteral("data/lastsaved.s26")), true, false));
  model.setdata(24, 3, 5, 201, true);
  model.setdata(0, 7, 9, 4321, true);
  const QString saved = folder.file(QStringLiteral("mine.s26"));
  ASSERT_TRUE(model.savefile(saved));
  const QByteArray image = bytesof(model.getimage());
  ASSERT_NE(image, bytesof(shippedimage()));
  const QString raw = folder.file(QStringLiteral("mine.bin"));
  ASSERT_TRUE(writeall(raw, image));
  // The program opens a calibration file with more after its lines, and so does the simulator.
  const QString longer = folder.file(QStringLiteral("longer.s26"));
  ASSERT_TRUE(writeall(longer, readall(saved) + QByteArray("\r\n\x1a")));

  for (const QString& path : {saved, raw, longer}) {
    SCOPED_TRACE(path.toStdString());
    const QString dump = folder.file(QStringLiteral("dump.bin"));
    QFile::remove(dump);
    EcusimProcess ecusim({QStringLiteral("--image"), path, QStringLiteral("--dump"), dump});
    ASSERT_TRUE(ecusim.ready()) << ecusim.process.readAllStandardError().toStdString();
    EXPECT_EQ(ecusim.terminate(), 0);
    EXPECT_EQ(readall(dump), image);
  }
}

TEST(EcusimProgram, AnImageThatIsNeitherKindIsRefusedWithTheReason) {
  TempInstallFolder folder;
  const QByteArray calfile = readall(sourcepath(QStringLiteral("data/lastsaved.s26")));
  ASSERT_EQ(calfile.size(), 77824);
  QByteArray baddigit = calfile;
  baddigit[76 * 500 + 20] = 'z';
  const struct {
    const char* name;
    QByteArray bytes;
    const char* reason;
  } cases[] = {
      {"text", QByteArray("not an image\n"), "is neither a calibration file as the program saves it nor a 32768-byte"},
      {"image short of a byte", QByteArray(32767, '\x11'), "is neither"},
      {"image with a byte more", QByteArray(32769, '\x11'), "is neither"},
      {"calibration file cut short", calfile.left(calfile.size() - 100), "is neither"},
      {"calibration file with a bad digit", baddigit, "is neither"},
      {"missing", QByteArray(), "No such file or directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = folder.file(QString::fromLatin1(c.name));
    if (!c.bytes.isEmpty()) {
      ASSERT_TRUE(writeall(path, c.bytes));
    }
    QProcess ecusim;
    ecusim.start(QStringLiteral(OSTREL_ECUSIM_PATH), {QStringLiteral("--image"), path});
    ASSERT_TRUE(ecusim.waitForFinished(5000));
    EXPECT_EQ(ecusim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ecusim.exitCode(), 1);
    EXPECT_TRUE(ecusim.readAllStandardOutput().isEmpty()) << "no device offered";
    const QString error = QString::fromLocal8Bit(ecusim.readAllStandardError());
    EXPECT_TRUE(error.startsWith(QStringLiteral("ecusim: ") + path)) << error.toStdString();
    EXPECT_TRUE(error.contains(QString::fromLatin1(c.reason))) << error.toStdString();
  }
}

}  // namespace
}  // namespace ostrel::test
