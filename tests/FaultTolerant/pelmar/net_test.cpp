#include "FaultTolerant/pelmar/net.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "FaultTolerant/pelmar/exception.h"
#include "FaultTolerant/pelmar/ftpelmar.h"
#include "FaultTolerant/pelmar/su2.h"
#include "support/su2_reference.h"
#include "support/test_env.h"

namespace {

using cd = std::complex<double>;
using pelmar_test::random_su2;

// The gates of the shared net: "H" = i H, "T" = Rz(pi/4).
const double r = 0.7071067811865475;
const cd kH[4] = {cd(0, r), cd(0, r), cd(0, r), cd(0, -r)};
const cd kT[4] = {cd(0.9238795325112867, -0.3826834323650898), 0.0, 0.0,
                  cd(0.9238795325112867, 0.3826834323650898)};

void generate_ht(Net& net, int length) {
    const cd* matrices[2] = {kH, kT};
    net.generate("HT", matrices, 2, length);
}

std::string exception_message(const std::function<void()>& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.message();
    }
    return "(no exception)";
}

TEST(Net, TileWidthSetsScaleAndRefusesTinyWidths) {
    EXPECT_EQ(Net(0.18).tiles_per_unit(), 11);
    EXPECT_EQ(Net(1e-4).tiles_per_unit(), 20000);
    for (double width : {6e-5, 0.0, -1.0})
        EXPECT_EQ(exception_message([&] { Net net(width); }),
                  "tilewidth too small. (minimum is 6.2 x 10^-5)");
}

TEST(Net, GenerateChecksTheBaseGates) {
    Net net(0.18);
    const cd x[4] = {0.0, 1.0, 1.0, 0.0};  // det -1
    const cd* bad_det[1] = {x};
    EXPECT_EQ(exception_message([&] { net.generate("X", bad_det, 1, 2); }), "det(X) != 1");
    const cd stretch[4] = {2.0, 0.0, 0.0, 0.5};  // det 1, not unitary
    const cd* not_unitary[1] = {stretch};
    EXPECT_EQ(exception_message([&] { net.generate("Q", not_unitary, 1, 2); }), "Q is not unitary");
}

TEST(Net, SharedNetHasTheHTGateSet) {
    const Net& net = ftpelmar_net();
    EXPECT_EQ(net.gate_labels(), "HTt");
    EXPECT_EQ(net.gate_order(), (std::vector<int>{2, 8, 8}));
    EXPECT_EQ(net.gate_inverse(), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(net.label_index('t'), 2);
    EXPECT_EQ(net.label_index('S'), -1);
    std::ostringstream text;
    text << net;
    EXPECT_EQ(text.str(),
              "Net of tilewidth 0.18\n"
              "gate set { H (order 2), T (order 8, inverse t), t (order 8, inverse T) }");
}

TEST(Net, InversesGivenAmongTheBaseGatesAreFound) {
    const cd t_dag[4] = {std::conj(kT[0]), 0.0, 0.0, std::conj(kT[3])};
    const cd* matrices[2] = {kT, t_dag};
    Net net(0.18);
    net.generate("Tt", matrices, 2, 2);
    EXPECT_EQ(net.gate_labels(), "Tt");
    EXPECT_EQ(net.gate_inverse(), (std::vector<int>{1, 0}));
}

TEST(Net, EnumerationIsDepthFirstAndPruned) {
    Net net(0.18);
    generate_ht(net, 3);
    std::vector<std::string> labels;
    for (const auto& k : net.knots()) labels.push_back(k->labels);
    ASSERT_EQ(labels.size(), 21u);  // 3 + 6 + 12
    EXPECT_EQ(std::vector<std::string>(labels.begin(), labels.begin() + 6),
              (std::vector<std::string>{"H", "HT", "HTH", "HTT", "Ht", "HtH"}));

    // The shared net: no cancelling pairs, no run of eight T, every knot's matrix is its product.
    const Net& shared = ftpelmar_net();
    ASSERT_GT(shared.knots().size(), 40000u);
    for (const auto& k : shared.knots()) {
        ASSERT_EQ(k->labels.find("HH"), std::string::npos);
        ASSERT_EQ(k->labels.find("Tt"), std::string::npos);
        ASSERT_EQ(k->labels.find("tT"), std::string::npos);
        ASSERT_EQ(k->labels.find("TTTTTTTT"), std::string::npos);
        ASSERT_LE(k->length, 14);
        ASSERT_EQ(static_cast<size_t>(k->length), k->labels.size());
    }
    for (size_t i = 0; i < shared.knots().size(); i += 997) {
        const Net::knot& k = *shared.knots()[i];
        EXPECT_LT(su2::proj_trace_dist(k.matrix, shared.evaluate(k.labels)), 1e-6) << k.labels;
        for (int c = 0; c < 16; ++c) {
            const auto& tile = shared.tiles().at(shared.coordinate(k.matrix, c));
            EXPECT_NE(std::find(tile.begin(), tile.end(), &k), tile.end());
        }
    }
}

TEST(Net, CoordinateIdentifiesMAndMinusM) {
    const Net& net = ftpelmar_net();
    std::mt19937 rng(5);
    std::vector<Matrix2> cases = {Id2, cd(0, -1) * PX, cd(0, -1) * PZ};
    for (int i = 0; i < 200; ++i) cases.push_back(random_su2(rng));
    auto corner_set = [&](const Matrix2& M) {
        std::set<std::vector<int16_t>> s;
        for (int c = 0; c < 16; ++c) {
            const Net::icoord ic = net.coordinate(M, c);
            s.insert({ic.v, ic.v + 4});
        }
        return s;
    };
    for (const Matrix2& M : cases) {
        const Matrix2 minus = cd(-1) * M;
        EXPECT_TRUE(net.coordinate(M, -1) == net.coordinate(minus, -1));
        EXPECT_EQ(corner_set(M), corner_set(minus));
    }
    // Values are stored in the order 1, 0, 3, 2: Id2 is (1, 0, 0, 0) scaled by 11.
    const Net::icoord id = net.coordinate(Id2, -1);
    EXPECT_EQ(std::vector<int16_t>(id.v, id.v + 4), (std::vector<int16_t>{0, 11, 0, 0}));
}

TEST(Net, NearestFindsTheClosestKnotOfTheTile) {
    Net& net = ftpelmar_net();
    std::mt19937 rng(8);
    for (int i = 0; i < 30; ++i) {
        const Matrix2 U = random_su2(rng);
        const Net::knot* k = net.nearest(U);
        const double d = su2::proj_trace_dist(U, k->matrix);
        EXPECT_LT(d, 0.2);
        const auto tile = net.tiles().find(net.coordinate(U, -1));
        if (tile == net.tiles().end()) continue;
        for (const Net::knot* other : tile->second)
            EXPECT_LE(d, su2::proj_trace_dist(U, other->matrix));
    }
    // A sequence of the net is found exactly (up to sign).
    const Matrix2 exact = net.evaluate("HTHtHTTTH");
    EXPECT_LT(su2::proj_trace_dist(exact, net.nearest(exact)->matrix), 1e-6);
}

// Every Z rotation has two cart4 values exactly on grid lines, which collapses its cell; about a
// quarter of them had no knot in their 16 tiles and could not be approximated at all.
TEST(Net, EveryZRotationFindsAKnot) {
    Net& net = ftpelmar_net();
    for (double theta = -3.2; theta < 3.2; theta += 0.01) {
        const Matrix2 U = pelmar_test::rz(theta);
        const Net::knot* k = nullptr;
        ASSERT_NO_THROW(k = net.nearest(U)) << theta;
        EXPECT_LT(su2::proj_trace_dist(U, k->matrix), 0.2) << theta;
    }
}

TEST(Net, EmptyNetCannotApproximate) {
    Net net(0.18);
    const std::string expected =
        "unable to find approximation (try increasing the tile width or sequence length)";
    EXPECT_EQ(exception_message([&] { net.nearest(Id2); }), expected);
    EXPECT_EQ(exception_message([&] { net.solovay_kitaev(Id2, 2); }), expected);
    // A NaN matrix has no tile at all.
    const Matrix2 nan = matrix2_of(std::nan(""), 0.0, 0.0, 1.0);
    EXPECT_THROW(ftpelmar_net().nearest(nan), Exception);
}

TEST(Net, InvertAndEvaluate) {
    const Net& net = ftpelmar_net();
    EXPECT_EQ(net.invert("HT"), "tH");
    EXPECT_EQ(net.invert(""), "");
    EXPECT_EQ(net.evaluate(""), Id2);
    for (const char* bad : {"HX", "S", "H(T)"}) {
        EXPECT_EQ(exception_message([&] { net.evaluate(bad); }),
                  "unrecognized label in gate sequence");
        EXPECT_EQ(exception_message([&] { net.invert(bad); }),
                  "unrecognized label in gate sequence");
    }
    std::mt19937 rng(2);
    for (int i = 0; i < 50; ++i) {
        std::string s;
        for (int j = 0; j < 1 + i % 20; ++j) s.push_back("HTt"[rng() % 3]);
        const Matrix2 product = net.evaluate(s) * net.evaluate(net.invert(s));
        EXPECT_LT(su2::proj_trace_dist(product, Id2), 1e-6) << s;
    }
}

std::vector<size_t> knot_indices(const Net& net, const std::vector<const Net::knot*>& tile) {
    std::map<const Net::knot*, size_t> index;
    for (size_t i = 0; i < net.knots().size(); ++i) index[net.knots()[i].get()] = i;
    std::vector<size_t> result;
    for (const Net::knot* k : tile) result.push_back(index.at(k));
    return result;
}

TEST(Net, SaveAndLoadRoundTrip) {
    const std::string dir = testenv::make_scratch_dir("pelmar_net_file", false);
    const std::string file = dir + "/ht6.net";
    Net net(0.18);
    generate_ht(net, 6);
    net.save(file.c_str());

    const Net loaded(file.c_str());
    EXPECT_EQ(loaded.tilewidth(), net.tilewidth());
    EXPECT_EQ(loaded.tiles_per_unit(), net.tiles_per_unit());
    EXPECT_EQ(loaded.gate_labels(), net.gate_labels());
    EXPECT_EQ(loaded.gate_order(), net.gate_order());
    EXPECT_EQ(loaded.gate_inverse(), net.gate_inverse());
    ASSERT_EQ(loaded.gate_count(), net.gate_count());
    for (int g = 0; g < net.gate_count(); ++g)
        EXPECT_EQ(loaded.gate_matrices()[g], net.gate_matrices()[g]);
    EXPECT_EQ(loaded.invert("HTt"), net.invert("HTt"));
    ASSERT_EQ(loaded.knots().size(), net.knots().size());
    for (size_t i = 0; i < net.knots().size(); ++i) {
        EXPECT_EQ(loaded.knots()[i]->labels, net.knots()[i]->labels);
        EXPECT_EQ(loaded.knots()[i]->length, net.knots()[i]->length);
        EXPECT_EQ(su2::mat_to_cart4(loaded.knots()[i]->matrix),
                  su2::mat_to_cart4(net.knots()[i]->matrix));
    }
    ASSERT_EQ(loaded.tiles().size(), net.tiles().size());
    for (const auto& [coord, tile] : net.tiles()) {
        ASSERT_EQ(loaded.tiles().count(coord), 1u);
        EXPECT_EQ(knot_indices(loaded, loaded.tiles().at(coord)), knot_indices(net, tile));
    }

    // The header: magic with its zero byte, then the tile width.
    const std::string bytes = testenv::read_file(file);
    EXPECT_EQ(bytes.substr(0, 17), std::string("Epsilon Net v0.1\0", 17));
    EXPECT_EQ(
        bytes.size(), 17 + 8 + 4 + 4 + 3 * 64 + 3 + 3 * 4 + 3 * 4 + 4 +
                          net.knots().size() * (4 + 32 + 128) + [&] {
                              size_t n = 0;
                              for (const auto& k : net.knots()) n += k->labels.size();
                              return n;
                          }());
}

TEST(Net, LoadRefusesBadFiles) {
    const std::string dir = testenv::make_scratch_dir("pelmar_bad_net", false);
    Net net(0.18);
    generate_ht(net, 3);
    const std::string good = dir + "/good.net";
    net.save(good.c_str());
    const std::string bytes = testenv::read_file(good);

    const std::string missing = dir + "/missing.net";
    EXPECT_EQ(exception_message([&] { Net n(missing.c_str()); }),
              "unable to open file '" + missing + "' for reading");

    const std::string wrong = dir + "/wrong.net";
    testenv::write_file(wrong, "Epsilon Nut v0.1" + bytes.substr(16));
    EXPECT_EQ(exception_message([&] { Net n(wrong.c_str()); }),
              "'" + wrong + "' doesn't look like a Net file");

    // The version digit plays no part.
    const std::string other_version = dir + "/v2.net";
    testenv::write_file(other_version, "Epsilon Net v0.2" + bytes.substr(16));
    EXPECT_EQ(Net(other_version.c_str()).knots().size(), net.knots().size());

    // A cut file is reported, not read past its end.
    for (size_t keep : {size_t(20), size_t(40), bytes.size() / 2, bytes.size() - 1}) {
        const std::string cut = dir + "/cut.net";
        testenv::write_file(cut, bytes.substr(0, keep));
        EXPECT_EQ(exception_message([&] { Net n(cut.c_str()); }),
                  "'" + cut + "' is truncated or corrupt")
            << keep;
    }

    const std::string unwritable = dir + "/no/such/dir/x.net";
    EXPECT_EQ(exception_message([&] { net.save(unwritable.c_str()); }),
              "unable to open file '" + unwritable + "' for writing");
}

}  // namespace
