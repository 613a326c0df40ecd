#include "editors/settingslayout.h"

namespace ostrel {

namespace {

// Per display type: value control and "Enter" button relative to the line (x, y), the column limit (a cell placed
// below it is the last of its column) and where the next column starts.
struct ColumnRule {
  int valuedx, valuedy, enterdx, enterdy, limit, newy, newx;
};
constexpr ColumnRule checkrule{2600, -30, 3080, -10, 5300, 245, 4400};
constexpr ColumnRule textrule{2320, -30, 3080, -10, 5650, 245, 4500};
constexpr ColumnRule comborule{2320, -20, 4140, 0, 5300, 245, 4000};
constexpr ColumnRule userrule{2320, -20, 4860, 0, 5600, 245, 6200};
constexpr ColumnRule listrule{2320, -20, 4860, 0, 5600, 600, 4000};
constexpr ColumnRule vehiclerule{2440, -20, 4860, 0, 5600, 600, 4000};

const ColumnRule* ruleoftype(std::uint8_t type) {
  switch (type) {
    case 0: return &checkrule;
    case 1: return &textrule;
    case 2: return &comborule;
    case 5:
    case 11:
    case 12: return &userrule;
    case 6:
    case 8:
    case 9:
    case 10: return &listrule;
    case 7: return &vehiclerule;
    default: return nullptr;
  }
}

}  // namespace

std::vector<PlacedCell> layoutgroup(const SettingCells& cells, int group, int windowheight) {
  using namespace settingslayout;
  std::vector<PlacedCell> placed;
  if (group < 0) return placed;
  int x = startx;
  int y = starty;
  for (int n = 0; n < 256; ++n) {
    const SettingCell& cell = cellof(cells, n);
    if (cell.group != group || cell.type == nosetting) continue;
    PlacedCell p;
    p.cell = n;
    p.type = cell.type;
    if (cell.type == 4) {
      if (windowheight - bitreserve < y) {
        y = bitcolumny;
        x = bitcolumnx;
      }
      p.caption = {x, y};
      p.hasvalue = true;
      p.enter = {x + bitenterdx, y};
      for (int k = 0; k < 8; ++k) {
        p.frames[static_cast<std::size_t>(k)] = {x + bitframedx, y + bitframedy};
        y += bitline;
      }
      p.value = p.frames[0];
      placed.push_back(p);
      continue;
    }
    p.caption = {x, y};
    const ColumnRule* rule = ruleoftype(cell.type);
    if (rule) {
      p.hasvalue = true;
      p.value = {x + rule->valuedx, y + rule->valuedy};
      p.enter = {x + rule->enterdx, y + rule->enterdy};
      if (y > rule->limit) {
        y = rule->newy;
        x = rule->newx;
      }
      // A window shorter than the page keeps the rest of the column on its last line.
      if (y < windowheight) y += linestep;
    }
    placed.push_back(p);
  }
  return placed;
}

}  // namespace ostrel
