#pragma once

#include <vector>

#include "logger/logdisplay.h"

namespace ostrel {

class PictureSurface;

// Paints the logger's plans on its persistent picture, each in one batch: the value boxes over whatever the band
// held, and a trace step (a new page first when it starts one, then the segments, then the cursor strip).
void paintvalueboxes(PictureSurface& picture, const std::vector<ValueBox>& boxes);
void painttracestep(PictureSurface& picture, const TraceStep& step);

}  // namespace ostrel
