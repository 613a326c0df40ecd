#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "mapviews/graphdraw.h"
#include "mapviews/graphprojection.h"
#include "platform/programstate.h"

namespace ostrel {

class maps;
struct LiveData;

// Points of the projected grid are drawn this far right of where the projection puts them.
inline constexpr double wireoffsetx = 390;

// A line of the base frame between two base points, or a post from base point (i1, j1) up to its surface point.
struct FrameItem {
  bool post = false;
  int i1 = 0, j1 = 0, i2 = 0, j2 = 0;
  bool shade = false;  // beyond the shown part: the shade colour, else the wire colour
  bool operator==(const FrameItem&) const = default;
};

// The back edges of the base and the corner posts that frame the surface at the horizontal angle, for a map showing
// rows points along i and cols along j. Which sides are drawn depends on the angle's side of 137 and 317 (both
// excluded), so the frame never hides the surface in front of it.
std::vector<FrameItem> planframe(float angleh, int rows, int cols);

// The cells whose row and column the bands mark.
struct BandCells {
  int liverow = 0, livecol = 0, cursorrow = 0, cursorcol = 0;
  bool operator==(const BandCells&) const = default;
};

// One segment of a band between two surface points.
struct BandSegment {
  int i1 = 0, j1 = 0, i2 = 0, j2 = 0;
  std::uint32_t color = 0;
  bool operator==(const BandSegment&) const = default;
};

// The bands over the surface: the live cell's row line (along j) in the rpm band colour and its column line (along
// i) in the map band colour, the cursor's in the trim band colour. A live line on the cursor's line is one line
// whose segments alternate, the live colour first.
void planbands(std::vector<BandSegment>& out, const BandCells& cells, int rows, int cols, const Colors& colors);

// The colour the mesh gives the segment from (i1, j1) to the next point along i or j: wire inside the shown part,
// shade beyond it.
std::uint32_t meshcolor(int i1, int j1, int i2, int j2, int rows, int cols, const Colors& colors);

// "TAFR: target  AFR: measured", both raw values shown in the fuel type's air-fuel ratio.
QString mixturetext(const maps& model, int fueltype, std::uint8_t afrtarget, std::int16_t afr);

// Everything one drawing of the 3-D graph reads, taken at the moment of the call.
struct WireGraphInputs {
  int map = 0;
  int rows = 2, cols = 2;  // shown points along i (rpm) and j (load)
  WorkCopy z{};            // heights, raw; 0 on protected rows
  float scale = 1.0f;      // twips per raw unit
  BandCells cells;         // live cell clamped into the shown part; cursor inside the grid
  bool selection = false;
  int rowmin = 0, rowmax = 0, colmin = 0, colmax = 0;
  Colors colors;
  bool online = false;
  bool graphview = false;
  QString title;
  QString mixture;
};

// The inputs for the current map: its values (or the work copy's), with protected rows flat; the live cell drawn
// inside the shown part (the link's own live cell is left as it is: other parts read it).
WireGraphInputs wiregraphinputs(const maps& model, const ProgramState& state, const LiveData& live,
                                const WorkCopy* work);

// The 3-D wire graph of one picture: each projected base point lifted by its cell value, with the bands of the live
// and cursor cells, the frame, the title, the arrow legend and, on the quick update, the mixture text. It remembers
// where it drew the bands, so that the quick update of a live refresh moves them over the last full picture.
class WireGraph {
 public:
  // Where the bands were last drawn; forgotten on another map, whose surface they do not lie on.
  struct Bands {
    bool drawn = false;
    int map = 0;
    BandCells cells;
  };

  // Plans one drawing into the scene. Full: the picture is cleared and everything drawn. Otherwise the quick update:
  // the old bands are drawn over in the mesh's colours, the new ones drawn, and the mixture text written. Both end
  // with the selection marks. width and height are the picture's (twips).
  void plan(GraphScene& scene, const WireGraphInputs& in, const GraphProjection& projection, double width,
            double height, bool full);

  // Screen y of surface point (i, j) at the last drawing.
  const GraphPoints& surfacey() const { return surfacey_; }
  const Bands& bands() const { return bands_; }

 private:
  void planfull(GraphScene& scene, const WireGraphInputs& in, const GraphProjection& projection, double width,
                double height);
  void planquick(GraphScene& scene, const WireGraphInputs& in, const GraphProjection& projection, double width,
                 double height);
  void planbandlines(GraphScene& scene, const WireGraphInputs& in, const GraphProjection& projection);
  void segment(GraphScene& scene, const GraphProjection& projection, int i1, int j1, int i2, int j2,
               std::uint32_t color) const;

  GraphPoints surfacey_{};
  Bands bands_;
  std::vector<BandSegment> bandsegments_;
};

}  // namespace ostrel
