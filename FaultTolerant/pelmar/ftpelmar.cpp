#include "FaultTolerant/pelmar/ftpelmar.h"

#include <cmath>
#include <complex>
#include <iostream>

#include "FaultTolerant/pelmar/exception.h"

namespace {

using cd = std::complex<double>;

constexpr double kTileWidth = 0.18;
constexpr int kSequenceLength = 14;

/// The net over the SU(2) forms of H and T: i H and Rz(pi/4) = diag(e^(-i pi/8), e^(i pi/8)).
struct HTNet : Net {
    HTNet() : Net(kTileWidth) {
        const double r = 0.7071067811865475;
        const double c = 0.9238795325112867;
        const double s = 0.3826834323650898;
        const cd h[4] = {cd(0, r), cd(0, r), cd(0, r), cd(0, -r)};
        const cd t[4] = {cd(c, -s), 0.0, 0.0, cd(c, s)};
        const cd* matrices[2] = {h, t};
        generate("HT", matrices, 2, kSequenceLength);
    }
};

}  // namespace

Net& ftpelmar_net() {
    // The net depends on nothing but the constants above, and building it costs far more than
    // one approximation, so it is built once on first use and shared by every later call. It is
    // the approximation's one piece of process-wide state; only nearest()'s evaluation counter
    // changes after construction, so results are those of a freshly built net.
    static HTNet net;
    return net;
}

std::string ftpelmar(Matrix2 U, int depth) {
    try {
        // NOTE: the net holds SU(2) matrices and identifies only M and -M; a unitary with another
        // determinant (a window with an odd number of H) is first divided by a square root of
        // its determinant, a global phase that the gate sequence does not see.
        const cd det = U.Determinant();
        if (std::abs(det - 1.0) > 1e-12 && std::abs(det) > 0 && std::isfinite(std::abs(det)))
            U = (1.0 / std::sqrt(det)) * U;
        Net& net = ftpelmar_net();
        std::cout << "calling Solovay-Kitaev() to depth " << depth << "\n";
        const Net::knot k = net.solovay_kitaev(U, depth);
        std::cout << "got a sequence of length " << k.length << "\n";
        return k.labels;
    } catch (const Exception& e) {
        // The caller keeps its gates when no sequence comes back.
        std::cout << "*** ERROR: " << e.message() << "\n";
        return "";
    }
}
