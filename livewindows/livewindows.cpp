#include "livewindows/livewindows.h"

#include "livewindows/frmcomerrors.h"
#include "livewindows/frmfastverify.h"
#include "livewindows/frmfirmware.h"
#include "livewindows/frmfuelmuls.h"
#include "livewindows/frminputdiagnostic.h"
#include "livewindows/frminputs.h"
#include "livewindows/frmltt.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel {

void showcomerrors(ProgramState& state, EcuLink& link, QWidget* parent) {
  frmComErrors window(state, link, frmComErrors::memory(), parent);
  launcher().showmodal(window);
}

void showfastverify(ProgramState& state, EcuLink& link, const maps& mainmaps, Prompts& prompts, QWidget* parent) {
  frmFastVerify window(state, link, mainmaps, prompts, parent);
  launcher().showmodal(window);
}

void showfirmware(ProgramState& state, EcuLink& link, QWidget* parent) {
  frmFirmware window(state, link, frmFirmware::memory(), parent);
  launcher().showmodal(window);
}

void showinputs(ProgramState& state, EcuLink& link, const settings& mainsettings, QWidget* parent) {
  frmInputs window(state, link, mainsettings, parent);
  launcher().showmodal(window);
}

void showfuelmuls(ProgramState& state, EcuLink& link, QWidget* parent) {
  frmFuelMuls window(state, link, parent);
  launcher().showmodal(window);
}

void showltt(ProgramState& state, EcuLink& link, QWidget* parent) {
  frmLtt window(state, link, parent);
  launcher().showmodal(window);
}

void showinputdiagnostic(ProgramState& state, EcuLink& link, QWidget* parent) {
  frmInputDiagnostic window(state, link, parent);
  launcher().showmodal(window);
}

}  // namespace ostrel
