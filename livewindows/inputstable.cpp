#include "livewindows/inputstable.h"

#include "calibration/settings.h"
#include "calibration/translate.h"

namespace ostrel {

namespace {

// Fixed texts of column 1 below the sixteen level rows (rows 17 to 32).
constexpr std::array<const char*, 16> pulltexts = {"Pull-up", "Pull-up", "Pull-up",  "Pull-up",  "Pull-dwn", "Pull-dwn",
                                                   "Pull-up", "Pull-up", "Pull-dwn", "Pull-dwn", "TBA",      "TBA",
                                                   "TBA",     "TBA",     "TBA",      "TBA"};

// Which data byte holds bits 0 to 7 of which block of eight rows: {data byte, first row}.
struct ByteRows {
  int byte;
  int firstrow;
};
constexpr std::array<ByteRows, 2> levelbytes = {{{9, 1}, {8, 9}}};
constexpr std::array<ByteRows, 4> usebytes = {{{4, 25}, {5, 17}, {6, 9}, {7, 1}}};
constexpr std::array<ByteRows, 4> statusbytes = {{{0, 25}, {1, 17}, {2, 9}, {3, 1}}};

}  // namespace

InputsTable::InputsTable(const settings& mainsettings) {
  for (int c = 0; c < cols; ++c) cells_[0][c].bgr = headingbgr;
  for (int r = 1; r < rows; ++r)
    for (int c = 0; c < cols; ++c) cells_[r][c].bgr = (c % 2 == 1) ? livebgr : (r % 2 == 1 ? oddrowbgr : evenrowbgr);

  for (int r = 1; r < rows; ++r) cells_[r][0].text = QStringLiteral("AUX ") + QString::number(r <= 16 ? r : r - 16);
  for (int r = 17; r < rows; ++r) cells_[r][1].text = QString::fromLatin1(pulltexts[r - 17]);

  const std::array<QString, cols> headings = {translate(QStringLiteral("Input")), QStringLiteral("State"),
                                              QStringLiteral("Request type"),     QStringLiteral("Use"),
                                              QStringLiteral("Request type"),     QStringLiteral("Status")};
  for (int c = 0; c < cols; ++c) cells_[0][c].text = headings[c];

  // The list is a count, ";", then the items each followed by ":"; a short list leaves the last rows empty.
  QString list = mainsettings.getcombostring(12);
  list = list.mid(list.indexOf(QLatin1Char(';')) + 1);
  for (int i = 0; i < 32; ++i) {
    const qsizetype colon = list.indexOf(QLatin1Char(':'));
    const QString item = colon < 0 ? QString() : list.left(colon);
    cells_[i + 1][2].text = item;
    cells_[i + 1][4].text = item;
    list = colon < 0 ? QString() : list.mid(colon + 1);
  }
}

RequestTable InputsTable::addresses() {
  RequestTable table;
  table[0] = {0x6D, 0x80, 0x6D, 0x81, 0x6D, 0x82, 0x6D, 0x83, 0x6D, 0x88, 0x6D, 0x89, 0x6D, 0x8A, 0x6D, 0x8B};
  table[1].fill(0xFF);
  table[1][0] = 0x6D;
  table[1][1] = 0x84;
  table[1][2] = 0x6D;
  table[1][3] = 0x85;
  return table;
}

void InputsTable::set(int row, int col, bool on, const char* ontext, std::uint32_t onbgr, const char* offtext,
                      std::uint32_t offbgr) {
  GridCell& cell = cells_[row][col];
  cell.bgr = on ? onbgr : offbgr;
  cell.text = QString::fromLatin1(on ? ontext : offtext);
}

bool InputsTable::reportdata(const RxFrame& rxframe, std::int16_t windowage) {
  if (windowage < firstreplyage) return false;
  for (int b = 0; b < 8; ++b) {
    const int mask = 1 << b;
    for (const ByteRows& l : levelbytes)
      set(l.firstrow + b, 1, rxframe[l.byte] & mask, "High", 0x80FFFF, "Low", 0xB06060);
    for (const ByteRows& u : usebytes)
      set(u.firstrow + b, 3, rxframe[u.byte] & mask, "Used", 0x20C0F0, "Unused", 0x4040C0);
    for (const ByteRows& s : statusbytes)
      set(s.firstrow + b, 5, rxframe[s.byte] & mask, "Active", 0xC0FFC0, "Inactive", 0x606040);
  }
  return true;
}

}  // namespace ostrel
