#pragma once

class QCloseEvent;
class QWidget;

namespace ostrel {

struct ProgramState;

// A permanent child window closed while the program runs is minimised instead (its own window, or the MDI
// sub-window that holds it); during exit nothing is done and it closes.
void minimizeonclose(QWidget* window, const ProgramState& state);

// For the close handlers of the permanent child windows: cancels the close and minimises the window unless the
// program is exiting.
void keepopenonclose(QWidget* window, QCloseEvent* event, const ProgramState& state);

// True while the map views must be left alone by the live replies: the fast verify window holds the poll
// (livemode 19) or the auto-tune tool runs (toolmode 12).
bool checkcommsstate(const ProgramState& state);

}  // namespace ostrel
