#include "support/xml_check.h"

#include <gtest/gtest.h>

namespace {

TEST(XmlCheck, CatchesBrokenTexts) {
    for (const char* bad :
         {"<a><b></a></b>", "<a>x & y</a>", "<a b=c/>", "<a/><b/>", "<a>", "text", "<a>1 < 2</a>"})
        EXPECT_NE(testxml::well_formedness_problem(bad), "") << bad;
    EXPECT_EQ(testxml::well_formedness_problem("<?xml version=\"1.0\"?>\n<a x='1'><b/>&#65;</a>\n"),
              "");
}

}  // namespace
