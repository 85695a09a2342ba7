#include "optimise/toffoli_form.h"

#include <gtest/gtest.h>

#include "support/unitary.h"
#include "support/unitary_assertions.h"

namespace {

const char* const kNetlist =
    "# doubly controlled gates\n"
    ".qubit 4\n"
    "qubit a\nqubit b\nqubit c\nqubit d\n"
    ".begin\n"
    "CkZ a b c\n"
    "MCT b c d\n"
    "T a\n"
    "CkZ a b c d\n"
    "MCT a b\n"
    "Toffoli c a b\n"
    ".end\n"
    "CkZ a b c\n";

TEST(ToffoliForm, WritesTwoControlGatesAsToffoliAndKeepsTheRest) {
    EXPECT_EQ(phases::toffoli_form(kNetlist),
              "# doubly controlled gates\n"
              ".qubit 4\n"
              "qubit a\nqubit b\nqubit c\nqubit d\n"
              ".begin\n"
              "H c\nToffoli a b c\nH c\n"
              "Toffoli b c d\n"
              "T a\n"
              "CkZ a b c d\n"
              "MCT a b\n"
              "Toffoli c a b\n"
              ".end\n"
              "CkZ a b c\n");
}

TEST(ToffoliForm, KeepsTheUnitaryInBothOrders) {
    const std::string rewritten = phases::toffoli_form(kNetlist);
    for (sim::Order order : {sim::Order::Operator, sim::Order::Time})
        EXPECT_TRUE(sim::exactly_equal(sim::netlist_unitary(rewritten, order),
                                       sim::netlist_unitary(kNetlist, order)));
}

}  // namespace
