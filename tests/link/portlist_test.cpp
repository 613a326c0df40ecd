// The port list "comports.txt": port N is line N; a pipe, a device or a folder in its place lists no port.

#include <gtest/gtest.h>

#include <QFile>

#include "common/testsupport.h"
#include "link/serialcommport.h"

namespace ostrel {
namespace {

TEST(PortList, PortNIsLineNWithoutItsBlanks) {
  struct Case {
    const char* text;
    int port;
    const char* device;
  };
  const Case cases[] = {
      {"/dev/ttyUSB0\n/dev/ttyUSB1\n", 1, "/dev/ttyUSB0"},
      {"/dev/ttyUSB0\n/dev/ttyUSB1\n", 2, "/dev/ttyUSB1"},
      {"/dev/ttyUSB0\n/dev/ttyUSB1\n", 3, ""},
      {"/dev/ttyUSB0\r\n  /dev/ttyS1 \r\n", 2, "/dev/ttyS1"},
      {"a\n\nc", 2, ""},
      {"a\n\nc", 3, "c"},
      {"a", 0, ""},
      {"a", -1, ""},
      {"", 1, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(comportfromlist(QByteArray(c.text), c.port), QString::fromLatin1(c.device)) << c.text << " " << c.port;
  }
}

TEST(PortList, TheInstallFoldersListOrNoneWhenItIsNotAFile) {
  test::BlockGuard guard;
  test::TempInstallFolder folder;
  const QString path = folder.file(QStringLiteral("comports.txt"));
  EXPECT_EQ(comportdevice(1), QStringLiteral("/dev/ttyUSB0"));  // the shipped list
  EXPECT_EQ(comportdevice(6), QStringLiteral("/dev/ttyACM1"));
  for (const test::NotAFileCase& thing : test::notafiles) {
    ASSERT_TRUE(test::placenotafile(path, thing.kind)) << thing.name;
    for (int port = 1; port <= 6; ++port) EXPECT_EQ(comportdevice(port), QString()) << thing.name << " " << port;
  }
}

}  // namespace
}  // namespace ostrel
