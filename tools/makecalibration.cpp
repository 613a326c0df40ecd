// Builds the calibration ostrel ships from its description (tools/defaultcalibration.txt, which explains the
// statements) and writes it into a folder as lastsaved.s26, in the program's own format, and template.s26, the
// same calibration in the plain beta form that the map check reads.
//
//   makecalibration DESCRIPTION OUTFOLDER

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "calibration/calfile.h"
#include "calibration/maps.h"
#include "platform/numbers.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace {

constexpr int settingsmap = 110;
constexpr int commentsmap = 104;
constexpr int passwordsmap = 105;
constexpr double fuelstep = 0.005;  // ms per raw step of the base fuel table
constexpr double kpapermmhg = 101.325 / 760.0;

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const QString& text) {
  throw Failure(text.toStdString());
}

double number(const QString& token) {
  const auto v = parsenumber(token);
  if (!v) fail(QStringLiteral("\"%1\" is not a number").arg(token));
  return *v;
}

int integer(const QString& token, int lo, int hi) {
  const double v = number(token);
  if (v != static_cast<int>(v) || v < lo || v > hi)
    fail(QStringLiteral("\"%1\" is not a whole number from %2 to %3").arg(token).arg(lo).arg(hi));
  return static_cast<int>(v);
}

// Splits a line into words; a quoted text is one word; "#" outside quotes ends the line; "VxN" is N copies of V.
QStringList words(const QString& line) {
  QStringList out;
  QString word;
  bool quoted = false, inword = false;
  for (const QChar c : line) {
    if (quoted) {
      if (c == QLatin1Char('"')) {
        quoted = false;
      } else {
        word += c;
      }
      continue;
    }
    if (c == QLatin1Char('#')) break;
    if (c == QLatin1Char('"')) {
      quoted = inword = true;
    } else if (c.isSpace()) {
      if (inword) out << word;
      word.clear();
      inword = false;
    } else {
      word += c;
      inword = true;
    }
  }
  if (quoted) fail(QStringLiteral("a quoted text is not closed"));
  if (inword) out << word;
  static const QRegularExpression repeat(QStringLiteral("^(-?[0-9.]+)x([0-9]+)$"));
  QStringList expanded;
  for (const QString& w : out) {
    const auto m = repeat.match(w);
    if (!m.hasMatch()) {
      expanded << w;
      continue;
    }
    for (int n = integer(m.captured(2), 0, 1024); n > 0; --n) expanded << m.captured(1);
  }
  return expanded;
}

int raw(double value, double mul, double offset, int hi) {
  const double r = roundhalfeven((value - offset) / mul);
  if (r < 0 || r > hi) fail(QStringLiteral("%1 is outside the map's range").arg(value));
  return static_cast<int>(r);
}

// Value at x of a line through the anchors (ascending), held flat beyond the first and last.
double between(const std::vector<double>& at, const std::vector<double>& values, double x) {
  if (x <= at.front()) return values.front();
  for (std::size_t k = 1; k < at.size(); ++k) {
    if (x <= at[k]) return values[k - 1] + (values[k] - values[k - 1]) * (x - at[k - 1]) / (at[k] - at[k - 1]);
  }
  return values.back();
}

class Builder {
 public:
  explicit Builder(maps& model) : model_(model) {}

  void statement(const QStringList& w, QTextStream& in, int& lineno) {
    const QString& verb = w[0];
    if (verb == QLatin1String("setting")) {
      want(w, 5);
      model_.setdata(settingsmapof(w[1]), integer(w[2], 0, 15), integer(w[3], 0, 15), integer(w[4], 0, 255), false);
    } else if (verb == QLatin1String("settingrow")) {
      if (w.size() < 4 || w.size() > 19) fail(QStringLiteral("settingrow takes a map, a row and 1 to 16 values"));
      const int map = settingsmapof(w[1]), row = integer(w[2], 0, 15);
      for (int c = 3; c < w.size(); ++c) model_.setdata(map, row, c - 3, integer(w[c], 0, 255), false);
    } else if (verb == QLatin1String("fill")) {
      want(w, 3);
      const int map = mapof(w[1]);
      const int value = integer(w[2], 0, map == 0 ? 8000 : 255);
      for (int r = 0; r < model_.getmaprows(map); ++r)
        for (int c = 0; c < model_.getmapcols(map); ++c) model_.setdata(map, r, c, value, false);
    } else if (verb == QLatin1String("curve")) {
      if (w.size() != 20) fail(QStringLiteral("curve takes a map, a multiplier, an offset and 16 values"));
      const int map = mapof(w[1]);
      if (model_.getcontextandtype(map) != 1) fail(QStringLiteral("map %1 is not a 2-D map").arg(map));
      for (int c = 0; c < 16; ++c)
        model_.setdata(map, 0, c, raw(number(w[4 + c]), number(w[2]), number(w[3]), 255), false);
    } else if (verb == QLatin1String("table")) {
      want(w, 4);
      table(mapof(w[1]), number(w[2]), number(w[3]), in, lineno);
    } else if (verb == QLatin1String("copy")) {
      want(w, 3);
      const int from = mapof(w[1]), to = mapof(w[2]);
      if (model_.getmaprows(from) != model_.getmaprows(to) || model_.getmapcols(from) != model_.getmapcols(to))
        fail(QStringLiteral("maps %1 and %2 differ in shape").arg(from).arg(to));
      for (int r = 0; r < model_.getmaprows(from); ++r)
        for (int c = 0; c < model_.getmapcols(from); ++c) model_.setdata(to, r, c, model_.getdata(from, r, c), false);
    } else if (verb == QLatin1String("fuelbase")) {
      want(w, 1);
      model_.recalc();  // the load breakpoints the conversion uses
      for (int r = 0; r < 32; ++r)
        for (int c = 0; c < 32; ++c)
          model_.setdata(0, r, c, raw(static_cast<double>(model_.getVEPW(r, c)), fuelstep, 0, 8000), false);
    } else if (verb == QLatin1String("comment")) {
      want(w, 3);
      if (w[1] == QLatin1String("hard")) {
        comment(w[2], 0, 32);
      } else if (w[1] == QLatin1String("soft")) {
        comment(w[2], 2, 96);
      } else {
        fail(QStringLiteral("comment is hard or soft"));
      }
    } else if (verb == QLatin1String("passwords")) {
      if (w.size() != 2 || w[1] != QLatin1String("reset")) fail(QStringLiteral("only \"passwords reset\" is known"));
      resetpasswords();
    } else {
      fail(QStringLiteral("unknown statement \"%1\"").arg(verb));
    }
  }

 private:
  static void want(const QStringList& w, int count) {
    if (w.size() != count) fail(QStringLiteral("%1 takes %2 words").arg(w[0]).arg(count - 1));
  }
  int mapof(const QString& token) const { return integer(token, 0, 115); }
  int settingsmapof(const QString& token) const { return integer(token, settingsmap, 115); }

  // Breakpoints of the 3-D axes from the spreads in settings map 110 (rows 4-5 load in mmHg, 6-7 rpm / 5).
  std::vector<double> breakpoints(int firstrow, double unit) const {
    std::vector<double> points{0};
    int sum = 0;
    for (int i = 0; i < 31; ++i) {
      sum += model_.getdata(settingsmap, firstrow + i / 16, i % 16);
      points.push_back(sum * unit);
    }
    return points;
  }

  void table(int map, double mul, double offset, QTextStream& in, int& lineno) {
    if (model_.getcontextandtype(map) != 0) fail(QStringLiteral("map %1 is not a 3-D map").arg(map));
    std::vector<double> columnat, rpmat;
    std::vector<std::vector<double>> rows;
    bool throttle = false;
    for (;;) {
      if (in.atEnd()) fail(QStringLiteral("the table has no end"));
      ++lineno;
      const QStringList w = words(in.readLine());
      if (w.isEmpty()) continue;
      if (w[0] == QLatin1String("end")) break;
      if (w[0] == QLatin1String("load") || w[0] == QLatin1String("tps")) {
        throttle = w[0] == QLatin1String("tps");
        for (int k = 1; k < w.size(); ++k) columnat.push_back(number(w[k]));
      } else if (w[0] == QLatin1String("rpm")) {
        if (columnat.empty()) fail(QStringLiteral("the column anchors come before the rpm lines"));
        if (w.size() != static_cast<int>(columnat.size()) + 2) fail(QStringLiteral("one value per column anchor"));
        rpmat.push_back(number(w[1]));
        std::vector<double> values;
        for (int k = 2; k < w.size(); ++k) values.push_back(number(w[k]));
        rows.push_back(values);
      } else {
        fail(QStringLiteral("unknown table line \"%1\"").arg(w[0]));
      }
    }
    if (rows.empty()) fail(QStringLiteral("the table has no rpm lines"));
    for (std::size_t k = 1; k < rpmat.size(); ++k)
      if (rpmat[k] <= rpmat[k - 1]) fail(QStringLiteral("rpm anchors must rise"));
    for (std::size_t k = 1; k < columnat.size(); ++k)
      if (columnat[k] <= columnat[k - 1]) fail(QStringLiteral("column anchors must rise"));

    const std::vector<double> rpm = breakpoints(6, 5.0);
    std::vector<double> column = breakpoints(4, kpapermmhg);
    if (throttle) {
      for (int j = 0; j < 32; ++j) column[static_cast<std::size_t>(j)] = j * 100.0 / 31;
    }
    for (int r = 0; r < 32; ++r) {
      // The row's values at every column anchor, then along the columns.
      std::vector<double> atrpm;
      for (std::size_t k = 0; k < columnat.size(); ++k) {
        std::vector<double> down;
        for (const auto& row : rows) down.push_back(row[k]);
        atrpm.push_back(between(rpmat, down, rpm[static_cast<std::size_t>(r)]));
      }
      for (int c = 0; c < 32; ++c) {
        const double value = between(columnat, atrpm, column[static_cast<std::size_t>(c)]);
        model_.setdata(map, r, c, raw(value, mul, offset, map == 0 ? 8000 : 255), false);
      }
    }
  }

  void comment(const QString& text, int firstrow, int length) {
    if (text.size() > length) fail(QStringLiteral("the comment is longer than %1 characters").arg(length));
    const QByteArray latin = text.leftJustified(length, QLatin1Char(' ')).toLatin1();
    for (int k = 0; k < length; ++k)
      model_.setdata(commentsmap, firstrow + k / 16, k % 16, static_cast<std::uint8_t>(latin[k]), false);
  }

  // A reset fragment: password "qzq     " with its checks written under the seed 33, so it reads off.
  void resetpasswords() {
    const QByteArray password("qzq     ");
    constexpr int seed = 33;
    for (int row = 0; row < 8; ++row) {
      std::array<int, 16> b{};
      int s1 = seed, s2 = seed;
      for (int k = 0; k < 8; ++k) {
        b[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(password[k]);
        s1 = (s1 + b[static_cast<std::size_t>(k)]) % 256;
        s2 = (s2 + b[static_cast<std::size_t>(k)] * k) % 256;
      }
      b[8] = s1;
      b[9] = s2;
      b[10] = s1 * s2 % 256;
      int t = seed;
      for (int k = 0; k < 15; ++k) t = (t + b[static_cast<std::size_t>(k)]) % 256;
      b[15] = t;
      for (int k = 0; k < 16; ++k) model_.setdata(passwordsmap, row, k, b[static_cast<std::size_t>(k)], false);
    }
  }

  maps& model_;
};

bool writebytes(const QString& path, const QByteArray& bytes) {
  QSaveFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: makecalibration DESCRIPTION OUTFOLDER\n");
    return 2;
  }
  const QString description = QString::fromLocal8Bit(argv[1]);
  const QString folder = QString::fromLocal8Bit(argv[2]);
  QFile file(description);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  RecordingPrompts prompts;
  maps model(prompts);
  Builder builder(model);
  QTextStream in(&file);
  int lineno = 0;
  try {
    while (!in.atEnd()) {
      ++lineno;
      const QStringList w = words(in.readLine());
      if (!w.isEmpty()) builder.statement(w, in, lineno);
    }
  } catch (const Failure& e) {
    std::fprintf(stderr, "%s:%d: %s\n", argv[1], lineno, e.what());
    return 1;
  }
  model.recalc();
  const CalibrationImage image = model.getimage();

  const QString current = folder + QStringLiteral("/lastsaved.s26");
  const QString beta = folder + QStringLiteral("/template.s26");
  if (!writecalfile(current, image) || !writebytes(beta, encodecalfile(image, CalFormat::Beta))) {
    std::fprintf(stderr, "cannot write into %s\n", argv[2]);
    return 1;
  }
  // Both files must read back as the calibration just built.
  maps check(prompts);
  if (!check.openfile(current, true, false) || check.getimage() != image || !check.openfile(beta, false, false) ||
      check.getimage() != image) {
    std::fprintf(stderr, "the written files do not read back\n");
    return 1;
  }
  std::printf("wrote %s and %s\n", qPrintable(current), qPrintable(beta));
  std::printf("base fuel: %s ms at 750 rpm and 43 kPa, %s ms at 5500 rpm and 100 kPa\n",
              qPrintable(formatfixed(model.getdata(0, 3, 13) * fuelstep, 2)),
              qPrintable(formatfixed(model.getdata(0, 22, 30) * fuelstep, 2)));
  return 0;
}
