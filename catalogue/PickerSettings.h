#pragma once

// The clerk's choices for the product pickers, kept in the user's settings.

// Whether a search text that matches exactly one product (a scanned or fully typed code) adds
// that product at once instead of showing the picker. On unless the user turned it off.
bool PickSingleMatchAtOnce();
void SetPickSingleMatchAtOnce(bool on);
