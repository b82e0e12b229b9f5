#pragma once

class QEvent;

// Whether the event is a press of Enter or of the keypad's Enter.
bool IsEnterPress(const QEvent* event);
