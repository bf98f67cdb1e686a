#include "korvena/platform/local_date.h"

#include <windows.h>

namespace korvena {

LocalDate CurrentLocalDate() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

}  // namespace korvena
