// The back ends' advice as the report lays it out: written without the
// report's layout, each line after the first goes on under the text of its
// report line, and the whole stays within a console's 80 columns.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "backendAdvice.h"
#include "backendCheck.h"
#include "backendDescription.h"
#include "harness.h"
#include "output.h"

namespace {

const int kLabelWidth = 14;  // CHECK_LABEL
const int kConsoleColumns = 80;

// `advice` as the report prints it after a label, given its arguments;
// `pieces` says how it reaches the output, in pieces of that many bytes.
std::string Laid(const char* advice, const char* first, const char* second,
                 int pieces = 0) {
  char formatted[1024];
  FormatInto(formatted, sizeof formatted, advice, first, second);
  char text[2048];
  TextBuffer collected(text, sizeof text);
  ReportContinuation continued(collected);
  std::string advised = formatted;
  size_t step = pieces > 0 ? static_cast<size_t>(pieces) : advised.size();
  for (size_t at = 0; at < advised.size(); at += step)
    continued.Write(advised.data() + at,
                    static_cast<int>(std::min(step, advised.size() - at)));
  return std::string(kLabelWidth, ' ') + text;
}

TEST(ReportLayout, EveryAdviceGoesOnUnderItsLineWithinTheConsole) {
  const char kLongPath[] =
      "C:\\Program Files\\Mirabo\\BtVid_32.Dll";  // a path as users have it
  for (const BackendDescription* backend :
       {&kTandorUtlBackend, &kWdmI2cBackend}) {
    const BackendAdvice& advised = AdviceFor(*backend);
    for (const char* advice :
         {advised.notFound, advised.refused, advised.incomplete}) {
      std::string laid = Laid(advice, backend->fileName, kLongPath);
      EXPECT_EQ('\n', laid.back()) << "the text ends without a line end";
      std::vector<std::string> lines = harness::Lines(laid);
      ASSERT_GE(lines.size(), 2u) << laid;
      for (const std::string& line : lines) {
        EXPECT_EQ(std::string(kLabelWidth, ' '), line.substr(0, kLabelWidth))
            << laid;
        EXPECT_NE(' ', line[kLabelWidth]) << "indented too far:\n" << laid;
        EXPECT_LE(line.size(), static_cast<size_t>(kConsoleColumns)) << laid;
      }
    }
  }
}

// The report of before, word for word, as the indented literal it was.
TEST(ReportLayout, AdviceComesOutAsTheReportAlwaysPrintedIt) {
  const std::string expected =
      "              wdmI2cDll.dll not found. Install the card's\n"
      "              Windows 2000/XP driver package, or copy wdmI2cDll.dll "
      "into\n"
      "              Mirabo's folder.\n";
  EXPECT_EQ(expected, Laid(AdviceFor(kWdmI2cBackend).notFound,
                           kWdmI2cBackend.fileName, nullptr));
  // However the text reaches the output: a line end at the end of one piece
  // owes the indent to the next.
  for (int pieces : {1, 2, 7, 44})
    EXPECT_EQ(expected, Laid(AdviceFor(kWdmI2cBackend).notFound,
                             kWdmI2cBackend.fileName, nullptr, pieces))
        << "in pieces of " << pieces;
}

}  // namespace
