#include "panel_controller.h"

PanelController::PanelController(Form1 &, SerialPort &, TimerService &) {}
void PanelController::load() {}
