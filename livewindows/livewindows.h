#pragma once

class QWidget;

namespace ostrel {

class EcuLink;
class maps;
class Prompts;
class settings;
struct ProgramState;

// The live diagnostic windows, one call per menu item. Each opens its window modally over parent through
// launcher() and returns once the window has closed; the link keeps polling meanwhile (the main window's timers
// run on), and a window that takes the live-window selector gives it back on closing while it is still its own.

// mnuComErrors: the communication statistics.
void showcomerrors(ProgramState& state, EcuLink& link, QWidget* parent);
// mnuFastVerify: compares every map's checksum with the ECU's; curmap is left where the run stopped.
void showfastverify(ProgramState& state, EcuLink& link, const maps& mainmaps, Prompts& prompts, QWidget* parent);
// mnuFirmWare: the firmware signature.
void showfirmware(ProgramState& state, EcuLink& link, QWidget* parent);
// mnuInputs: the inputs and input functions.
void showinputs(ProgramState& state, EcuLink& link, const settings& mainsettings, QWidget* parent);
// mnuFuelMuls: the fuel multipliers.
void showfuelmuls(ProgramState& state, EcuLink& link, QWidget* parent);
// mnuLTT: the long-term trim table.
void showltt(ProgramState& state, EcuLink& link, QWidget* parent);
// mnuInDiagnostic: the input diagnostic.
void showinputdiagnostic(ProgramState& state, EcuLink& link, QWidget* parent);

}  // namespace ostrel
