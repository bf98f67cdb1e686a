#include "korvena/platform/local_date.h"

#include <windows.h>

namespace korvena {

LocalDate CurrentLocalDate() { return CurrentLocalDateTime().date; }

LocalDateTime CurrentLocalDateTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {{now.wYear, now.wMonth, now.wDay}, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace korvena
