#pragma once
// The program's idea of today. Tests fix it so that dates in windows and in
// the account file are predictable.
#include <QDate>

namespace platform {

QDate Today();

// A null date returns to the system clock.
void setToday(const QDate& date);

} // namespace platform
