// What people and scripts read: the table of a result, and the one JSON
// object of a failure.
#include "result_output.h"

#include <gtest/gtest.h>

namespace korvena::cli {
namespace {

TEST(ResultOutput, ATableAlignsValuesRecordsAndLists) {
  const Result result = {{"total", "1.45"},
                         {"lastDocument", "1863"},
                         {"vat", {{{"rate", 1}, {"base", "1.21"}}, {{"rate", 10}, {"base", "0.24"}}}},
                         {"lines", {"Ďakujeme", ""}},
                         {"file", nullptr}};
  EXPECT_EQ(TableOf(result),
            "total          1.45\n"
            "last document  1863\n"
            "vat:\n"
            "  rate  base\n"
            "  1     1.21\n"
            "  10    0.24\n"
            "lines:\n"
            "  1   Ďakujeme\n"
            "  2\n"
            "file           -\n");
}

TEST(ResultOutput, AFailureIsOneObjectWithTheDevicesStatusAndItsMeaning) {
  CliFailure failure(kExitRefused, "refused", "vat set: the device refused with status 1 (bad argument)", 1);
  failure.detail() = {{"linesTaken", 2}};
  EXPECT_EQ(FailureObject(failure).dump(),
            R"j({"error":{"code":"refused","message":"vat set: the device refused with status 1 (bad argument)",)j"
            R"j("deviceStatus":1,"statusMeaning":"bad argument or unknown command","linesTaken":2}})j");
}

}  // namespace
}  // namespace korvena::cli
