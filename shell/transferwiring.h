#pragma once

namespace ostrel {

class ImageTransfer;
class StartProcedure;
struct ShellContext;

// Connects the whole-image transfers to the main window: its File menu commands prepare, show and watch the
// transfer through the context's hooks, and a finished read or verify refreshes the navigation tree, the password
// fragments and the map views. The program and the tests use this one wiring. All three must outlive each other's
// use: the hooks hold references to them. Call it before start.begin().
void connecttransfer(ShellContext& context, ImageTransfer& transfer, StartProcedure& start);

}  // namespace ostrel
