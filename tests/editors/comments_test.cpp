// The comments map: the hard comment, the soft comment's padding and line breaks, saving with and without the ECU,
// and the comments window offscreen.
#include "editors/comments.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>

#include "editors/frmcomments.h"
#include "editorsfixture.h"

namespace ostrel::test {
namespace {

[[maybe_unused]] void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

const QDateTime saved(QDate(2026, 12, 8), QTime(14, 3, 27));

QString spaces(int n) {
  return QString(n, QLatin1Char(' '));
}

TEST(HardComment, VersionTimeAndDateInTheSystemsFormats) {
  const QLocale british(QLocale::English, QLocale::UnitedKingdom);
  EXPECT_EQ(hardcomment(64, 8, saved, british), QStringLiteral("2.64d8: 14:03:27, 08/12/2026") + spaces(4));
  // Whatever the locale, 32 characters with a Latin-1 code each, starting with the version.
  for (const QLocale& locale : {QLocale(), QLocale(QLocale::English, QLocale::UnitedStates),
                                QLocale(QLocale::Arabic, QLocale::Egypt), QLocale(QLocale::Chinese, QLocale::China)}) {
    const QString text = hardcomment(64, 8, saved, locale);
    EXPECT_EQ(text.size(), hardcommentlength) << locale.name().toStdString();
    EXPECT_TRUE(text.startsWith(QStringLiteral("2.64d8: "))) << text.toStdString();
    for (const QChar c : text) EXPECT_LE(c.unicode(), 0xFF) << text.toStdString();
  }
}

TEST(SoftComment, PaddedCutAndLineBreaksAsCrLf) {
  const struct {
    QString box, stored;
  } cases[] = {
      {QString(), spaces(96)},
      {QStringLiteral("abc  "), QStringLiteral("abc") + spaces(93)},
      {QStringLiteral("one\ntwo"), QStringLiteral("one\r\ntwo") + spaces(88)},
      {QString(120, QLatin1Char('x')), QString(96, QLatin1Char('x'))},
      {QStringLiteral("\u20ac5 caf\u00e9"), QStringLiteral("?5 caf\u00e9") + spaces(89)},
      {QString(95, QLatin1Char('x')) + QStringLiteral("\nlost"), QString(95, QLatin1Char('x')) + QStringLiteral("\r")},
  };
  for (const auto& c : cases) {
    const QString stored = softcommentforstore(c.box);
    EXPECT_EQ(stored, c.stored) << c.box.toStdString();
    EXPECT_EQ(stored.size(), softcommentlength);
  }
  // Back in the box: no trailing spaces, line breaks as the box keeps them.
  EXPECT_EQ(softcommentforbox(spaces(96)), QString());
  EXPECT_EQ(softcommentforbox(QStringLiteral("one\r\ntwo  ") + spaces(86)), QStringLiteral("one\ntwo"));
  for (const QString& text : {QStringLiteral("a\nb\n\nc"), QStringLiteral("  indented\n  twice"), QStringLiteral("x")})
    EXPECT_EQ(softcommentforbox(softcommentforstore(text)), text);
}

class CommentsTest : public ::testing::Test {
 protected:
  QString stored() const { return readcomment(rig.mainmaps, 0, 128); }
  std::vector<int> commentrows() const {
    std::vector<int> rows;
    for (int r = 0; r < 8; ++r) rows.push_back(rig.mainmaps.getbufferrow(commentsmap, r, 0));
    return rows;
  }
  EditorRig rig;
};

TEST_F(CommentsTest, SavingWritesBothCommentsAndQueuesEightRowsOnlyWhileConnected) {
  savecomments(rig.context, QStringLiteral("Line one\nLine two"), saved);
  const QString text = stored();
  EXPECT_TRUE(text.startsWith(QStringLiteral("2.64d8: "))) << text.toStdString();
  EXPECT_EQ(text.mid(32), QStringLiteral("Line one\r\nLine two") + spaces(78));
  EXPECT_EQ(rig.mainmaps.getdata(commentsmap, 2, 8), 13);
  EXPECT_EQ(rig.mainmaps.getdata(commentsmap, 2, 9), 10);
  for (int r = 0; r < 8; ++r) EXPECT_TRUE(rig.mainmaps.getchange(commentsmap, r, 15)) << r;
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{commentsofflinetext});
  EXPECT_TRUE(queuedwrites(rig.link).rows.empty());

  // The hard comment is rewritten at every save, also with the same soft comment.
  const QLocale previous;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
  savecomments(rig.context, QStringLiteral("Line one\nLine two"), saved.addSecs(60));
  QLocale::setDefault(previous);
  EXPECT_EQ(stored().left(32), QStringLiteral("2.64d8: 14:04:27, 08/12/2026") + spaces(4));

  rig.prompts.clear();
  rig.state.online = true;
  rig.state.curmap = 0;  // the rows are map 104's whatever map is current
  savecomments(rig.context, QString(), saved);
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{commentsonlinetext});
  const QueuedWrites q = queuedwrites(rig.link);
  EXPECT_EQ(q.rows, commentrows());
  EXPECT_EQ(q.blocktables, 8) << "each row behind its own block table";
  EXPECT_EQ(stored().mid(32), spaces(96));
}

TEST_F(CommentsTest, TheWindowShowsEditsAndSavesOrLeavesTheMap) {
  commentssave(rig.mainmaps, rig.state.guards, QStringLiteral("2.64d8: 09:15:00, 01/02/2026"),
               softcommentforstore(QStringLiteral("Tuned on the dyno.\nInjectors 550 cc.   ")));
  rig.mainmaps.clearchange();
  const CalibrationImage before = rig.mainmaps.getimage();

  {
    frmComments window(rig.context);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Comments"));
    EXPECT_EQ(window.hardComments->text(), QStringLiteral("2.64d8: 09:15:00, 01/02/2026") + spaces(4));
    EXPECT_EQ(window.softComments->toPlainText(), QStringLiteral("Tuned on the dyno.\nInjectors 550 cc."));
    savescreenshot(&window, QStringLiteral("comments_editor"));
    window.softComments->setPlainText(QStringLiteral("something else"));
    window.mnuCommentsExit->trigger();
    EXPECT_FALSE(window.isVisible());
  }
  EXPECT_EQ(rig.mainmaps.getimage(), before) << "left without saving";
  EXPECT_TRUE(rig.prompts.records.empty());

  rig.state.online = true;
  frmComments window(rig.context);
  window.show();
  window.softComments->setPlainText(QStringLiteral("Second line follows\nhere"));
  window.mnuCommentsSave->trigger();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(readcomment(rig.mainmaps, 2, 96), softcommentforstore(QStringLiteral("Second line follows\nhere")));
  EXPECT_EQ(queuedwrites(rig.link).rows, commentrows());

  frmComments again(rig.context);
  EXPECT_EQ(again.softComments->toPlainText(), QStringLiteral("Second line follows\nhere"));
}

}  // namespace
}  // namespace ostrel::test
