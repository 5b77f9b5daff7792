#pragma once

struct Profile;

// Each measurement runs in a process of its own and prints its table rows (see report.h).
void benchRepeatFidelity(const Profile &profile);
void benchTickWork(const Profile &profile);
void benchPressToWire(const Profile &profile);
void benchStartUp(const Profile &profile);
void benchCtl(const Profile &profile);
void benchFlood(const Profile &profile);
void benchNothingLost(const Profile &profile);
void benchNetwork(const Profile &profile);
void benchServiceAtRest(const Profile &profile);
void benchPjlink(const Profile &profile);
void benchMqtt(const Profile &profile);
