#include "platform/Clock.h"

namespace platform {
namespace {
QDate& fixedToday() { static QDate d; return d; }
} // namespace

QDate Today()
{
    return fixedToday().isValid() ? fixedToday() : QDate::currentDate();
}

void setToday(const QDate& date) { fixedToday() = date; }

} // namespace platform
