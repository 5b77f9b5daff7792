#pragma once

class Form1;
class SerialPort;
class TimerService;

class PanelController {
public:
    PanelController(Form1 &form, SerialPort &port, TimerService &timers);
    void load();
};
