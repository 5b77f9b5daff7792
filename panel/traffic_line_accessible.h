#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

// The accessibility factory for TrafficLine: a static text with its fixed spoken name whose
// Text interface gives the line's current text.
QAccessibleInterface *trafficLineAccessible(const QString &className, QObject *object);
