#pragma once

#include <QDate>
#include <QDateTime>

// The program's "today" and "now" for what it decides by the date: documents' dates and
// numbers, query ranges and statistics. The machine's clock unless the environment variable
// HARBOR_TODAY (YYYY-MM-DD, read once) or SetHarborToday fixes the day: the clock then starts
// at noon of that day and runs on with real time, so a run that takes hours stays on the day.
QDate HarborToday();
QDateTime HarborNow();
// Fixes the day as HARBOR_TODAY does; an invalid date gives the machine's clock back.
void SetHarborToday(const QDate& day);
