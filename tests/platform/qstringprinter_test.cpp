// How a QString shows in a test failure: its text in quotes with the characters that would hide escaped, alone and
// inside a container.
#include <gtest/gtest.h>

#include <QString>
#include <vector>

namespace {

TEST(QStringPrinter, ShowsTheTextWithBlanksLineEndsTabsQuotesAndBackslashesEscaped) {
  const QString text = QStringLiteral(" a\r\n\tb \"c\" d\\e\x01");
  EXPECT_EQ(testing::PrintToString(text), R"(" a\r\n\tb \"c\" d\\e\x01")");
}

TEST(QStringPrinter, ShowsEveryTextOfAVector) {
  const std::vector<QString> texts{QStringLiteral("one "), QStringLiteral("two\n\r"), QString()};
  EXPECT_EQ(testing::PrintToString(texts), R"({ "one ", "two\n\r", "" })");
}

}  // namespace
